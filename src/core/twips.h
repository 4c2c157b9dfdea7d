#pragma once

#include <QRect>
#include <QRectF>

#include <algorithm>
#include <limits>

// The model unit of every position and size: the twip, 1/1440 inch. One logical pixel is
// 15 twips on every screen. Geometry is kept in twips exactly as set; it becomes pixels only where
// a widget is placed or something is painted.
//
// The conversions hold for every int, the ends of the range included: a settings field may hold
// any 32-bit number.
namespace Twips {

constexpr int PerPixel = 15;

// Rounds half away from zero, so -7 twips and 7 twips land symmetrically. Takes 64 bits, since a
// rectangle's width can reach 2^32 twips; the pixels must fit an int.
constexpr int toPixels(qint64 twips)
{
    const qint64 rest = twips % PerPixel; // takes the sign of `twips`
    return int(twips / PerPixel + (rest > PerPixel / 2 ? 1 : 0) - (rest < -(PerPixel / 2) ? 1 : 0));
}

// Pixels beyond the twips an int can hold give the nearest end of the range.
constexpr int fromPixels(int pixels)
{
    return int(std::clamp(
        qint64(pixels) * PerPixel, qint64(std::numeric_limits<int>::min()), qint64(std::numeric_limits<int>::max())));
}

// The rectangle's edges are converted, not its width: QRect's own width() overflows for a
// rectangle wider than an int.
inline QRect toPixels(const QRect &twips)
{
    const qint64 width = qint64(twips.right()) - twips.left() + 1;
    const qint64 height = qint64(twips.bottom()) - twips.top() + 1;
    return {toPixels(twips.left()), toPixels(twips.top()), toPixels(width), toPixels(height)};
}
// The exact (fractional) pixel rectangle, for painting stretched pictures between pixel edges.
inline QRectF toPixelsF(const QRect &twips)
{
    return {twips.left() / double(PerPixel),
        twips.top() / double(PerPixel),
        (qint64(twips.right()) - twips.left() + 1) / double(PerPixel),
        (qint64(twips.bottom()) - twips.top() + 1) / double(PerPixel)};
}

} // namespace Twips
