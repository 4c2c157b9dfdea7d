#include "platform/qturlopener.h"

#include <QDesktopServices>
#include <QUrl>

void QtUrlOpener::open(const QUrl &url)
{
    // The browser runs on its own; whether it could be started is not reported.
    QDesktopServices::openUrl(url);
}
