#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Calls `then` once, as `widget` is about to be painted for the first time, and goes; never if
// the widget goes first. Work that must wait until the paint has been handled queues itself.
class FirstPaintWatch final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FirstPaintWatch)

public:
    FirstPaintWatch(QWidget *widget, std::function<void()> then);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::function<void()> m_then;
};
