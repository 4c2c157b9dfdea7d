#pragma once

#include <Qt>

// The codes the program's mouse and key handlers receive, independent of the toolkit's own: the
// mouse buttons, the shift state as a bit mask and the virtual-key codes (letters and digits as
// their upper-case character codes), with the names the handlers compare them with.
namespace InputCodes {

enum MouseButton : int { NoButton = 0, LeftButton = 1, RightButton = 2, MiddleButton = 4 };
enum ShiftMask : int { ShiftMask = 1, CtrlMask = 2, AltMask = 4 };
enum VirtualKey : int {
    KeyReturn = 13,
    KeyShift = 16,
    KeyControl = 17,
    KeyAlt = 18,
    KeyEscape = 27,
    KeySpace = 32,
    KeyLeft = 37,
    KeyUp = 38,
    KeyRight = 39,
    KeyDown = 40,
};

// The settings panel's keypad `Command2`: the digits 0 to 9 by their own value, then these two.
enum KeypadKey : int { KeypadClear = 10, KeypadJump = 11, KeypadKeyCount = 12 };

// NoButton for any other button.
constexpr int button(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return LeftButton;
    case Qt::RightButton:
        return RightButton;
    case Qt::MiddleButton:
        return MiddleButton;
    default:
        return NoButton;
    }
}

constexpr int shift(Qt::KeyboardModifiers modifiers)
{
    return ((modifiers & Qt::ShiftModifier) ? ShiftMask : 0) | ((modifiers & Qt::ControlModifier) ? CtrlMask : 0)
        | ((modifiers & Qt::AltModifier) ? AltMask : 0);
}

// 0 for keys without a code of their own.
constexpr int virtualKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Left:
        return KeyLeft;
    case Qt::Key_Up:
        return KeyUp;
    case Qt::Key_Right:
        return KeyRight;
    case Qt::Key_Down:
        return KeyDown;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyReturn;
    case Qt::Key_Escape:
        return KeyEscape;
    case Qt::Key_Space:
        return KeySpace;
    case Qt::Key_Shift:
        return KeyShift;
    case Qt::Key_Control:
        return KeyControl;
    case Qt::Key_Alt:
        return KeyAlt;
    default:
        break;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
        return qtKey;
    }
    return 0;
}

} // namespace InputCodes
