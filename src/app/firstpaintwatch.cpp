#include "app/firstpaintwatch.h"

#include <QEvent>
#include <QWidget>

FirstPaintWatch::FirstPaintWatch(QWidget *widget, std::function<void()> then)
    : QObject(widget)
    , m_then(std::move(then))
{
    widget->installEventFilter(this);
}

bool FirstPaintWatch::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint) {
        watched->removeEventFilter(this);
        deleteLater();
        std::exchange(m_then, {})();
    }
    return false;
}
