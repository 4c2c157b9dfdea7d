#include "app/decorationbox.h"

#include "core/twips.h"
#include "picture/rasterpicture.h"
#include "resources/resourcepaths.h"

#include <QMouseEvent>
#include <QPainter>

DecorationBox::DecorationBox(QWidget *parent)
    : QWidget(parent)
    , m_picture(prerenderedSvgPicture(ResourcePaths::interior(), QSize(76, 142)))
    , m_image2(prerenderedSvgPicture(ResourcePaths::interior2(), QSize(76, 141)))
{
    setObjectName(QStringLiteral("picSlideBase1"));
    setAccessibleName(tr("車内"));
    setAccessibleDescription(tr("座席と手すりの見える車内の絵"));
    setGeometry(Twips::toPixels(QRect(10875, 765, 1140, 2115)));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DecorationBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    m_picture.drawUnscaled(&painter, QPointF(0, 0));
    m_image2.draw(&painter, Twips::toPixelsF(QRect(105, -90, 1140, 2115)));
}

void DecorationBox::mousePressEvent(QMouseEvent *event)
{
    // The box takes its own presses, so they never reach the bus picture below it.
    event->accept();
}
