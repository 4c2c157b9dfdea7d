#pragma once

#include <QObject>
#include <QSet>

class QWidget;

// A start-up measuring aid, built only into the start-up benchmark's variant of the program. It
// writes to standard error, as readings of the steady clock in nanoseconds,
//   first-paint <ns>            once the watched window has painted for the first time,
//   window-paint <name> <ns>    once any other top-level window has (by object name),
// and ends the program half a second after the watched window's first paint, so that what start-up
// does after that paint counts in the peak memory too.
class FirstPaintProbe final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FirstPaintProbe)

public:
    // Watches `window` and every other top-level window of the program.
    static void watch(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit FirstPaintProbe(QWidget *window);
    QWidget *m_window;
    QSet<const QWidget *> m_painted;
};
