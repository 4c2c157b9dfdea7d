#include "rollsign/rollsignbox.h"

#include "core/inputcodes.h"

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
    emit keyDown(InputCodes::virtualKey(event->key()), InputCodes::shift(event->modifiers()));
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
