#include "metafile/metafileplayer_p.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace Metafile {

namespace {

// The radial angle, in Qt's degrees (counter-clockwise on screen), of the point where the line from
// the ellipse's centre through `p` meets the ellipse.
double radialAngle(const QRectF &box, QPointF p)
{
    const QPointF c = box.center();
    const double rx = std::max(box.width() / 2, 1e-9);
    const double ry = std::max(box.height() / 2, 1e-9);
    return qRadiansToDegrees(std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx));
}

} // namespace

// ---- Pens, brushes and shapes ----

QPen Player::currentPen() const
{
    const PenObject &p = m_state.pen;
    if (m_state.nullPen || (p.style & 0xf) == 5) {
        return Qt::NoPen;
    }
    // Device pixels per logical picture pixel: the thinnest line is one picture pixel wide.
    const double imagePerDevice = std::sqrt(std::abs(m_deviceToImage.determinant()));
    const double thinnest = imagePerDevice > 0 ? m_pictureScale / imagePerDevice : 1;
    double width = p.cosmetic ? 0 : p.width * deviceScale();
    width = std::max(width, thinnest);
    QPen pen(p.color, width);
    switch (p.style & 0xf) {
    case 1:
        pen.setStyle(Qt::DashLine);
        break;
    case 2:
    case 8:
        pen.setStyle(Qt::DotLine);
        break;
    case 3:
        pen.setStyle(Qt::DashDotLine);
        break;
    case 4:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    default:
        break;
    }
    if (width <= thinnest * 1.5) {
        // Thin lines are drawn as GDI draws them, pixel by pixel: square corners, no caps.
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
    } else {
        pen.setCapStyle(p.cap);
        pen.setJoinStyle(p.join);
    }
    return pen;
}

QBrush Player::currentBrush() const
{
    return m_state.brush.null ? QBrush() : m_state.brush.brush;
}

void Player::drawShape(const QPainterPath &outline, bool fill, bool stroke, const QPainterPath *nullPenFill)
{
    if (m_path) {
        m_path->addPath(outline);
        return;
    }
    QPen pen = stroke ? currentPen() : QPen(Qt::NoPen);
    if (pen.style() > Qt::SolidLine) {
        // A dash pattern along a very long outline would take ages; such lines are drawn solid.
        // So are dashes longer than the whole outline: they would break nowhere, and Qt takes
        // seconds to dash a curve with a pen far wider than the curve is large.
        const QRectF bounds = outline.controlPointRect();
        const double width = std::max(pen.widthF(), 1e-3);
        if ((bounds.width() + bounds.height()) / width > 20000
            || pen.dashPattern().value(0) * width >= outline.length()) {
            pen.setStyle(Qt::SolidLine);
        }
    }
    if (fill) {
        const QBrush brush = currentBrush();
        if (brush.style() != Qt::NoBrush) {
            if (pen.style() == Qt::NoPen && nullPenFill) {
                m_painter.fillPath(withinReach(*nullPenFill), brush);
            } else {
                m_painter.fillPath(withinReach(outline), brush);
            }
        }
    }
    if (pen.style() != Qt::NoPen) {
        strokeWithinReach(outline, pen);
    }
}

void Player::moveTo(QPointF p)
{
    QPointF device;
    if (!mapPoint(p, &device)) {
        return;
    }
    m_state.position = p;
    if (m_path) {
        m_path->moveTo(device + QPointF(0.5, 0.5));
    }
}

void Player::lineTo(QPointF p)
{
    polylineTo(QPolygonF{p});
}

void Player::polylineTo(const QPolygonF &points)
{
    if (points.isEmpty()) {
        return;
    }
    QPolygonF logical;
    logical.reserve(points.size() + 1);
    logical << m_state.position << points;
    QPolygonF device;
    if (!mapPolygon(logical, &device)) {
        return;
    }
    m_state.position = points.last();
    if (m_path) {
        if (m_path->elementCount() == 0) {
            m_path->moveTo(device.first());
        }
        for (qsizetype i = 1; i < device.size(); ++i) {
            m_path->lineTo(device[i]);
        }
        return;
    }
    QPainterPath path;
    path.addPolygon(device);
    drawShape(path, false, true);
}

void Player::rectangle(const QRectF &box)
{
    QRectF outline;
    QRectF fillOnly;
    if (!deviceBox(box, &outline, &fillOnly)) {
        return;
    }
    QPainterPath path;
    path.addRect(outline);
    QPainterPath fillPath;
    fillPath.addRect(fillOnly);
    const QPen pen = currentPen();
    if (!m_path && pen.style() == Qt::SolidLine && pen.joinStyle() == Qt::MiterJoin) {
        // The outline as a frame between two rectangles: the stroker leaves the corner where
        // the outline closes a little short, and these pixels must be exact.
        drawShape(path, true, false);
        const double half = pen.widthF() / 2;
        QPainterPath frame;
        frame.setFillRule(Qt::OddEvenFill);
        frame.addRect(outline.adjusted(-half, -half, half, half));
        if (outline.width() > 2 * half && outline.height() > 2 * half) {
            frame.addRect(outline.adjusted(half, half, -half, -half));
        }
        m_painter.fillPath(withinReach(frame), pen.brush());
        return;
    }
    drawShape(path, true, true, &fillPath);
}

void Player::roundRect(const QRectF &box, QSizeF corner)
{
    QRectF outline;
    QRectF fillOnly;
    QPointF cornerDevice;
    QPointF origin;
    if (!deviceBox(box, &outline, &fillOnly) || !mapPoint(QPointF(corner.width(), corner.height()), &cornerDevice)
        || !mapPoint(QPointF(0, 0), &origin)) {
        return;
    }
    const double rx = std::min(std::abs(cornerDevice.x() - origin.x()) / 2, outline.width() / 2);
    const double ry = std::min(std::abs(cornerDevice.y() - origin.y()) / 2, outline.height() / 2);
    QPainterPath path;
    path.addRoundedRect(outline, rx, ry);
    QPainterPath fillPath;
    fillPath.addRoundedRect(fillOnly, rx, ry);
    drawShape(path, true, true, &fillPath);
}

void Player::ellipse(const QRectF &box)
{
    QRectF outline;
    QRectF fillOnly;
    if (!deviceBox(box, &outline, &fillOnly)) {
        return;
    }
    QPainterPath path;
    path.addEllipse(outline);
    QPainterPath fillPath;
    fillPath.addEllipse(fillOnly);
    drawShape(path, true, true, &fillPath);
}

void Player::arc(ArcKind kind, const QRectF &box, QPointF start, QPointF end)
{
    QRectF outline;
    QRectF fillOnly;
    QPointF startDevice;
    QPointF endDevice;
    if (!deviceBox(box, &outline, &fillOnly) || !mapPoint(start, &startDevice) || !mapPoint(end, &endDevice)) {
        return;
    }
    const double from = radialAngle(outline, startDevice + QPointF(0.5, 0.5));
    const double to = radialAngle(outline, endDevice + QPointF(0.5, 0.5));
    // Arcs run counter-clockwise on the device unless the picture asked for clockwise; equal
    // start and end make a full ellipse.
    double sweep = std::fmod(to - from + 720.0, 360.0);
    if (sweep <= 1e-9) {
        sweep = 360.0;
    }
    if (m_state.clockwise) {
        sweep -= 360.0;
        if (sweep >= -1e-9) {
            sweep = -360.0;
        }
    }
    QPainterPath path;
    switch (kind) {
    case ArcKind::Arc:
        path.arcMoveTo(outline, from);
        path.arcTo(outline, from, sweep);
        drawShape(path, false, true);
        break;
    case ArcKind::ArcTo: {
        QPointF current;
        if (!mapPoint(m_state.position, &current)) {
            return;
        }
        path.moveTo(current + QPointF(0.5, 0.5));
        path.arcTo(outline, from, sweep);
        if (m_path) {
            if (m_path->elementCount() == 0) {
                m_path->moveTo(path.elementAt(0));
            }
            m_path->connectPath(path);
        } else {
            drawShape(path, false, true);
        }
        const QPointF last = path.currentPosition() - QPointF(0.5, 0.5);
        m_state.position = logicalToDevice().inverted().map(last);
        break;
    }
    case ArcKind::Chord:
        path.arcMoveTo(outline, from);
        path.arcTo(outline, from, sweep);
        path.closeSubpath();
        drawShape(path, true, true);
        break;
    case ArcKind::Pie:
        path.moveTo(outline.center());
        path.arcTo(outline, from, sweep);
        path.closeSubpath();
        drawShape(path, true, true);
        break;
    }
}

void Player::angleArc(QPointF centre, double radius, double startDegrees, double sweepDegrees)
{
    if (!std::isfinite(startDegrees) || !std::isfinite(sweepDegrees) || !std::isfinite(radius)) {
        return;
    }
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPointF a;
    QPointF b;
    QPointF current;
    if (!mapPoint(box.topLeft(), &a) || !mapPoint(box.bottomRight(), &b) || !mapPoint(m_state.position, &current)) {
        return;
    }
    const QRectF device = QRectF(a, b).normalized().translated(0.5, 0.5);
    sweepDegrees = std::clamp(sweepDegrees, -3600.0, 3600.0);
    QPainterPath path;
    path.moveTo(current + QPointF(0.5, 0.5));
    path.arcTo(device, startDegrees, sweepDegrees);
    if (m_path) {
        m_path->connectPath(path);
    } else {
        drawShape(path, false, true);
    }
    m_state.position = logicalToDevice().inverted().map(path.currentPosition() - QPointF(0.5, 0.5));
}

void Player::polygon(const QPolygonF &points)
{
    polyPolygon({points});
}

void Player::polyPolygon(const std::vector<QPolygonF> &polygons)
{
    QPainterPath path;
    path.setFillRule(m_state.fillRule);
    for (const QPolygonF &polygon : polygons) {
        QPolygonF device;
        if (polygon.size() < 2 || !mapPolygon(polygon, &device)) {
            continue;
        }
        path.addPolygon(device);
        path.closeSubpath();
    }
    if (!path.isEmpty()) {
        drawShape(path, true, true);
    }
}

void Player::polyline(const QPolygonF &points)
{
    polyPolyline({points});
}

void Player::polyPolyline(const std::vector<QPolygonF> &polylines)
{
    QPainterPath path;
    for (const QPolygonF &line : polylines) {
        QPolygonF device;
        if (line.size() < 2 || !mapPolygon(line, &device)) {
            continue;
        }
        path.addPolygon(device);
    }
    if (!path.isEmpty()) {
        drawShape(path, false, true);
    }
}

void Player::polyBezier(const QPolygonF &points)
{
    if (points.size() < 4) {
        return;
    }
    m_state.position = points.first();
    QPainterPath path;
    QPolygonF device;
    if (!mapPolygon(points, &device)) {
        return;
    }
    path.moveTo(device.first());
    for (qsizetype i = 1; i + 2 < device.size(); i += 3) {
        path.cubicTo(device[i], device[i + 1], device[i + 2]);
    }
    drawShape(path, false, true);
}

void Player::polyBezierTo(const QPolygonF &points)
{
    QPolygonF logical;
    logical << m_state.position << points;
    QPolygonF device;
    if (points.size() < 3 || !mapPolygon(logical, &device)) {
        return;
    }
    QPainterPath path;
    path.moveTo(device.first());
    qsizetype i = 1;
    for (; i + 2 < device.size(); i += 3) {
        path.cubicTo(device[i], device[i + 1], device[i + 2]);
    }
    m_state.position = logical[i - 1];
    if (m_path) {
        if (m_path->elementCount() == 0) {
            m_path->moveTo(device.first());
        }
        m_path->connectPath(path);
    } else {
        drawShape(path, false, true);
    }
}

void Player::polyDraw(const QPolygonF &points, const QByteArray &types)
{
    QPolygonF logical;
    logical << m_state.position << points;
    QPolygonF device;
    if (points.size() != types.size() || !mapPolygon(logical, &device)) {
        return;
    }
    QPainterPath path;
    path.moveTo(device.first());
    for (qsizetype i = 0; i < points.size(); ++i) {
        const int type = types[i] & 0x6;
        const QPointF p = device[i + 1];
        if (type == 6) { // PT_MOVETO
            path.moveTo(p);
        } else if (type == 4 && i + 2 < points.size()) { // PT_BEZIERTO, three points
            path.cubicTo(p, device[i + 2], device[i + 3]);
            i += 2;
        } else {
            path.lineTo(p);
        }
        if ((types[i] & 0x1) != 0) { // PT_CLOSEFIGURE
            path.closeSubpath();
        }
    }
    m_state.position = points.last();
    if (m_path) {
        m_path->addPath(path);
    } else {
        drawShape(path, false, true);
    }
}

void Player::setPixel(QPointF p, const QColor &color)
{
    QPointF device;
    if (!m_path && mapPoint(p, &device)) {
        m_painter.fillRect(QRectF(std::floor(device.x()), std::floor(device.y()), 1, 1), color);
    }
}

void Player::fillRect(const QRectF &box, const QBrush &brush)
{
    QPointF a;
    QPointF b;
    if (!m_path && mapPoint(box.topLeft(), &a) && mapPoint(box.bottomRight(), &b)) {
        m_painter.fillRect(QRectF(a, b).normalized(), brush);
    }
}

} // namespace Metafile
