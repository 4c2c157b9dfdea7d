#include "metafileplayer.h"

namespace Metafile {

namespace {

// EMF record types this player handles; everything else is skipped.
enum EmfRecord : quint32 {
    PolyBezier = 2,
    Polygon = 3,
    Polyline = 4,
    PolyBezierTo = 5,
    PolylineTo = 6,
    PolyPolyline = 7,
    PolyPolygon = 8,
    SetWindowExtEx = 9,
    SetWindowOrgEx = 10,
    SetViewportExtEx = 11,
    SetViewportOrgEx = 12,
    Eof = 14,
    SetPixelV = 15,
    SetMapMode = 17,
    SetBkMode = 18,
    SetPolyFillMode = 19,
    SetTextAlign = 22,
    SetTextColor = 24,
    SetBkColor = 25,
    OffsetClipRgn = 26,
    MoveToEx = 27,
    ExcludeClipRect = 29,
    IntersectClipRect = 30,
    ScaleViewportExtEx = 31,
    ScaleWindowExtEx = 32,
    SaveDc = 33,
    RestoreDc = 34,
    SetWorldTransform = 35,
    ModifyWorldTransform = 36,
    SelectObject = 37,
    CreatePen = 38,
    CreateBrushIndirect = 39,
    DeleteObject = 40,
    AngleArc = 41,
    Ellipse = 42,
    Rectangle = 43,
    RoundRect = 44,
    Arc = 45,
    Chord = 46,
    Pie = 47,
    CreatePalette = 49,
    LineTo = 54,
    ArcTo = 55,
    PolyDraw = 56,
    SetArcDirection = 57,
    BeginPath = 59,
    EndPath = 60,
    CloseFigure = 61,
    FillPath = 62,
    StrokeAndFillPath = 63,
    StrokePath = 64,
    SelectClipPath = 67,
    AbortPath = 68,
    ExtSelectClipRgn = 75,
    BitBlt = 76,
    StretchBlt = 77,
    SetDiBitsToDevice = 80,
    StretchDiBits = 81,
    ExtCreateFontIndirectW = 82,
    ExtTextOutA = 83,
    ExtTextOutW = 84,
    PolyBezier16 = 85,
    Polygon16 = 86,
    Polyline16 = 87,
    PolyBezierTo16 = 88,
    PolylineTo16 = 89,
    PolyPolyline16 = 90,
    PolyPolygon16 = 91,
    PolyDraw16 = 92,
    CreateMonoBrush = 93,
    CreateDibPatternBrushPt = 94,
    ExtCreatePen = 95,
    AlphaBlend = 114,
};

QRectF box(RecordReader &r, qsizetype at)
{
    return QRectF(QPointF(r.i32(at), r.i32(at + 4)), QPointF(r.i32(at + 8), r.i32(at + 12)));
}

QPointF point(RecordReader &r, qsizetype at)
{
    return QPointF(r.i32(at), r.i32(at + 4));
}

// `count` points from `at`, 32-bit or 16-bit; empty if they do not fit the record.
QPolygonF points(RecordReader &r, qsizetype at, quint32 count, bool small)
{
    const qsizetype each = small ? 4 : 8;
    if (!r.has(at, qsizetype(count) * each)) {
        return {};
    }
    QPolygonF result;
    result.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        const qsizetype p = at + qsizetype(i) * each;
        result << (small ? QPointF(r.i16(p), r.i16(p + 2)) : QPointF(r.i32(p), r.i32(p + 4)));
    }
    return result;
}

// A poly-poly record: the bounds, the number of figures, the total of points, the counts and the
// points. Empty if the counts do not add up or do not fit.
std::vector<QPolygonF> polyPoints(RecordReader &r, bool small)
{
    const quint32 figures = r.u32(24);
    const quint32 total = r.u32(28);
    const qsizetype countsAt = 32;
    if (!r.has(countsAt, qsizetype(figures) * 4)) {
        return {};
    }
    const qsizetype pointsAt = countsAt + qsizetype(figures) * 4;
    if (!r.has(pointsAt, qsizetype(total) * (small ? 4 : 8))) {
        return {};
    }
    std::vector<QPolygonF> result;
    result.reserve(figures);
    quint64 used = 0;
    qsizetype at = pointsAt;
    for (quint32 i = 0; i < figures; ++i) {
        const quint32 count = r.u32(countsAt + qsizetype(i) * 4);
        used += count;
        if (used > total) {
            return {};
        }
        result.push_back(points(r, at, count, small));
        at += qsizetype(count) * (small ? 4 : 8);
    }
    return result;
}

QTransform xform(RecordReader &r, qsizetype at)
{
    return QTransform(r.f32(at), r.f32(at + 4), r.f32(at + 8), r.f32(at + 12), r.f32(at + 16), r.f32(at + 20));
}

PenObject penFromStyle(quint32 style, double width, quint32 colour)
{
    PenObject pen;
    pen.style = int(style & 0xf);
    pen.width = width;
    pen.color = colorRef(colour);
    pen.cosmetic = (style & 0x000F0000) == 0 && width <= 1;
    switch (style & 0x0F00) {
    case 0x0100:
        pen.cap = Qt::SquareCap;
        break;
    case 0x0200:
        pen.cap = Qt::FlatCap;
        break;
    default:
        pen.cap = Qt::RoundCap;
        break;
    }
    switch (style & 0xF000) {
    case 0x1000:
        pen.join = Qt::BevelJoin;
        break;
    case 0x2000:
        pen.join = Qt::MiterJoin;
        break;
    default:
        pen.join = Qt::RoundJoin;
        break;
    }
    return pen;
}

BrushObject brushFromLog(quint32 style, quint32 colour, quint32 hatch)
{
    switch (style) {
    case 0: // BS_SOLID
        return {false, QBrush(colorRef(colour))};
    case 2: { // BS_HATCHED
        static const Qt::BrushStyle styles[] = {
            Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        return {false, QBrush(colorRef(colour), hatch < 6 ? styles[hatch] : Qt::DiagCrossPattern)};
    }
    case 1: // BS_NULL
        return {true, QBrush()};
    default:
        return {false, QBrush(colorRef(colour))};
    }
}

// The bitmap of a record: the info at offBmi (cbBmi bytes) and the bits at offBits (cbBits).
// A bitmap that breaks the limits fails the picture.
QImage recordBitmap(Player &player, RecordReader &r, qsizetype offsetsAt)
{
    const quint32 offBmi = r.u32(offsetsAt);
    const quint32 cbBmi = r.u32(offsetsAt + 4);
    const quint32 offBits = r.u32(offsetsAt + 8);
    const quint32 cbBits = r.u32(offsetsAt + 12);
    if (!r.ok() || (cbBmi == 0 && cbBits == 0)) {
        return {}; // no bitmap: a pattern or constant fill
    }
    if (cbBmi == 0 || cbBits == 0 || !r.has(offBmi, cbBmi) || !r.has(offBits, cbBits)) {
        player.fail(QStringLiteral("An embedded bitmap does not fit its record."));
        return {};
    }
    QString refusal;
    QImage image = decodeDib(r.data() + offBmi, cbBmi, r.data() + offBits, cbBits, &refusal);
    if (!refusal.isEmpty()) {
        player.fail(refusal);
    }
    return image;
}

// Source rectangles of StretchDIBits count rows from the bottom of a bottom-up bitmap.
QRectF dibSource(RecordReader &r, qsizetype bmiOffsetAt, const QImage &image, double x, double y, double w, double h)
{
    const quint32 offBmi = r.u32(bmiOffsetAt);
    const qint32 height = r.u32(offBmi) == 12 ? 1 : r.i32(offBmi + 8);
    if (height > 0) {
        y = image.height() - y - h;
    }
    return QRectF(x, y, w, h);
}

void textOut(Player &player, RecordReader &r, bool wide)
{
    const QPointF reference = point(r, 36);
    const quint32 chars = r.u32(44);
    const quint32 offString = r.u32(48);
    const quint32 options = r.u32(52);
    const QRectF rect = box(r, 56);
    const quint32 offDx = r.u32(72);
    if (!r.ok() || chars == 0 || !r.has(offString, qsizetype(chars) * (wide ? 2 : 1))) {
        return;
    }
    QString text;
    std::vector<int> starts;
    if (wide) {
        const quint32 drawn = std::min<quint32>(chars, MaxTextLength);
        text.resize(drawn);
        std::memcpy(text.data(), r.data() + offString, size_t(drawn) * 2);
    } else {
        text = decodeCharsetText(r.data() + offString, chars, player.state().font.charset, &starts);
    }
    std::vector<double> advances;
    // ETO_PDY (0x2000): the advances come in pairs, x then y.
    const int step = (options & 0x2000) != 0 ? 2 : 1;
    if (offDx != 0 && r.has(offDx, qsizetype(chars) * 4 * step)) {
        std::vector<double> perUnit(chars);
        for (quint32 i = 0; i < chars; ++i) {
            perUnit[i] = r.i32(offDx + qsizetype(i) * 4 * step);
        }
        if (wide) {
            perUnit.resize(size_t(text.size()));
            advances = std::move(perUnit);
        } else {
            advances.assign(size_t(text.size()), 0.0);
            const quint32 decodedBytes = std::min<quint32>(chars, 2 * MaxTextLength);
            for (quint32 i = 0; i < decodedBytes && !starts.empty(); ++i) {
                // Every byte's advance goes to the character the byte belongs to.
                const auto it = std::upper_bound(starts.begin(), starts.end(), int(i));
                const size_t index = it == starts.begin() ? 0 : size_t(it - starts.begin() - 1);
                advances[std::min(index, advances.size() - 1)] += perUnit[i];
            }
        }
    }
    const bool hasRect = (options & 0x6) != 0 && rect.isValid();
    player.textOut(reference, text, advances, options, hasRect ? std::optional<QRectF>(rect) : std::nullopt);
}

void playRecord(Player &player, RecordReader &r, quint32 type)
{
    DcState &s = player.state();
    switch (type) {
    case PolyBezier:
    case Polygon:
    case Polyline:
    case PolyBezierTo:
    case PolylineTo:
    case PolyBezier16:
    case Polygon16:
    case Polyline16:
    case PolyBezierTo16:
    case PolylineTo16: {
        const bool small = type >= PolyBezier16;
        const QPolygonF p = points(r, 28, r.u32(24), small);
        switch (small ? type - PolyBezier16 + PolyBezier : type) {
        case PolyBezier:
            player.polyBezier(p);
            break;
        case Polygon:
            player.polygon(p);
            break;
        case Polyline:
            player.polyline(p);
            break;
        case PolyBezierTo:
            player.polyBezierTo(p);
            break;
        default:
            player.polylineTo(p);
            break;
        }
        break;
    }
    case PolyPolyline:
    case PolyPolygon:
    case PolyPolyline16:
    case PolyPolygon16: {
        const bool small = type >= PolyPolyline16;
        const std::vector<QPolygonF> figures = polyPoints(r, small);
        if (type == PolyPolygon || type == PolyPolygon16) {
            player.polyPolygon(figures);
        } else {
            player.polyPolyline(figures);
        }
        break;
    }
    case PolyDraw:
    case PolyDraw16: {
        const bool small = type == PolyDraw16;
        const quint32 count = r.u32(24);
        const QPolygonF p = points(r, 28, count, small);
        const qsizetype typesAt = 28 + qsizetype(count) * (small ? 4 : 8);
        if (!p.isEmpty() && r.has(typesAt, count)) {
            player.polyDraw(p, QByteArray(r.data() + typesAt, count));
        }
        break;
    }
    case SetWindowExtEx:
        player.setWindowExt(QSizeF(r.i32(8), r.i32(12)));
        break;
    case SetWindowOrgEx:
        player.setWindowOrg(point(r, 8));
        break;
    case SetViewportExtEx:
        player.setViewportExt(QSizeF(r.i32(8), r.i32(12)));
        break;
    case SetViewportOrgEx:
        player.setViewportOrg(point(r, 8));
        break;
    case ScaleViewportExtEx:
    case ScaleWindowExtEx: {
        const double xNum = r.i32(8);
        const double xDenom = r.i32(12);
        const double yNum = r.i32(16);
        const double yDenom = r.i32(20);
        if (xDenom != 0 && yDenom != 0) {
            if (type == ScaleWindowExtEx) {
                player.setWindowExt(QSizeF(s.windowExt.width() * xNum / xDenom, s.windowExt.height() * yNum / yDenom));
            } else {
                player.setViewportExt(
                    QSizeF(s.viewportExt.width() * xNum / xDenom, s.viewportExt.height() * yNum / yDenom));
            }
        }
        break;
    }
    case SetPixelV:
        player.setPixel(point(r, 8), colorRef(r.u32(16)));
        break;
    case SetMapMode:
        player.setMapMode(int(r.u32(8)));
        break;
    case SetBkMode:
        s.opaqueBk = r.u32(8) == 2;
        break;
    case SetPolyFillMode:
        s.fillRule = r.u32(8) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
        break;
    case SetTextAlign:
        s.textAlign = r.u32(8);
        break;
    case SetTextColor:
        s.textColor = colorRef(r.u32(8));
        break;
    case SetBkColor:
        s.bkColor = colorRef(r.u32(8));
        break;
    case OffsetClipRgn:
        player.offsetClip(point(r, 8));
        break;
    case MoveToEx:
        player.moveTo(point(r, 8));
        break;
    case ExcludeClipRect:
        player.excludeClipRect(box(r, 8));
        break;
    case IntersectClipRect:
        player.intersectClipRect(box(r, 8));
        break;
    case SaveDc:
        player.saveDc();
        break;
    case RestoreDc:
        player.restoreDc(r.i32(8));
        break;
    case SetWorldTransform:
        player.setWorldTransform(xform(r, 8));
        break;
    case ModifyWorldTransform:
        player.modifyWorldTransform(xform(r, 8), int(r.u32(32)));
        break;
    case SelectObject:
        player.selectObject(r.u32(8));
        break;
    case DeleteObject:
        player.deleteObject(r.u32(8));
        break;
    case CreatePen:
        player.createObject(r.u32(8), penFromStyle(r.u32(12), r.i32(16), r.u32(24)));
        break;
    case ExtCreatePen: {
        PenObject pen = penFromStyle(r.u32(28), r.u32(32), r.u32(40));
        if (r.u32(36) == 1) { // BS_NULL brush: no line at all
            pen.style = 5;
        }
        player.createObject(r.u32(8), pen);
        break;
    }
    case CreateBrushIndirect:
        player.createObject(r.u32(8), brushFromLog(r.u32(12), r.u32(16), r.u32(20)));
        break;
    case CreateMonoBrush:
    case CreateDibPatternBrushPt: {
        const QImage pattern = recordBitmap(player, r, 16);
        if (pattern.isNull()) {
            player.createObject(r.u32(8), BrushObject{false, QBrush(Qt::gray)});
        } else {
            player.createObject(r.u32(8), BrushObject{false, QBrush(pattern)});
        }
        break;
    }
    case CreatePalette:
        player.createObject(r.u32(8), OtherObject());
        break;
    case ExtCreateFontIndirectW: {
        FontObject font;
        font.height = r.i32(12);
        font.width = r.i32(16);
        font.escapement = r.i32(20);
        font.weight = r.i32(28);
        font.italic = r.u8(32) != 0;
        font.underline = r.u8(33) != 0;
        font.strikeOut = r.u8(34) != 0;
        font.charset = r.u8(35);
        if (r.has(40, 64)) {
            const auto *face = reinterpret_cast<const char16_t *>(r.data() + 40);
            QString name = QString::fromUtf16(face, 32);
            font.face = name.left(name.indexOf(QChar(0)) < 0 ? 32 : name.indexOf(QChar(0)));
        }
        player.createObject(r.u32(8), font);
        break;
    }
    case AngleArc:
        player.angleArc(point(r, 8), r.u32(16), r.f32(20), r.f32(24));
        break;
    case Ellipse:
        player.ellipse(box(r, 8));
        break;
    case Rectangle:
        player.rectangle(box(r, 8));
        break;
    case RoundRect:
        player.roundRect(box(r, 8), QSizeF(r.i32(24), r.i32(28)));
        break;
    case Arc:
    case Chord:
    case Pie:
    case ArcTo: {
        const Player::ArcKind kinds[] = {
            Player::ArcKind::Arc, Player::ArcKind::Chord, Player::ArcKind::Pie, Player::ArcKind::ArcTo};
        const int index = type == ArcTo ? 3 : int(type - Arc);
        player.arc(kinds[index], box(r, 8), point(r, 24), point(r, 32));
        break;
    }
    case LineTo:
        player.lineTo(point(r, 8));
        break;
    case SetArcDirection:
        s.clockwise = r.u32(8) == 2;
        break;
    case BeginPath:
        player.beginPath();
        break;
    case EndPath:
        player.endPath();
        break;
    case CloseFigure:
        player.closeFigure();
        break;
    case FillPath:
        player.fillPath();
        break;
    case StrokeAndFillPath:
        player.strokeAndFillPath();
        break;
    case StrokePath:
        player.strokePath();
        break;
    case SelectClipPath:
        player.selectClipPath(int(r.u32(8)));
        break;
    case AbortPath:
        player.abortPath();
        break;
    case ExtSelectClipRgn: {
        const quint32 dataSize = r.u32(8);
        const int mode = int(r.u32(12));
        if (dataSize == 0 || !r.has(16, dataSize)) {
            if (mode == 5) {
                player.resetClip();
            }
            break;
        }
        // RGNDATA: a 32-byte header, then device rectangles.
        const quint32 count = r.u32(16 + 8);
        if (!r.has(16 + 32, qsizetype(count) * 16) || qsizetype(count) * 16 + 32 > qsizetype(dataSize)) {
            break;
        }
        // Regions of many rectangles are clipped to their bounds: combining them with the
        // current clip one by one would take longer than the picture is worth.
        constexpr quint32 MaxRegionRects = 256;
        QPainterPath region;
        region.setFillRule(Qt::WindingFill);
        if (count > MaxRegionRects) {
            region.addRect(box(r, 16 + 16).normalized());
        } else {
            for (quint32 i = 0; i < count; ++i) {
                region.addRect(box(r, 16 + 32 + qsizetype(i) * 16).normalized());
            }
        }
        player.selectClipRegion(region, mode);
        break;
    }
    case BitBlt:
    case StretchBlt:
    case AlphaBlend: {
        const QRectF dest(r.i32(24), r.i32(28), r.i32(32), r.i32(36));
        const quint32 rop = r.u32(40);
        const double xSrc = r.i32(44);
        const double ySrc = r.i32(48);
        const QImage image = recordBitmap(player, r, 84);
        double cxSrc = dest.width();
        double cySrc = dest.height();
        if (type != BitBlt) {
            cxSrc = r.i32(100);
            cySrc = r.i32(104);
        }
        if (r.ok()) {
            player.drawImage(dest, image, QRectF(xSrc, ySrc, cxSrc, cySrc), type == AlphaBlend ? 0x00CC0020 : rop);
        }
        break;
    }
    case StretchDiBits: {
        const QPointF destAt = point(r, 24);
        const double xSrc = r.i32(32);
        const double ySrc = r.i32(36);
        const double cxSrc = r.i32(40);
        const double cySrc = r.i32(44);
        const quint32 rop = r.u32(68);
        const double cxDest = r.i32(72);
        const double cyDest = r.i32(76);
        const QImage image = recordBitmap(player, r, 48);
        if (r.ok() && !image.isNull()) {
            player.drawImage(
                QRectF(destAt, QSizeF(cxDest, cyDest)), image, dibSource(r, 48, image, xSrc, ySrc, cxSrc, cySrc), rop);
        }
        break;
    }
    case SetDiBitsToDevice: {
        const QPointF destAt = point(r, 24);
        const double xSrc = r.i32(32);
        const double ySrc = r.i32(36);
        const double cxSrc = r.i32(40);
        const double cySrc = r.i32(44);
        const QImage image = recordBitmap(player, r, 48);
        if (r.ok() && !image.isNull()) {
            player.drawImage(QRectF(destAt, QSizeF(cxSrc, cySrc)),
                image,
                dibSource(r, 48, image, xSrc, ySrc, cxSrc, cySrc),
                0x00CC0020);
        }
        break;
    }
    case ExtTextOutA:
    case ExtTextOutW:
        textOut(player, r, type == ExtTextOutW);
        break;
    default:
        break;
    }
}

} // namespace

void playEmf(const Document &document, Player &player)
{
    const char *data = document.data.constData();
    for (const quint32 offset : document.records) {
        RecordReader header(data + offset, document.data.size() - offset);
        const quint32 type = header.u32(0);
        const quint32 size = header.u32(4);
        if (type == Eof) {
            break;
        }
        RecordReader record(data + offset, size);
        playRecord(player, record, type);
        if (!player.recordPlayed()) {
            return;
        }
    }
}

} // namespace Metafile
