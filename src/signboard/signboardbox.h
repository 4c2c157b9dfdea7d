#pragma once

#include "picture/picture.h"

#include <QWidget>

// The signboard box `PicKanban` on the screen: a white box with a 2-pixel sunken border that
// shows its picture unscaled from just inside the border. It reports presses and double-clicks
// and carries out a drag that the bus window starts; its place and size are set by the bus
// window from the signboard's rectangle in twips.
//
// The drag: after `startDrag()` during a left press, the box follows the pointer until the left
// button is released, keeping the point where it was grabbed under the pointer. The pointer's
// position is held inside the parent's client area, so the grabbed point never leaves it and the
// box can always be reached again. The box does not move itself; it reports each new place.
//
// A drag cannot outlive the left button: it ends on the release, on any press (its release went
// to another window, or another button joined in; the press is then an ordinary one), on a move
// that comes without the left button (the pointer grab went to another window, which took the
// release), when the box loses the keyboard focus (another window was activated), and on Esc,
// which puts the box back where the drag began, as the system's move loop does.
class SignboardBox final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SignboardBox)

public:
    explicit SignboardBox(QWidget *parent = nullptr);

    Picture picture() const { return m_picture; }
    void setPicture(const Picture &picture);

    // Starts a drag from the point of the last press; a no-op unless the left button is down
    // on the box.
    void startDrag();
    bool isDragging() const { return m_dragging; }

    // Where the box's top-left corner goes (parent pixels) when the pointer is at `pointer`
    // (parent pixels), grabbed at `grab` (box pixels), inside a parent client area of `client`.
    static QPoint dragTarget(QPoint pointer, QPoint grab, const QRect &client);

signals:
    // A mouse button went down on the box: `button` 1 left, 2 right, 4 middle (0 for others),
    // `shift` 1 Shift | 2 Ctrl | 4 Alt, `x` and `y` in twips from the box's top-left corner.
    void mouseDown(int button, int shift, double x, double y);
    void doubleClicked();
    // The drag wants the box's top-left corner at `topLeft` (parent pixels).
    void dragged(QPoint topLeft);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void endDrag();

    Picture m_picture;
    QPoint m_grab; // where the last left press went down, in box pixels
    QPoint m_dragStart; // the box's place (parent pixels) when the drag began
    bool m_leftDown = false;
    bool m_dragging = false;
};
