#pragma once

#include <QObject>

// A start-up measuring aid. When the environment variable PORUKANO_EXIT_AFTER_FIRST_PAINT is set,
// it writes "first-paint <ns>" (the steady clock's reading, in nanoseconds) to standard error as
// soon as the watched window has painted for the first time, and then ends the program. The
// start-up benchmark uses it; otherwise it does nothing.
class FirstPaintProbe final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FirstPaintProbe)

public:
    // Watches `window` if the variable is set; returns whether it does.
    static bool watchIfRequested(QObject *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit FirstPaintProbe(QObject *parent);
    bool m_seen = false;
};
