#include "app/storedplace.h"

#include "app/firstpaintwatch.h"
#include "core/twips.h"
#include "settings/windowplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

QList<QRect> screenAreas()
{
    QList<QRect> areas;
    for (const QScreen *screen : QGuiApplication::screens()) {
        areas.append(screen->availableGeometry());
    }
    return areas;
}

} // namespace

void placeStoredWindow(QWidget *window, qint32 leftTwips, qint32 topTwips)
{
    const QPoint stored(Twips::toPixels(leftTwips), Twips::toPixels(topTwips));
    const QPoint place = WindowPlacement::onScreen(QRect(stored, window->frameGeometry().size()), screenAreas());
    window->move(place);
    if (place != stored) {
        new FirstPaintWatch(
            window, [window] { window->move(WindowPlacement::inside(window->frameGeometry(), screenAreas())); });
    }
}
