#include "app/firstpaintprobe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>

namespace {

constexpr int SettleMs = 500;

// Writes the line once the paint being handled is done.
void reportAfterThisEvent(QObject *context, const QByteArray &label)
{
    QTimer::singleShot(0, context, [label] {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::fprintf(stderr,
            "%s %lld\n",
            label.constData(),
            static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stderr);
    });
}

} // namespace

FirstPaintProbe::FirstPaintProbe(QWidget *window)
    : QObject(window)
    , m_window(window)
{
}

void FirstPaintProbe::watch(QWidget *window)
{
    QCoreApplication::instance()->installEventFilter(new FirstPaintProbe(window));
}

bool FirstPaintProbe::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && watched->isWidgetType()) {
        const QWidget *window = static_cast<QWidget *>(watched)->window();
        if (!m_painted.contains(window)) {
            m_painted.insert(window);
            if (window == m_window) {
                reportAfterThisEvent(this, "first-paint");
                QTimer::singleShot(SettleMs, this, [] { QCoreApplication::exit(0); });
            } else {
                reportAfterThisEvent(this, "window-paint " + window->objectName().toUtf8());
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
