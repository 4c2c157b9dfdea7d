#include "metafileplayer.h"

#include <QFontMetricsF>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace Metafile {

namespace {

constexpr double CoordinateLimit = 1e7;
// Boolean operations on clip paths grow with every step; a picture that keeps cutting its clip
// region into pieces keeps the last clip it could afford instead of slowing to a halt.
constexpr int MaxClipElements = 20000;
constexpr double MaxFontPixels = 20000;
constexpr double FarOffImage = 1e6;

bool finitePoint(QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y()) && std::abs(p.x()) <= CoordinateLimit
        && std::abs(p.y()) <= CoordinateLimit;
}

bool finiteRect(const QRectF &r)
{
    return finitePoint(r.topLeft()) && finitePoint(r.bottomRight());
}

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

Player::Player(QImage *image, const QTransform &deviceToImage, double pictureScale, quint32 objectCount, bool wmf)
    : m_image(image)
    , m_painter(image)
    , m_deviceToImage(deviceToImage)
    , m_pictureScale(pictureScale)
    , m_wmf(wmf)
    , m_objects(objectCount)
{
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_painter.setTransform(m_deviceToImage);
    m_timer.start();
}

void Player::fail(const QString &error)
{
    if (m_error.isEmpty()) {
        m_error = error;
    }
}

namespace {
// Records played between two readings of the clock.
constexpr int TimeCheckInterval = 8;
} // namespace

bool Player::recordPlayed()
{
    if (!m_error.isEmpty()) {
        return false;
    }
    if (++m_recordsSinceTimeCheck < TimeCheckInterval) {
        return true;
    }
    m_recordsSinceTimeCheck = 0;
    if (m_timer.elapsed() > PlayTimeLimitMs) {
        fail(QStringLiteral("The picture takes too long to draw."));
        return false;
    }
    return true;
}

// ---- Objects and state ----

void Player::createObject(quint32 index, GdiObject object)
{
    if (index < m_objects.size()) {
        m_objects[index] = std::move(object);
    }
}

int Player::createObjectInFreeSlot(GdiObject object)
{
    for (size_t i = 0; i < m_objects.size(); ++i) {
        if (std::holds_alternative<std::monostate>(m_objects[i])) {
            m_objects[i] = std::move(object);
            return int(i);
        }
    }
    return -1;
}

void Player::selectObject(quint32 index)
{
    if ((index & 0x80000000u) != 0) {
        selectStockObject(index & 0x7fffffffu);
        return;
    }
    if (index >= m_objects.size()) {
        return;
    }
    const GdiObject &object = m_objects[index];
    if (const auto *pen = std::get_if<PenObject>(&object)) {
        m_state.pen = *pen;
        m_state.nullPen = (pen->style & 0xf) == 5;
    } else if (const auto *brush = std::get_if<BrushObject>(&object)) {
        m_state.brush = *brush;
    } else if (const auto *font = std::get_if<FontObject>(&object)) {
        m_state.font = *font;
    }
}

void Player::selectStockObject(quint32 stock)
{
    switch (stock) {
    case 0: // WHITE_BRUSH
    case 1: // LTGRAY_BRUSH
    case 2: // GRAY_BRUSH
    case 3: // DKGRAY_BRUSH
    case 4: { // BLACK_BRUSH
        static const int greys[] = {255, 192, 128, 64, 0};
        m_state.brush = BrushObject{false, QBrush(QColor(greys[stock], greys[stock], greys[stock]))};
        break;
    }
    case 5: // NULL_BRUSH
        m_state.brush = BrushObject{true, QBrush()};
        break;
    case 6: // WHITE_PEN
    case 7: // BLACK_PEN
        m_state.pen = PenObject{stock == 6 ? QColor(Qt::white) : QColor(Qt::black)};
        m_state.nullPen = false;
        break;
    case 8: // NULL_PEN
        m_state.nullPen = true;
        break;
    case 10: // fonts: the system's default
    case 11:
    case 12:
    case 13:
    case 14:
    case 16:
    case 17:
        m_state.font = FontObject();
        break;
    default:
        break;
    }
}

void Player::deleteObject(quint32 index)
{
    if (index < m_objects.size()) {
        m_objects[index] = std::monostate();
    }
}

void Player::saveDc()
{
    if (m_saved.size() >= size_t(MaxSavedStates)) {
        fail(QStringLiteral("The picture saves too many drawing states."));
        return;
    }
    m_saved.push_back(m_state);
}

void Player::restoreDc(int which)
{
    const qint64 depth = qint64(m_saved.size());
    const qint64 target = which < 0 ? depth + which : which - 1; // index of the state to bring back
    if (target < 0 || target >= depth) {
        return;
    }
    m_state = m_saved[size_t(target)];
    m_saved.resize(size_t(target));
    applyClip();
}

// ---- Mapping ----

namespace {
// A window or viewport extent the mapping can divide by.
bool usableExtent(QSizeF s)
{
    return s.width() != 0 && s.height() != 0 && finitePoint(QPointF(s.width(), s.height()));
}
} // namespace

void Player::setMapMode(int mode)
{
    if (mode >= 1 && mode <= 8) {
        m_state.mapMode = mode;
    }
}

void Player::setWindowOrg(QPointF p)
{
    if (finitePoint(p)) {
        m_state.windowOrg = p;
    }
}

void Player::setWindowExt(QSizeF s)
{
    if (usableExtent(s)) {
        m_state.windowExt = s;
    }
}

void Player::setViewportOrg(QPointF p)
{
    if (finitePoint(p)) {
        m_state.viewportOrg = p;
    }
}

void Player::setViewportExt(QSizeF s)
{
    if (usableExtent(s)) {
        m_state.viewportExt = s;
    }
}

void Player::setWorldTransform(const QTransform &t)
{
    const bool finite = std::isfinite(t.m11()) && std::isfinite(t.m12()) && std::isfinite(t.m21())
        && std::isfinite(t.m22()) && std::isfinite(t.dx()) && std::isfinite(t.dy());
    if (finite && t.isInvertible()) {
        m_state.world = t;
    }
}

void Player::modifyWorldTransform(const QTransform &t, int mode)
{
    switch (mode) {
    case 1: // MWT_IDENTITY
        m_state.world = QTransform();
        break;
    case 2: // MWT_LEFTMULTIPLY: the new transform applies first
        setWorldTransform(t * m_state.world);
        break;
    case 3: // MWT_RIGHTMULTIPLY
        setWorldTransform(m_state.world * t);
        break;
    case 4: // MWT_SET
        setWorldTransform(t);
        break;
    default:
        break;
    }
}

QTransform Player::logicalToDevice() const
{
    const DcState &s = m_state;
    QSizeF window = s.windowExt;
    QSizeF viewport = s.viewportExt;
    if (!m_wmf) {
        // The metric modes fix both extents from the reference device; MM_TEXT is one to one.
        const double unitsPerMm[] = {0, 0, 10, 100, 1 / 0.254, 1 / 0.0254, 1440 / 25.4};
        switch (s.mapMode) {
        case 1:
            window = viewport = QSizeF(1, 1);
            break;
        case 2: // MM_LOMETRIC
        case 3: // MM_HIMETRIC
        case 4: // MM_LOENGLISH
        case 5: // MM_HIENGLISH
        case 6: // MM_TWIPS
            window = QSizeF(unitsPerMm[s.mapMode], unitsPerMm[s.mapMode]);
            viewport = QSizeF(m_pixelsPerMm.width(), -m_pixelsPerMm.height());
            break;
        default:
            break;
        }
    }
    double sx = viewport.width() / window.width();
    double sy = viewport.height() / window.height();
    if (s.mapMode == 7) { // MM_ISOTROPIC: equal units both ways, the smaller scale wins
        const double scale = std::min(std::abs(sx), std::abs(sy));
        sx = std::copysign(scale, sx);
        sy = std::copysign(scale, sy);
    }
    const QTransform page(
        sx, 0, 0, sy, s.viewportOrg.x() - s.windowOrg.x() * sx, s.viewportOrg.y() - s.windowOrg.y() * sy);
    return m_wmf ? page : s.world * page;
}

double Player::deviceScale() const
{
    const QTransform t = logicalToDevice();
    return std::sqrt(std::abs(t.determinant()));
}

bool Player::mapPoint(QPointF logical, QPointF *device) const
{
    if (!std::isfinite(logical.x()) || !std::isfinite(logical.y())) {
        return false;
    }
    *device = logicalToDevice().map(logical);
    return finitePoint(*device);
}

bool Player::mapPolygon(const QPolygonF &logical, QPolygonF *device) const
{
    const QTransform t = logicalToDevice();
    device->resize(logical.size());
    for (qsizetype i = 0; i < logical.size(); ++i) {
        const QPointF p = logical[i];
        if (!std::isfinite(p.x()) || !std::isfinite(p.y())) {
            return false;
        }
        // Device pixels are addressed by their centres.
        (*device)[i] = t.map(p) + QPointF(0.5, 0.5);
        if (!finitePoint((*device)[i])) {
            return false;
        }
    }
    return true;
}

// A box shape (rectangle, ellipse, arc ...) in device coordinates: the outline runs through the
// centres of its edge pixels and leaves out the right and bottom edge, as GDI draws it, so a
// rectangle (10,8)-(30,24) with a one-pixel pen covers the pixels 10..29 and 8..23. Without a pen,
// GDI fills one pixel less on the right and bottom: `fillOnly`.
bool Player::deviceBox(const QRectF &logical, QRectF *outline, QRectF *fillOnly) const
{
    QPointF a;
    QPointF b;
    if (!mapPoint(logical.topLeft(), &a) || !mapPoint(logical.bottomRight(), &b)) {
        return false;
    }
    const double left = std::min(a.x(), b.x());
    const double right = std::max(a.x(), b.x());
    const double top = std::min(a.y(), b.y());
    const double bottom = std::max(a.y(), b.y());
    *outline = QRectF(
        QPointF(left + 0.5, top + 0.5), QPointF(std::max(left + 0.5, right - 0.5), std::max(top + 0.5, bottom - 0.5)));
    *fillOnly = QRectF(QPointF(left, top), QPointF(std::max(left, right - 1), std::max(top, bottom - 1)));
    return true;
}

// ---- Clipping ----

void Player::applyClip()
{
    m_painter.setTransform(m_deviceToImage);
    if (m_state.clip) {
        m_painter.setClipPath(*m_state.clip);
    } else {
        m_painter.setClipping(false);
    }
}

void Player::resetClip()
{
    m_state.clip.reset();
    applyClip();
}

void Player::intersectClipRect(const QRectF &r)
{
    QPointF a;
    QPointF b;
    if (!mapPoint(r.topLeft(), &a) || !mapPoint(r.bottomRight(), &b)) {
        return;
    }
    QPainterPath rect;
    rect.addRect(QRectF(a, b).normalized());
    selectClipRegion(rect, 1);
}

void Player::excludeClipRect(const QRectF &r)
{
    QPointF a;
    QPointF b;
    if (!mapPoint(r.topLeft(), &a) || !mapPoint(r.bottomRight(), &b)) {
        return;
    }
    QPainterPath rect;
    rect.addRect(QRectF(a, b).normalized());
    selectClipRegion(rect, 4);
}

void Player::offsetClip(QPointF logicalOffset)
{
    if (!m_state.clip) {
        return;
    }
    QPointF origin;
    QPointF moved;
    if (!mapPoint(QPointF(0, 0), &origin) || !mapPoint(logicalOffset, &moved)) {
        return;
    }
    m_state.clip->translate(moved - origin);
    applyClip();
}

void Player::selectClipRegion(const QPainterPath &region, int mode)
{
    if (region.elementCount() > MaxClipElements) {
        return;
    }
    // The whole device surface, for operations on "no clip".
    QPainterPath everything;
    everything.addRect(m_deviceToImage.inverted().mapRect(QRectF(m_image->rect())).adjusted(-1, -1, 1, 1));
    const QPainterPath current = m_state.clip ? *m_state.clip : everything;
    QPainterPath result;
    switch (mode) {
    case 1: // RGN_AND
        result = current.intersected(region);
        break;
    case 2: // RGN_OR
        result = current.united(region);
        break;
    case 3: // RGN_XOR
        result = current.united(region).subtracted(current.intersected(region));
        break;
    case 4: // RGN_DIFF
        result = current.subtracted(region);
        break;
    case 5: // RGN_COPY
        result = region;
        break;
    default:
        return;
    }
    if (result.elementCount() > MaxClipElements) {
        return;
    }
    m_state.clip = result;
    applyClip();
}

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
        const QRectF bounds = outline.controlPointRect();
        if ((bounds.width() + bounds.height()) / std::max(pen.widthF(), 1e-3) > 20000) {
            pen.setStyle(Qt::SolidLine);
        }
    }
    if (fill) {
        const QBrush brush = currentBrush();
        if (brush.style() != Qt::NoBrush) {
            if (pen.style() == Qt::NoPen && nullPenFill) {
                m_painter.fillPath(*nullPenFill, brush);
            } else {
                m_painter.fillPath(outline, brush);
            }
        }
    }
    if (pen.style() != Qt::NoPen) {
        m_painter.strokePath(outline, pen);
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
        m_painter.fillPath(frame, pen.brush());
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

// ---- Text ----

QFont Player::deviceFont(double *pixelSize) const
{
    const FontObject &f = m_state.font;
    QFont font;
    if (!f.face.isEmpty()) {
        font.setFamilies({f.face});
    }
    font.setWeight(QFont::Weight(std::clamp(f.weight == 0 ? 400 : f.weight, 100, 900)));
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    font.setStyleStrategy(QFont::PreferAntialias);
    const QTransform t = logicalToDevice() * m_deviceToImage;
    const double yScale = std::hypot(t.m21(), t.m22());
    double size =
        (f.height == 0 ? 12.0 * std::sqrt(std::abs(m_deviceToImage.determinant())) : std::abs(f.height) * yScale);
    if (!std::isfinite(size) || size < 0.5 || size > MaxFontPixels) {
        *pixelSize = 0;
        return font;
    }
    font.setPixelSize(std::max(1, qRound(size)));
    if (f.height > 0) {
        // A positive height is the character cell (ascent and descent), not the em.
        const QFontMetricsF metrics(font);
        if (metrics.height() > 0) {
            size = size * size / metrics.height();
            font.setPixelSize(std::max(1, qRound(size)));
        }
    }
    *pixelSize = size;
    return font;
}

void Player::textOut(QPointF reference,
    const QString &fullText,
    const std::vector<double> &advances,
    quint32 options,
    const std::optional<QRectF> &rect)
{
    if (m_path) {
        return;
    }
    const QTransform toImage = logicalToDevice() * m_deviceToImage;
    constexpr quint32 EtoOpaque = 0x2;
    constexpr quint32 EtoClipped = 0x4;
    if (rect && (options & EtoOpaque) != 0) {
        fillRect(*rect, m_state.bkColor);
    }
    const QString text = fullText.left(MaxTextLength);
    double pixelSize = 0;
    const QFont font = deviceFont(&pixelSize);
    if (text.isEmpty() || pixelSize <= 0) {
        return;
    }
    const bool updateCp = (m_state.textAlign & 1) != 0;
    const QPointF logicalOrigin = updateCp ? m_state.position : reference;
    if (!std::isfinite(logicalOrigin.x()) || !std::isfinite(logicalOrigin.y())) {
        return;
    }
    const QPointF origin = toImage.map(logicalOrigin);
    const QPointF deviceCheck = logicalToDevice().map(logicalOrigin);
    if (!finitePoint(deviceCheck)) {
        return;
    }
    const double xScale = std::hypot(toImage.m11(), toImage.m12());
    const QFontMetricsF metrics(font);

    // Where each character starts along the baseline, in image pixels.
    std::vector<double> positions;
    positions.reserve(size_t(text.size()) + 1);
    double x = 0;
    const bool useAdvances = advances.size() >= size_t(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        positions.push_back(x);
        const double advance = useAdvances ? advances[size_t(i)] * xScale : metrics.horizontalAdvance(text.at(i));
        x += std::isfinite(advance) ? std::clamp(advance, -CoordinateLimit, CoordinateLimit) : 0;
    }
    const double width = useAdvances ? x : metrics.horizontalAdvance(text);

    double dx = 0;
    switch (m_state.textAlign & 6) {
    case 2: // TA_RIGHT
        dx = -width;
        break;
    case 6: // TA_CENTER
        dx = -width / 2;
        break;
    default:
        break;
    }
    double dy = metrics.ascent(); // TA_TOP
    switch (m_state.textAlign & 24) {
    case 8: // TA_BOTTOM
        dy = -metrics.descent();
        break;
    case 24: // TA_BASELINE
        dy = 0;
        break;
    default:
        break;
    }

    m_painter.save();
    m_painter.resetTransform();
    if (rect && (options & EtoClipped) != 0) {
        QPointF a;
        QPointF b;
        if (mapPoint(rect->topLeft(), &a) && mapPoint(rect->bottomRight(), &b)) {
            m_painter.setClipRect(m_deviceToImage.mapRect(QRectF(a, b).normalized()), Qt::IntersectClip);
        }
    }
    m_painter.translate(origin);
    m_painter.rotate(-(m_state.font.escapement / 10.0));
    m_painter.setFont(font);
    if (m_state.opaqueBk) {
        m_painter.fillRect(QRectF(dx, dy - metrics.ascent(), width, metrics.height()), m_state.bkColor);
    }
    m_painter.setPen(m_state.textColor);
    if (useAdvances) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            qsizetype length = 1;
            if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                length = 2;
            }
            const double at = dx + positions[size_t(i)];
            // Characters pushed far off the picture by their advances are not drawn at all.
            if (std::abs(at) < FarOffImage) {
                m_painter.drawText(QPointF(at, dy), text.mid(i, length));
            }
            i += length - 1;
        }
    } else {
        m_painter.drawText(QPointF(dx, dy), text);
    }
    m_painter.restore();

    if (updateCp && xScale > 0) {
        const double angle = qDegreesToRadians(m_state.font.escapement / 10.0);
        const QPointF endImage = origin + QPointF(std::cos(angle), -std::sin(angle)) * width;
        const QPointF end = toImage.inverted().map(endImage);
        if (finitePoint(end)) {
            m_state.position = end;
        }
    }
}

// ---- Bitmaps ----

void Player::drawImage(const QRectF &dest, const QImage &image, const QRectF &source, quint32 rop)
{
    if (m_path || !finiteRect(dest)) {
        return;
    }
    QPointF a;
    QPointF b;
    if (!mapPoint(dest.topLeft(), &a) || !mapPoint(dest.bottomRight(), &b)) {
        return;
    }
    constexpr quint32 Blackness = 0x00000042;
    constexpr quint32 Whiteness = 0x00FF0062;
    constexpr quint32 PatCopy = 0x00F00021;
    const quint32 op = rop & 0x00FF0000;
    if (image.isNull()) {
        // No source bitmap: a pattern or constant fill of the destination.
        if (rop == Blackness) {
            fillRect(dest, QColor(Qt::black));
        } else if (rop == Whiteness) {
            fillRect(dest, QColor(Qt::white));
        } else if (rop == PatCopy) {
            fillRect(dest, currentBrush());
        }
        return;
    }
    const QRectF bounds = QRectF(image.rect()).intersected(source.normalized());
    if (bounds.isEmpty() || !finiteRect(source)) {
        return;
    }
    m_painter.save();
    switch (op) {
    case 0x00880000: // SRCAND
        m_painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        break;
    case 0x00EE0000: // SRCPAINT
        m_painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        break;
    case 0x00660000: // SRCINVERT
        m_painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        break;
    case 0x00330000: // NOTSRCCOPY
        m_painter.setCompositionMode(QPainter::RasterOp_NotSource);
        break;
    default:
        break;
    }
    // Nearest-neighbour stretching, as GDI stretches by default; the mapping may mirror.
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const double sx = (b.x() - a.x()) / source.width();
    const double sy = (b.y() - a.y()) / source.height();
    if (std::isfinite(sx) && std::isfinite(sy) && sx != 0 && sy != 0) {
        QTransform t(sx, 0, 0, sy, a.x() - source.x() * sx, a.y() - source.y() * sy);
        m_painter.setTransform(t * m_deviceToImage);
        m_painter.drawImage(bounds, image, bounds);
    }
    m_painter.restore();
}

// ---- Paths ----

void Player::beginPath()
{
    m_path = QPainterPath();
    m_path->setFillRule(m_state.fillRule);
}

void Player::endPath()
{
    if (m_path) {
        m_finishedPath = *m_path;
        m_finishedPath.setFillRule(m_state.fillRule);
        m_hasFinishedPath = true;
        m_path.reset();
    }
}

void Player::abortPath()
{
    m_path.reset();
    m_hasFinishedPath = false;
}

void Player::closeFigure()
{
    if (m_path) {
        m_path->closeSubpath();
    }
}

void Player::fillPath()
{
    if (m_path || !m_hasFinishedPath) {
        return;
    }
    m_finishedPath.setFillRule(m_state.fillRule);
    drawShape(m_finishedPath, true, false);
    m_hasFinishedPath = false;
}

void Player::strokePath()
{
    if (m_path || !m_hasFinishedPath) {
        return;
    }
    drawShape(m_finishedPath, false, true);
    m_hasFinishedPath = false;
}

void Player::strokeAndFillPath()
{
    if (m_path || !m_hasFinishedPath) {
        return;
    }
    m_finishedPath.setFillRule(m_state.fillRule);
    drawShape(m_finishedPath, true, true);
    m_hasFinishedPath = false;
}

void Player::selectClipPath(int mode)
{
    if (m_path || !m_hasFinishedPath) {
        return;
    }
    QPainterPath region = m_finishedPath.translated(-0.5, -0.5);
    region.closeSubpath();
    selectClipRegion(region, mode);
    m_hasFinishedPath = false;
}

} // namespace Metafile
