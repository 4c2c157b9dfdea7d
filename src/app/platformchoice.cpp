#include "app/platformchoice.h"

#include <QtGlobal>

QByteArray platformFor(const QByteArray &waylandDisplay, const QByteArray &qpaPlatform)
{
    if (waylandDisplay.isEmpty() || !qpaPlatform.isEmpty()) {
        return {};
    }
    // Qt tries the platforms of a ';'-separated list in turn and takes the first that starts.
    return QByteArrayLiteral("xcb;wayland");
}

void choosePlatform()
{
    const QByteArray platform = platformFor(qgetenv("WAYLAND_DISPLAY"), qgetenv("QT_QPA_PLATFORM"));
    if (!platform.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", platform);
    }
}
