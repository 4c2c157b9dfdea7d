#include "signboard/signboardbox.h"

#include "core/inputcodes.h"
#include "core/twips.h"
#include "signboard/signboard.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

// The sunken border: a shadow line outside a darker one at the top and left, a light line
// outside a paler one at the bottom and right.
const QColor OuterShadow(160, 160, 160);
const QColor InnerShadow(105, 105, 105);
const QColor OuterLight(255, 255, 255);
const QColor InnerLight(227, 227, 227);

void drawEdge(QPainter &painter, const QRect &rect, const QColor &topLeft, const QColor &bottomRight)
{
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width() - 1, 1), topLeft);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height() - 1), topLeft);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
}

} // namespace

SignboardBox::SignboardBox(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void SignboardBox::setPicture(const Picture &picture)
{
    m_picture = picture;
    update();
}

void SignboardBox::startDrag()
{
    m_dragging = m_leftDown;
    m_dragStart = pos();
    // Moves without a button come too, so a drag whose release went elsewhere ends.
    setMouseTracking(m_dragging);
}

void SignboardBox::endDrag()
{
    m_leftDown = false;
    m_dragging = false;
    setMouseTracking(false);
}

QPoint SignboardBox::dragTarget(QPoint pointer, QPoint grab, const QRect &client)
{
    const QPoint held(
        std::clamp(pointer.x(), client.left(), client.right()), std::clamp(pointer.y(), client.top(), client.bottom()));
    return held - grab;
}

void SignboardBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    constexpr int border = Signboard::BorderPixels;
    painter.fillRect(rect(), Qt::white);
    painter.save();
    painter.setClipRect(rect().adjusted(border, border, -border, -border));
    m_picture.drawUnscaled(&painter, QPointF(border, border));
    painter.restore();
    drawEdge(painter, rect(), OuterShadow, OuterLight);
    drawEdge(painter, rect().adjusted(1, 1, -1, -1), InnerShadow, InnerLight);
}

void SignboardBox::mousePressEvent(QMouseEvent *event)
{
    endDrag();
    if (event->button() == Qt::LeftButton) {
        m_leftDown = true;
        m_grab = event->position().toPoint();
    }
    emit mouseDown(InputCodes::button(event->button()),
        InputCodes::shift(event->modifiers()),
        event->position().x() * Twips::PerPixel,
        event->position().y() * Twips::PerPixel);
}

void SignboardBox::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging || !parentWidget()) {
        return;
    }
    if (!(event->buttons() & Qt::LeftButton)) {
        endDrag();
        return;
    }
    const QPoint pointer = parentWidget()->mapFromGlobal(event->globalPosition().toPoint());
    const QPoint target = dragTarget(pointer, m_grab, parentWidget()->rect());
    if (target != pos()) {
        emit dragged(target);
    }
}

void SignboardBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        endDrag();
    }
}

void SignboardBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second left press of a double-click places the frame and starts no drag; a quick
    // second press of another button is an ordinary press.
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked();
    } else {
        mousePressEvent(event);
    }
}

void SignboardBox::keyPressEvent(QKeyEvent *event)
{
    if (m_dragging && event->key() == Qt::Key_Escape) {
        endDrag();
        if (pos() != m_dragStart) {
            emit dragged(m_dragStart);
        }
        return;
    }
    QWidget::keyPressEvent(event);
}

void SignboardBox::focusOutEvent(QFocusEvent *event)
{
    endDrag();
    QWidget::focusOutEvent(event);
}
