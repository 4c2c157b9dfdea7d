#pragma once

#include "metafile.h"

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

#include <cstring>
#include <optional>
#include <variant>
#include <vector>

namespace Metafile {

// Bounds-checked little-endian reads from one record. A read outside the record gives 0 and marks
// the reader as failed, so a record handler reads everything first and then checks `ok()` once.
class RecordReader
{
public:
    RecordReader(const char *data, qsizetype size)
        : m_data(data)
        , m_size(size)
    {
    }

    qsizetype size() const { return m_size; }
    const char *data() const { return m_data; }
    bool ok() const { return m_ok; }
    bool has(qsizetype offset, qsizetype length) const
    {
        return offset >= 0 && length >= 0 && offset <= m_size && length <= m_size - offset;
    }

    quint8 u8(qsizetype offset) { return read<quint8>(offset); }
    quint16 u16(qsizetype offset) { return read<quint16>(offset); }
    qint16 i16(qsizetype offset) { return read<qint16>(offset); }
    quint32 u32(qsizetype offset) { return read<quint32>(offset); }
    qint32 i32(qsizetype offset) { return read<qint32>(offset); }
    float f32(qsizetype offset) { return read<float>(offset); }

    // The bytes [offset, offset + length), or null (and failed) if they are not all inside.
    const char *bytes(qsizetype offset, qsizetype length)
    {
        if (!has(offset, length)) {
            m_ok = false;
            return nullptr;
        }
        return m_data + offset;
    }

private:
    template <typename T> T read(qsizetype offset)
    {
        if (!has(offset, sizeof(T))) {
            m_ok = false;
            return T();
        }
        T value;
        std::memcpy(&value, m_data + offset, sizeof(T));
        return value; // metafiles are little-endian, as are the machines we build for
    }

    const char *m_data;
    qsizetype m_size;
    bool m_ok = true;
};

// A GDI colour reference 0x00BBGGRR.
inline QColor colorRef(quint32 value)
{
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

// A device-independent bitmap (BITMAPINFO and its bits) as an image, or a null image. A bitmap over
// the pixel limit or whose bits do not fit in what was given also sets `refusal`, which fails the
// picture; one of a kind this player does not read is only left out.
QImage decodeDib(const char *info, qsizetype infoSize, const char *bits, qsizetype bitsSize, QString *refusal);
// The same for a packed bitmap: the info immediately followed by the bits.
QImage decodePackedDib(const char *data, qsizetype size, QString *refusal);

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

    // Failure of the picture as a whole; play stops at the first one.
    const QString &error() const { return m_error; }
    void fail(const QString &error);
    // Called after every record: false when play must stop, after a failure or when the picture
    // has taken too long to draw (the clock is read every few records only).
    bool recordPlayed();

    DcState &state() { return m_state; }
    // EMF: the reference device's pixels per millimetre, for the metric mapping modes.
    void setDevicePixelsPerMm(QSizeF pixelsPerMm) { m_pixelsPerMm = pixelsPerMm; }

    // Objects. Indices outside the table are ignored.
    void createObject(quint32 index, GdiObject object);
    int createObjectInFreeSlot(GdiObject object); // WMF: lowest free slot
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
    std::vector<GdiObject> m_objects;
    std::optional<QPainterPath> m_path; // open path bracket, device coordinates
    QPainterPath m_finishedPath;
    bool m_hasFinishedPath = false;
    QString m_error;
    QElapsedTimer m_timer;
    int m_recordsSinceTimeCheck = 0;
};

// The record loops. Both return after the end record, the last record, or a failure.
void playEmf(const Document &document, Player &player);
void playWmf(const Document &document, Player &player);

} // namespace Metafile
