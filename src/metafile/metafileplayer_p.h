#pragma once

#include "core/littleendian.h"
#include "core/result.h"
#include "metafile/metafile.h"

#include <QBrush>
#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QTransform>

#include <cmath>
#include <optional>
#include <variant>
#include <vector>

namespace Metafile {

// Records are read through the program's one bounds-checked little-endian reader.
using RecordReader = LittleEndianReader;

// The end records of EMF and WMF; the reader ends the record list there, the player stops playing.
constexpr quint32 EmfEndRecord = 14;
constexpr quint16 WmfEndRecord = 0;

// Geometry beyond this many device pixels from the origin, or not finite, drops the shape.
constexpr double CoordinateLimit = 1e7;

inline bool finitePoint(QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y()) && std::abs(p.x()) <= CoordinateLimit
        && std::abs(p.y()) <= CoordinateLimit;
}

inline bool finiteRect(const QRectF &r)
{
    return finitePoint(r.topLeft()) && finitePoint(r.bottomRight());
}

// A GDI colour reference 0x00BBGGRR.
inline QColor colorRef(quint32 value)
{
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

// A device-independent bitmap (BITMAPINFO and its bits) as an image. One of a kind this player does
// not read gives a null image, and is only left out; one over the pixel limit or whose bits do not
// fit in what was given is a failure, which fails the picture.
Result<QImage> decodeDib(const char *info, qsizetype infoSize, const char *bits, qsizetype bitsSize);
// The same for a packed bitmap: the info immediately followed by the bits.
Result<QImage> decodePackedDib(const char *data, qsizetype size);

// Text records are drawn up to this many characters.
constexpr int MaxTextLength = 65536;

// The text decoder for a font's character set; code page 932 for the default set, since the
// pictures we show come from Japanese systems.
QString decodeCharsetText(const char *bytes, qsizetype length, int charset, std::vector<int> *charStarts);

struct PenObject
{
    QColor color;
    double width = 0; // logical units; 0 is one device pixel
    int style = 0; // PS_SOLID ...
    bool cosmetic = false;
    Qt::PenCapStyle cap = Qt::RoundCap;
    Qt::PenJoinStyle join = Qt::RoundJoin;
};

struct BrushObject
{
    bool null = false;
    QBrush brush;
};

struct FontObject
{
    double height = 0; // logical; negative is the character height, positive the cell height
    double width = 0;
    int escapement = 0; // tenths of a degree
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 1;
    QString face;
};

struct OtherObject
{ };

using GdiObject = std::variant<std::monostate, PenObject, BrushObject, FontObject, OtherObject>;

// The state that SaveDC keeps and RestoreDC brings back.
struct DcState
{
    QTransform world;
    int mapMode = 1; // MM_TEXT
    QPointF windowOrg{0, 0};
    QSizeF windowExt{1, 1};
    QPointF viewportOrg{0, 0};
    QSizeF viewportExt{1, 1};
    PenObject pen{QColor(Qt::black)};
    bool nullPen = false;
    BrushObject brush{false, QBrush(Qt::white)};
    FontObject font;
    QColor textColor{Qt::black};
    QColor bkColor{Qt::white};
    bool opaqueBk = true;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    quint32 textAlign = 0;
    bool clockwise = false;
    QPointF position; // current position, logical
    std::optional<QPainterPath> clip; // device coordinates
};

// A GDI device context as much as pictures need it: the mapping from logical to device
// coordinates, the selected objects, clipping, paths, and the drawing calls, each drawn with
// QPainter into the target image. Geometry is checked here: coordinates that are not finite or are
// beyond ±1e7 device pixels drop the shape. The record parsers (EMF, WMF) call it.
class Player
{
public:
    // `deviceToImage` maps GDI device pixels onto the image; `pictureScale` is image pixels per
    // logical picture pixel (for minimum pen widths).
    Player(QImage *image, const QTransform &deviceToImage, double pictureScale, quint32 objectCount, bool wmf);

    // Why the picture as a whole failed, if it did; play stops at the first failure.
    const std::optional<QString> &failure() const { return m_failure; }
    void fail(const QString &why);
    // Called after every record: false when play must stop, after a failure or when the picture
    // has taken too long to draw (the clock is read every few records only).
    bool recordPlayed();

    DcState &state() { return m_state; }
    // EMF: the reference device's pixels per millimetre, for the metric mapping modes.
    void setDevicePixelsPerMm(QSizeF pixelsPerMm) { m_pixelsPerMm = pixelsPerMm; }

    // Objects. Indices outside the table are ignored.
    void createObject(quint32 index, GdiObject object);
    void createObjectInFreeSlot(GdiObject object); // WMF: lowest free slot
    void selectObject(quint32 index);
    void selectStockObject(quint32 stock);
    void deleteObject(quint32 index);

    void saveDc();
    void restoreDc(int which); // negative: relative; positive: absolute

    // Mapping.
    void setMapMode(int mode);
    void setWindowOrg(QPointF p);
    void setWindowExt(QSizeF s);
    void setViewportOrg(QPointF p);
    void setViewportExt(QSizeF s);
    void setWorldTransform(const QTransform &t);
    void modifyWorldTransform(const QTransform &t, int mode);
    QTransform logicalToDevice() const;

    // Clipping, in logical coordinates except `selectClipRegion` (device).
    void intersectClipRect(const QRectF &r);
    void excludeClipRect(const QRectF &r);
    // A logical rectangle combined with the clip as selectClipRegion() combines a region.
    void combineClipRect(const QRectF &r, int mode);
    void offsetClip(QPointF logicalOffset);
    void selectClipRegion(const QPainterPath &deviceRegion, int mode); // RGN_AND .. RGN_COPY
    void resetClip();

    // Drawing; all coordinates logical.
    void moveTo(QPointF p);
    void lineTo(QPointF p);
    void rectangle(const QRectF &box);
    void roundRect(const QRectF &box, QSizeF corner);
    void ellipse(const QRectF &box);
    enum class ArcKind { Arc, Chord, Pie, ArcTo };
    void arc(ArcKind kind, const QRectF &box, QPointF start, QPointF end);
    void angleArc(QPointF centre, double radius, double startDegrees, double sweepDegrees);
    void polygon(const QPolygonF &points);
    void polyPolygon(const std::vector<QPolygonF> &polygons);
    void polyline(const QPolygonF &points);
    void polyPolyline(const std::vector<QPolygonF> &polylines);
    void polylineTo(const QPolygonF &points);
    void polyBezier(const QPolygonF &points);
    void polyBezierTo(const QPolygonF &points);
    void polyDraw(const QPolygonF &points, const QByteArray &types);
    void setPixel(QPointF p, const QColor &color);
    void fillRect(const QRectF &box, const QBrush &brush); // no outline; PatBlt
    void textOut(QPointF reference,
        const QString &text,
        const std::vector<double> &advances, // logical, one per character of `text` or empty
        quint32 options,
        const std::optional<QRectF> &rect);
    void drawImage(const QRectF &dest, const QImage &image, const QRectF &source, quint32 rop);

    // Paths.
    void beginPath();
    void endPath();
    void abortPath();
    void closeFigure();
    void fillPath();
    void strokePath();
    void strokeAndFillPath();
    void selectClipPath(int mode);

private:
    bool mapPoint(QPointF logical, QPointF *device) const;
    bool mapPolygon(const QPolygonF &logical, QPolygonF *device) const;
    bool deviceBox(const QRectF &logical, QRectF *outline, QRectF *fillOnly) const;
    QPen currentPen() const;
    QBrush currentBrush() const;
    double deviceScale() const;
    void drawShape(const QPainterPath &outline, bool fill, bool stroke, const QPainterPath *nullPenFill = nullptr);
    // Whether device bounds, grown by `spread` picture pixels, stay near enough to the picture to
    // be drawn as they are.
    bool nearPicture(const QRectF &deviceBounds, double spread) const;
    // `outline` (device coordinates, to be filled), cut down to the picture where it reaches far.
    QPainterPath withinReach(const QPainterPath &outline) const;
    void strokeWithinReach(const QPainterPath &outline, const QPen &pen);
    void applyClip();
    QFont deviceFont(double *pixelSize) const;

    QImage *m_image;
    QPainter m_painter;
    QTransform m_deviceToImage;
    double m_pictureScale;
    bool m_wmf;
    QSizeF m_pixelsPerMm{96.0 / 25.4, 96.0 / 25.4};
    DcState m_state;
    std::vector<DcState> m_saved;
    quint32 m_objectCount;
    std::vector<GdiObject> m_objects; // the first of m_objectCount; the rest are empty
    std::optional<QPainterPath> m_path; // open path bracket, device coordinates
    QPainterPath m_finishedPath;
    bool m_hasFinishedPath = false;
    std::optional<QString> m_failure;
    QElapsedTimer m_timer;
    int m_recordsSinceTimeCheck = 0;
};

// The record loops. Both return after the end record, the last record, or a failure.
void playEmf(const Document &document, Player &player);
void playWmf(const Document &document, Player &player);

} // namespace Metafile
