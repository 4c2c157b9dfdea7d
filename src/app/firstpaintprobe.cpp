#include "firstpaintprobe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <chrono>
#include <cstdio>

FirstPaintProbe::FirstPaintProbe(QObject *parent)
    : QObject(parent)
{
}

bool FirstPaintProbe::watchIfRequested(QObject *window)
{
    if (!qEnvironmentVariableIsSet("PORUKANO_EXIT_AFTER_FIRST_PAINT")) {
        return false;
    }
    window->installEventFilter(new FirstPaintProbe(window));
    return true;
}

bool FirstPaintProbe::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && !m_seen) {
        m_seen = true;
        // Report once the paint itself has been handled, then leave without further work.
        QTimer::singleShot(0, this, [] {
            const auto now = std::chrono::steady_clock::now().time_since_epoch();
            std::fprintf(stderr,
                         "first-paint %lld\n",
                         static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
            std::fflush(stderr);
            QCoreApplication::exit(0);
        });
    }
    return QObject::eventFilter(watched, event);
}
