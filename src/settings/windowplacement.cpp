#include "settings/windowplacement.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// One axis of a rectangle, first and last pixel inclusive, in 64 bits: QRect's own width() and
// intersects() arithmetic overflows for rectangles near the ends of the int range.
struct Span
{
    qint64 first;
    qint64 last;

    qint64 length() const { return last - first + 1; }
};

// How far apart two spans are, from pixel to pixel: 0 when they share one, 1 when they touch.
qint64 gap(Span a, Span b)
{
    return std::max<qint64>({0, b.first - a.last, a.first - b.last});
}

// Where a span of `window`'s length starts inside `screen`: as close to where it is as the
// screen allows, at the screen's start when it is longer than the screen.
qint64 placed(Span window, Span screen)
{
    if (window.length() >= screen.length()) {
        return screen.first;
    }
    return std::clamp(window.first, screen.first, screen.last + 1 - window.length());
}

// The screen nearest to the frame spans `x` and `y` (the earlier one on a tie) and its distance,
// 0 where the frame shares a pixel with it; null where there is no screen.
const QRect *nearestScreen(Span x, Span y, const QList<QRect> &screens, double *distance)
{
    const QRect *nearest = nullptr;
    *distance = std::numeric_limits<double>::infinity();
    for (const QRect &screen : screens) {
        const Span sx{screen.left(), screen.right()};
        const Span sy{screen.top(), screen.bottom()};
        if (sx.length() <= 0 || sy.length() <= 0) {
            continue;
        }
        // Each gap is below 2^33, so the sum of squares is exact enough in a double to compare.
        const double to = std::hypot(double(gap(x, sx)), double(gap(y, sy)));
        if (to < *distance) {
            *distance = to;
            nearest = &screen;
        }
    }
    return nearest;
}

QPoint place(const QRect &frame, const QList<QRect> &screens, bool keepWhereVisible)
{
    const Span x{frame.left(), std::max<qint64>(frame.right(), frame.left())};
    const Span y{frame.top(), std::max<qint64>(frame.bottom(), frame.top())};
    double distance = 0;
    const QRect *nearest = nearestScreen(x, y, screens, &distance);
    if (!nearest || (keepWhereVisible && distance == 0)) {
        return frame.topLeft();
    }
    return {int(placed(x, {nearest->left(), nearest->right()})), int(placed(y, {nearest->top(), nearest->bottom()}))};
}

} // namespace

namespace WindowPlacement {

QPoint onScreen(const QRect &frame, const QList<QRect> &screens)
{
    return place(frame, screens, true);
}

QPoint inside(const QRect &frame, const QList<QRect> &screens)
{
    return place(frame, screens, false);
}

} // namespace WindowPlacement
