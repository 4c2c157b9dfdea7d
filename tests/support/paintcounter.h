#pragma once

#include <QEvent>
#include <QObject>

#include <functional>
#include <utility>

// Counts the paint events of the objects it is installed on (installEventFilter()), and calls
// `onPaint` at each, before the paint, to note what that paint shows.
class PaintCounter final : public QObject
{
public:
    explicit PaintCounter(std::function<void()> onPaint = {})
        : m_onPaint(std::move(onPaint))
    {
    }

    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            if (m_onPaint) {
                m_onPaint();
            }
        }
        return false;
    }

private:
    std::function<void()> m_onPaint;
};
