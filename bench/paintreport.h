#pragma once

// What the start-up benchmark's programs share: the lines they report their paints with, and the
// yardsticks' picture window. Header-only, so each yardstick stays one plain Qt program.

#include <QByteArray>
#include <QCoreApplication>
#include <QImage>
#include <QObject>
#include <QPainter>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <utility>

namespace PaintReport {

// How long a program goes on after its main window's first paint before it ends.
constexpr int SettleMs = 500;

// Writes "<label> <ns>" to standard error, a reading of the steady clock in nanoseconds, once the
// event being handled (a paint) is done.
inline void reportAfterThisEvent(QObject *context, const QByteArray &label)
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

// Reports "first-paint" after the main window's first paint and ends the program SettleMs later.
inline void reportFirstPaintAndEnd(QObject *context)
{
    reportAfterThisEvent(context, "first-paint");
    QTimer::singleShot(SettleMs, context, [] { QCoreApplication::exit(0); });
}

// A fixed-size 775 x 215 window that paints one picture, as the yardsticks' main window.
class PictureWindow final : public QWidget
{
public:
    PictureWindow(const QString &picture, const QString &title)
        : m_picture(picture)
    {
        setFixedSize(775, 215);
        setWindowTitle(title);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.drawImage(QPoint(0, 0), m_picture);
        if (!std::exchange(m_reported, true)) {
            reportFirstPaintAndEnd(this);
        }
    }

private:
    QImage m_picture;
    bool m_reported = false;
};

} // namespace PaintReport
