#include "metafile/metafileplayer_p.h"

#include <algorithm>
#include <cmath>

namespace Metafile {

Player::Player(QImage *image, const QTransform &deviceToImage, double pictureScale, quint32 objectCount, bool wmf)
    : m_image(image)
    , m_painter(image)
    , m_deviceToImage(deviceToImage)
    , m_pictureScale(pictureScale)
    , m_wmf(wmf)
    , m_objectCount(objectCount)
{
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_painter.setTransform(m_deviceToImage);
    m_timer.start();
}

void Player::fail(const QString &why)
{
    if (!m_failure) {
        m_failure = why;
    }
}

namespace {
// Records played between two readings of the clock.
constexpr int TimeCheckInterval = 8;
} // namespace

bool Player::recordPlayed()
{
    if (m_failure) {
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

// The table holds as many objects as the header states; it grows as they are made, so that a
// header stating tens of thousands costs nothing until they are.
void Player::createObject(quint32 index, GdiObject object)
{
    if (index >= m_objectCount) {
        return;
    }
    if (index >= m_objects.size()) {
        m_objects.resize(size_t(index) + 1);
    }
    m_objects[index] = std::move(object);
}

void Player::createObjectInFreeSlot(GdiObject object)
{
    const auto free = std::find_if(m_objects.begin(), m_objects.end(), [](const GdiObject &slot) {
        return std::holds_alternative<std::monostate>(slot);
    });
    createObject(quint32(free - m_objects.begin()), std::move(object));
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
} // namespace Metafile
