#include "rollsignbox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

RollSignBox::RollSignBox(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void RollSignBox::setFace(const Picture &face)
{
    m_face = face;
    update();
}

void RollSignBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    m_face.drawUnscaled(&painter, QPointF(0, 0));
}

void RollSignBox::keyPressEvent(QKeyEvent *event)
{
    emit keyDown(virtualKeyCode(event->key()), shiftMask(event->modifiers()));
}

void RollSignBox::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void RollSignBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_pressed || event->button() != Qt::LeftButton) {
        return;
    }
    m_pressed = false;
    if (!rect().contains(event->position().toPoint())) {
        return;
    }
    const QRect image(QPoint(0, 0), m_face.size());
    if (image.contains(event->position().toPoint())) {
        emit imageClicked();
    } else {
        emit boxClicked();
    }
}

int virtualKeyCode(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    default:
        break;
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
        return qtKey;
    }
    return 0;
}

int shiftMask(Qt::KeyboardModifiers modifiers)
{
    int mask = 0;
    if (modifiers & Qt::ShiftModifier) {
        mask |= 1;
    }
    if (modifiers & Qt::ControlModifier) {
        mask |= 2;
    }
    if (modifiers & Qt::AltModifier) {
        mask |= 4;
    }
    return mask;
}
