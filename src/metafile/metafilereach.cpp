#include "metafile/metafileplayer_p.h"

#include <QPainterPathStroker>

#include <algorithm>
#include <array>
#include <cmath>

// ---- Shapes far larger than the picture ----
//
// Qt's rasterizer walks every scan line an edge spans, inside the picture or not: an edge millions
// of pixels long, or the outline of a pen millions of pixels wide, takes seconds in one call. Such
// shapes are cut to a frame just outside the picture before they are drawn.

namespace Metafile {

namespace {

// `polygon`, a closed figure, cut to `rect` one side after the other. Every point inside the
// rectangle keeps the winding number it had, so the figure fills the rectangle as before.
QPolygonF clippedToRect(QPolygonF polygon, const QRectF &rect)
{
    const auto cut = [&polygon](auto inside, auto crossing) {
        if (polygon.isEmpty()) {
            return;
        }
        QPolygonF kept;
        QPointF previous = polygon.last();
        for (const QPointF &p : std::as_const(polygon)) {
            if (inside(p) != inside(previous)) {
                kept << crossing(previous, p);
            }
            if (inside(p)) {
                kept << p;
            }
            previous = p;
        }
        polygon.swap(kept);
    };
    // Where the edge from a to b crosses a vertical or horizontal line; a and b lie on either side.
    const auto atX = [](double x) {
        return [x](QPointF a, QPointF b) {
            return QPointF(x, a.y() + (x - a.x()) / (b.x() - a.x()) * (b.y() - a.y()));
        };
    };
    const auto atY = [](double y) {
        return [y](QPointF a, QPointF b) {
            return QPointF(a.x() + (y - a.y()) / (b.y() - a.y()) * (b.x() - a.x()), y);
        };
    };
    cut([&rect](QPointF p) { return p.x() >= rect.left(); }, atX(rect.left()));
    cut([&rect](QPointF p) { return p.x() <= rect.right(); }, atX(rect.right()));
    cut([&rect](QPointF p) { return p.y() >= rect.top(); }, atY(rect.top()));
    cut([&rect](QPointF p) { return p.y() <= rect.bottom(); }, atY(rect.bottom()));
    return polygon;
}

// Appends the cubic curve `c` (from c[0] to c[3]) to `figure` as lines: its chord where the curve
// lies wholly beyond `frame` on one side, for the area between the two is outside the frame and
// nothing inside it changes; halved again and again where it is near the frame and not yet flat.
// A curve millions of pixels long so becomes a few dozen lines, not thousands.
void addCurveNear(QPolygonF *figure, const std::array<QPointF, 4> &c, const QRectF &frame, int depth)
{
    const auto [left, right] = std::minmax({c[0].x(), c[1].x(), c[2].x(), c[3].x()});
    const auto [top, bottom] = std::minmax({c[0].y(), c[1].y(), c[2].y(), c[3].y()});
    const bool beyond = right < frame.left() || left > frame.right() || bottom < frame.top() || top > frame.bottom();
    const auto flat = [&c] {
        constexpr double Tolerance = 0.25; // picture pixels
        const QPointF d1 = c[1] - (2 * c[0] + c[3]) / 3;
        const QPointF d2 = c[2] - (c[0] + 2 * c[3]) / 3;
        return std::max(QPointF::dotProduct(d1, d1), QPointF::dotProduct(d2, d2)) <= Tolerance * Tolerance;
    };
    if (depth == 0 || beyond || flat()) {
        figure->append(c[3]);
        return;
    }
    // De Casteljau at the middle.
    const QPointF ab = (c[0] + c[1]) / 2;
    const QPointF bc = (c[1] + c[2]) / 2;
    const QPointF cd = (c[2] + c[3]) / 2;
    const QPointF abc = (ab + bc) / 2;
    const QPointF bcd = (bc + cd) / 2;
    const QPointF middle = (abc + bcd) / 2;
    addCurveNear(figure, {c[0], ab, abc, middle}, frame, depth - 1);
    addCurveNear(figure, {middle, bcd, cd, c[3]}, frame, depth - 1);
}

// Hands each figure of `path` to `take` as a polygon, its curves turned into lines by addCurveNear().
template <typename Take> void forEachFigureNear(const QPainterPath &path, const QRectF &frame, Take take)
{
    constexpr int MaxHalvings = 24;
    QPolygonF figure;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo() || figure.isEmpty()) {
            if (!figure.isEmpty()) {
                take(figure);
            }
            figure.clear();
            figure.append(e);
        } else if (e.isCurveTo() && i + 2 < path.elementCount()) {
            addCurveNear(
                &figure, {figure.constLast(), e, path.elementAt(i + 1), path.elementAt(i + 2)}, frame, MaxHalvings);
            i += 2;
        } else {
            figure.append(e);
        }
    }
    if (!figure.isEmpty()) {
        take(figure);
    }
}

} // namespace

bool Player::nearPicture(const QRectF &deviceBounds, double spread) const
{
    // Within the picture's own size beyond each edge, Qt's walk costs no more than the picture.
    const QRectF image(m_image->rect());
    const double margin = std::max(image.width(), image.height());
    const QRectF bounds = m_deviceToImage.mapRect(deviceBounds).adjusted(-spread, -spread, spread, spread);
    return bounds.left() >= image.left() - margin && bounds.right() <= image.right() + margin
        && bounds.top() >= image.top() - margin && bounds.bottom() <= image.bottom() + margin;
}

QPainterPath Player::withinReach(const QPainterPath &outline) const
{
    if (nearPicture(outline.controlPointRect(), 0)) {
        return outline;
    }
    const QRectF frame = QRectF(m_image->rect()).adjusted(-2, -2, 2, 2);
    const QTransform imageToDevice = m_deviceToImage.inverted();
    QPainterPath cut;
    cut.setFillRule(outline.fillRule());
    forEachFigureNear(m_deviceToImage.map(outline), frame, [&](const QPolygonF &figure) {
        // A figure wholly outside the frame cannot surround any of it; one wholly inside stays.
        // A dashed outline can have tens of thousands of figures, nearly all of them far away.
        const QRectF bounds = figure.boundingRect();
        if (!bounds.intersects(frame)) {
            return;
        }
        const QPolygonF inside = frame.contains(bounds) ? figure : clippedToRect(figure, frame);
        if (inside.size() > 2) {
            cut.addPolygon(imageToDevice.map(inside));
            cut.closeSubpath();
        }
    });
    return cut;
}

void Player::strokeWithinReach(const QPainterPath &outline, const QPen &pen)
{
    // How far the pen's outline may stand off the line, in picture pixels: half its width, or
    // more at a mitred corner.
    const double scale = std::max(std::abs(m_deviceToImage.m11()), std::abs(m_deviceToImage.m22()));
    const double width = pen.isCosmetic() ? std::max(pen.widthF(), 1.0) : pen.widthF() * scale;
    if (nearPicture(outline.controlPointRect(), width * std::max(pen.miterLimit(), 1.0))) {
        m_painter.strokePath(outline, pen);
        return;
    }
    QPainterPathStroker stroker(pen);
    QPainterPath stroke;
    if (pen.isCosmetic()) {
        // A cosmetic pen's width is in picture pixels, whatever the mapping.
        stroker.setWidth(std::max(pen.widthF(), 1.0));
        stroke = m_deviceToImage.inverted().map(stroker.createStroke(m_deviceToImage.map(outline)));
    } else {
        stroke = stroker.createStroke(outline);
    }
    m_painter.fillPath(withinReach(stroke), pen.brush());
}

} // namespace Metafile
