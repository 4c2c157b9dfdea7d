#include "metafile/metafileplayer_p.h"

#include <algorithm>

namespace Metafile {

namespace {

// WMF record functions this player handles; everything else is skipped. Parameters follow the
// six-byte record header, most of them in reverse order of the call's arguments.
enum WmfRecord : quint16 {
    Eof = WmfEndRecord,
    SaveDc = 0x001E,
    CreatePalette = 0x00F7,
    SetBkMode = 0x0102,
    SetMapMode = 0x0103,
    SetPolyFillMode = 0x0106,
    RestoreDc = 0x0127,
    SelectObject = 0x012D,
    SetTextAlign = 0x012E,
    DibCreatePatternBrush = 0x0142,
    DeleteObject = 0x01F0,
    CreatePatternBrush = 0x01F9,
    SetBkColor = 0x0201,
    SetTextColor = 0x0209,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    SetViewportOrg = 0x020D,
    SetViewportExt = 0x020E,
    OffsetWindowOrg = 0x020F,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    OffsetClipRgn = 0x0220,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    Polygon = 0x0324,
    Polyline = 0x0325,
    ScaleWindowExt = 0x0410,
    ExcludeClipRect = 0x0415,
    IntersectClipRect = 0x0416,
    Ellipse = 0x0418,
    Rectangle = 0x041B,
    SetPixel = 0x041F,
    TextOut = 0x0521,
    PolyPolygon = 0x0538,
    RoundRect = 0x061C,
    PatBlt = 0x061D,
    CreateRegion = 0x06FF,
    Arc = 0x0817,
    Pie = 0x081A,
    Chord = 0x0830,
    DibBitBlt = 0x0940,
    ExtTextOut = 0x0A32,
    DibStretchBlt = 0x0B41,
    SetDibToDev = 0x0D33,
    StretchDib = 0x0F43,
};

constexpr qsizetype P = 6; // first parameter

// The box of (left, top, right, bottom) stored as bottom, right, top, left from `at`.
QRectF reversedBox(RecordReader &r, qsizetype at)
{
    return QRectF(QPointF(r.i16(at + 6), r.i16(at + 4)), QPointF(r.i16(at + 2), r.i16(at)));
}

// A point stored as y, x.
QPointF reversedPoint(RecordReader &r, qsizetype at)
{
    return QPointF(r.i16(at + 2), r.i16(at));
}

QPolygonF points(RecordReader &r, qsizetype at, qsizetype count)
{
    if (count <= 0 || !r.has(at, count * 4)) {
        return {};
    }
    QPolygonF result;
    result.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        result << QPointF(r.i16(at + 4 * i), r.i16(at + 4 * i + 2));
    }
    return result;
}

// The bitmap that fills the record from `at`; one that breaks the limits fails the picture.
QImage packedBitmap(Player &player, RecordReader &r, qsizetype at)
{
    if (at >= r.size()) {
        player.fail(QStringLiteral("An embedded bitmap does not fit its record."));
        return {};
    }
    Result<QImage> image = decodePackedDib(r.data() + at, r.size() - at);
    if (!image) {
        player.fail(image.error());
        return {};
    }
    return *std::move(image);
}

void createPen(Player &player, RecordReader &r)
{
    const quint16 style = r.u16(P);
    const qint16 width = r.i16(P + 2);
    PenObject pen;
    pen.style = style & 0xf;
    pen.width = std::abs(width);
    pen.color = colorRef(r.u32(P + 6));
    pen.cosmetic = width <= 1;
    pen.cap = (style & 0x0F00) == 0x0100 ? Qt::SquareCap : (style & 0x0F00) == 0x0200 ? Qt::FlatCap : Qt::RoundCap;
    pen.join = (style & 0xF000) == 0x1000 ? Qt::BevelJoin : (style & 0xF000) == 0x2000 ? Qt::MiterJoin : Qt::RoundJoin;
    player.createObjectInFreeSlot(pen);
}

void createBrush(Player &player, RecordReader &r)
{
    const quint16 style = r.u16(P);
    const QColor colour = colorRef(r.u32(P + 2));
    const quint16 hatch = r.u16(P + 6);
    BrushObject brush{false, QBrush(colour)};
    if (style == 1) { // BS_NULL
        brush = BrushObject{true, QBrush()};
    } else if (style == 2) { // BS_HATCHED
        static const Qt::BrushStyle styles[] = {
            Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        brush.brush = QBrush(colour, hatch < 6 ? styles[hatch] : Qt::DiagCrossPattern);
    }
    player.createObjectInFreeSlot(brush);
}

void createFont(Player &player, RecordReader &r)
{
    FontObject font;
    font.height = r.i16(P);
    font.width = r.i16(P + 2);
    font.escapement = r.i16(P + 4);
    font.weight = r.i16(P + 8);
    font.italic = r.u8(P + 10) != 0;
    font.underline = r.u8(P + 11) != 0;
    font.strikeOut = r.u8(P + 12) != 0;
    font.charset = r.u8(P + 13);
    const qsizetype faceAt = P + 18;
    if (r.has(faceAt, 1)) {
        const qsizetype available = std::min<qsizetype>(32, r.size() - faceAt);
        const char *face = r.data() + faceAt;
        const qsizetype length = std::find(face, face + available, '\0') - face;
        font.face = decodeCharsetText(face, length, font.charset, nullptr);
    }
    player.createObjectInFreeSlot(font);
}

// Text of `length` bytes at `at`, with optional per-byte advances at `dxAt`.
void text(Player &player,
    RecordReader &r,
    QPointF reference,
    qsizetype length,
    qsizetype at,
    qsizetype dxAt,
    quint16 options,
    const std::optional<QRectF> &rect)
{
    if (length <= 0 || !r.has(at, length)) {
        return;
    }
    std::vector<int> starts;
    const QString decoded = decodeCharsetText(r.data() + at, length, player.state().font.charset, &starts);
    std::vector<double> advances;
    if (dxAt > 0 && r.has(dxAt, length * 2) && !decoded.isEmpty()) {
        advances.assign(size_t(decoded.size()), 0.0);
        for (qsizetype i = 0; i < length; ++i) {
            // Every byte's advance goes to the character the byte belongs to.
            const auto it = std::upper_bound(starts.begin(), starts.end(), int(i));
            const size_t index = it == starts.begin() ? 0 : size_t(it - starts.begin() - 1);
            advances[std::min(index, advances.size() - 1)] += r.i16(dxAt + 2 * i);
        }
    }
    player.textOut(reference, decoded, advances, options, rect);
}

void playRecord(Player &player, RecordReader &r, quint16 function)
{
    DcState &s = player.state();
    switch (function) {
    case SaveDc:
        player.saveDc();
        break;
    case RestoreDc:
        player.restoreDc(r.i16(P));
        break;
    case CreatePalette:
    case CreatePatternBrush:
    case CreateRegion:
        // Objects this player does not draw still take their slot, so later indices stay right.
        player.createObjectInFreeSlot(OtherObject());
        break;
    case SetBkMode:
        s.opaqueBk = r.u16(P) == 2;
        break;
    case SetMapMode:
        player.setMapMode(r.u16(P));
        break;
    case SetPolyFillMode:
        s.fillRule = r.u16(P) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
        break;
    case SelectObject:
        player.selectObject(r.u16(P));
        break;
    case DeleteObject:
        player.deleteObject(r.u16(P));
        break;
    case SetTextAlign:
        s.textAlign = r.u16(P);
        break;
    case DibCreatePatternBrush: {
        const QImage pattern = packedBitmap(player, r, P + 4);
        player.createObjectInFreeSlot(BrushObject{false, pattern.isNull() ? QBrush(Qt::gray) : QBrush(pattern)});
        break;
    }
    case SetBkColor:
        s.bkColor = colorRef(r.u32(P));
        break;
    case SetTextColor:
        s.textColor = colorRef(r.u32(P));
        break;
    case SetWindowOrg:
        player.setWindowOrg(reversedPoint(r, P));
        break;
    case SetWindowExt: {
        const QPointF ext = reversedPoint(r, P);
        player.setWindowExt(QSizeF(ext.x(), ext.y()));
        break;
    }
    case SetViewportOrg:
    case SetViewportExt:
        // The viewport is the picture itself: the placeable header fixes where the window goes.
        break;
    case OffsetWindowOrg:
        player.setWindowOrg(s.windowOrg + reversedPoint(r, P));
        break;
    case ScaleWindowExt: {
        const double yDenom = r.i16(P);
        const double yNum = r.i16(P + 2);
        const double xDenom = r.i16(P + 4);
        const double xNum = r.i16(P + 6);
        if (xDenom != 0 && yDenom != 0) {
            player.setWindowExt(QSizeF(s.windowExt.width() * xNum / xDenom, s.windowExt.height() * yNum / yDenom));
        }
        break;
    }
    case LineTo:
        player.lineTo(reversedPoint(r, P));
        break;
    case MoveTo:
        player.moveTo(reversedPoint(r, P));
        break;
    case OffsetClipRgn:
        player.offsetClip(reversedPoint(r, P));
        break;
    case CreatePenIndirect:
        createPen(player, r);
        break;
    case CreateFontIndirect:
        createFont(player, r);
        break;
    case CreateBrushIndirect:
        createBrush(player, r);
        break;
    case Polygon:
    case Polyline: {
        const QPolygonF p = points(r, P + 2, r.i16(P));
        if (function == Polygon) {
            player.polygon(p);
        } else {
            player.polyline(p);
        }
        break;
    }
    case PolyPolygon: {
        const qsizetype figures = r.u16(P);
        const qsizetype countsAt = P + 2;
        if (!r.has(countsAt, figures * 2)) {
            break;
        }
        std::vector<QPolygonF> polygons;
        qsizetype at = countsAt + figures * 2;
        for (qsizetype i = 0; i < figures; ++i) {
            const qsizetype count = r.u16(countsAt + 2 * i);
            if (!r.has(at, count * 4)) {
                return;
            }
            polygons.push_back(points(r, at, count));
            at += count * 4;
        }
        player.polyPolygon(polygons);
        break;
    }
    case ExcludeClipRect:
        player.excludeClipRect(reversedBox(r, P));
        break;
    case IntersectClipRect:
        player.intersectClipRect(reversedBox(r, P));
        break;
    case Ellipse:
        player.ellipse(reversedBox(r, P));
        break;
    case Rectangle:
        player.rectangle(reversedBox(r, P));
        break;
    case RoundRect:
        player.roundRect(reversedBox(r, P + 4), QSizeF(r.i16(P + 2), r.i16(P)));
        break;
    case Arc:
    case Pie:
    case Chord: {
        const QPointF end = reversedPoint(r, P);
        const QPointF start = reversedPoint(r, P + 4);
        const QRectF box = reversedBox(r, P + 8);
        const Player::ArcKind kind = function == Arc ? Player::ArcKind::Arc
            : function == Pie                        ? Player::ArcKind::Pie
                                                     : Player::ArcKind::Chord;
        if (r.ok()) {
            player.arc(kind, box, start, end);
        }
        break;
    }
    case SetPixel:
        player.setPixel(reversedPoint(r, P + 4), colorRef(r.u32(P)));
        break;
    case PatBlt: {
        const quint32 rop = r.u32(P);
        const QRectF dest(QPointF(r.i16(P + 10), r.i16(P + 8)), QSizeF(r.i16(P + 6), r.i16(P + 4)));
        if (r.ok()) {
            player.drawImage(dest, QImage(), QRectF(), rop);
        }
        break;
    }
    case TextOut: {
        const qsizetype length = r.i16(P);
        const qsizetype padded = (length + 1) & ~qsizetype(1);
        const QPointF at = reversedPoint(r, P + 2 + padded);
        if (r.ok()) {
            text(player, r, at, length, P + 2, 0, 0, std::nullopt);
        }
        break;
    }
    case ExtTextOut: {
        const QPointF at = reversedPoint(r, P);
        const qsizetype length = r.i16(P + 4);
        const quint16 options = r.u16(P + 6);
        qsizetype stringAt = P + 8;
        std::optional<QRectF> rect;
        if ((options & 0x6) != 0) {
            rect = QRectF(
                QPointF(r.i16(stringAt), r.i16(stringAt + 2)), QPointF(r.i16(stringAt + 4), r.i16(stringAt + 6)));
            stringAt += 8;
        }
        const qsizetype padded = (length + 1) & ~qsizetype(1);
        const qsizetype dxAt = stringAt + padded;
        if (r.ok()) {
            text(player, r, at, length, stringAt, r.has(dxAt, length * 2) ? dxAt : 0, options, rect);
        }
        break;
    }
    case DibBitBlt:
    case DibStretchBlt: {
        // Without a bitmap the record is three words shorter in its header part: a pattern fill.
        const bool stretch = function == DibStretchBlt;
        const qsizetype fixedWords = stretch ? 10 : 8;
        const bool withBitmap = r.size() / 2 != qsizetype((function >> 8) + 3);
        const quint32 rop = r.u32(P);
        qsizetype at = P + 4;
        if (!withBitmap) {
            at += 2;
        }
        double srcHeight = 0;
        double srcWidth = 0;
        if (stretch) {
            srcHeight = r.i16(at);
            srcWidth = r.i16(at + 2);
            at += 4;
        }
        const double ySrc = r.i16(at);
        const double xSrc = r.i16(at + 2);
        const double height = r.i16(at + 4);
        const double width = r.i16(at + 6);
        const QPointF dest(r.i16(at + 10), r.i16(at + 8));
        if (!stretch) {
            srcHeight = height;
            srcWidth = width;
        }
        if (!r.ok()) {
            break;
        }
        QImage image;
        if (withBitmap) {
            const qsizetype dibAt = P + fixedWords * 2;
            image = packedBitmap(player, r, dibAt);
            if (image.isNull()) {
                break;
            }
        }
        player.drawImage(QRectF(dest, QSizeF(width, height)), image, QRectF(xSrc, ySrc, srcWidth, srcHeight), rop);
        break;
    }
    case StretchDib:
    case SetDibToDev: {
        const bool stretch = function == StretchDib;
        quint32 rop = 0x00CC0020;
        qsizetype at = P;
        if (stretch) {
            rop = r.u32(P);
            at = P + 6; // rop, colour usage
        } else {
            at = P + 6; // colour usage, scan count, start scan
        }
        double srcHeight = r.i16(at);
        double srcWidth = r.i16(at + 2);
        double ySrc = r.i16(at + 4);
        double xSrc = r.i16(at + 6);
        double destHeight = r.i16(at + 8);
        double destWidth = r.i16(at + 10);
        QPointF dest(r.i16(at + 14), r.i16(at + 12));
        qsizetype dibAt = at + 16;
        if (!stretch) {
            // y, x of the bitmap's source; height, width; y, x of the destination.
            ySrc = r.i16(at);
            xSrc = r.i16(at + 2);
            srcHeight = destHeight = r.i16(at + 4);
            srcWidth = destWidth = r.i16(at + 6);
            dest = QPointF(r.i16(at + 10), r.i16(at + 8));
            dibAt = at + 12;
        }
        if (!r.ok()) {
            break;
        }
        const QImage image = packedBitmap(player, r, dibAt);
        if (image.isNull()) {
            break;
        }
        // Source rows count from the bottom of a bottom-up bitmap.
        const bool bottomUp = r.u32(dibAt) == 12 || r.i32(dibAt + 8) > 0;
        if (bottomUp) {
            ySrc = image.height() - ySrc - srcHeight;
        }
        player.drawImage(
            QRectF(dest, QSizeF(destWidth, destHeight)), image, QRectF(xSrc, ySrc, srcWidth, srcHeight), rop);
        break;
    }
    default:
        break;
    }
}

} // namespace

void playWmf(const Document &document, Player &player)
{
    const char *data = document.data.constData();
    for (const quint32 offset : document.records) {
        RecordReader header(data + offset, document.data.size() - offset);
        const qsizetype size = qsizetype(header.u32(0)) * 2;
        const quint16 function = header.u16(4);
        if (function == Eof) {
            break;
        }
        RecordReader record(data + offset, size);
        playRecord(player, record, function);
        if (!player.recordPlayed()) {
            return;
        }
    }
}

} // namespace Metafile
