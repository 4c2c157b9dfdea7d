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

} // namespace

namespace WindowPlacement {

QPoint onScreen(const QRect &frame, const QList<QRect> &screens)
{
    const Span x{frame.left(), std::max<qint64>(frame.right(), frame.left())};
    const Span y{frame.top(), std::max<qint64>(frame.bottom(), frame.top())};
    const QRect *nearest = nullptr;
    double nearestDistance = std::numeric_limits<double>::infinity();
    for (const QRect &screen : screens) {
        const Span sx{screen.left(), screen.right()};
        const Span sy{screen.top(), screen.bottom()};
        if (sx.length() <= 0 || sy.length() <= 0) {
            continue;
        }
        const qint64 dx = gap(x, sx);
        const qint64 dy = gap(y, sy);
        if (dx == 0 && dy == 0) {
            return frame.topLeft();
        }
        // Each gap is below 2^33, so the sum of squares is exact enough in a double to compare.
        const double distance = std::hypot(double(dx), double(dy));
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = &screen;
        }
    }
    if (!nearest) {
        return frame.topLeft();
    }
    const Span sx{nearest->left(), nearest->right()};
    const Span sy{nearest->top(), nearest->bottom()};
    return {int(placed(x, sx)), int(placed(y, sy))};
}

} // namespace WindowPlacement
