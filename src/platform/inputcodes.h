#pragma once

#include <Qt>

// The codes the program's mouse and key handlers receive, independent of the toolkit's own:
// buttons 1 left, 2 right, 4 middle; shift state 1 Shift, 2 Ctrl, 4 Alt; virtual-key codes 38 Up,
// 40 Down, letters and digits as their upper-case character codes.
namespace InputCodes {

int button(Qt::MouseButton button); // 0 for any other button
int shift(Qt::KeyboardModifiers modifiers); // a bit mask
int virtualKey(int qtKey); // 0 for keys without a code of their own

} // namespace InputCodes
