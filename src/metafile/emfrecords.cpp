#include "metafile/emfrecords_p.h"

#include <algorithm>
#include <cstring>

namespace Metafile {

namespace Emf {

QRectF box(RecordReader &r, qsizetype at)
{
    return QRectF(QPointF(r.i32(at), r.i32(at + 4)), QPointF(r.i32(at + 8), r.i32(at + 12)));
}

QPointF point(RecordReader &r, qsizetype at)
{
    return QPointF(r.i32(at), r.i32(at + 4));
}

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
    Result<QImage> image = decodeDib(r.data() + offBmi, cbBmi, r.data() + offBits, cbBits);
    if (!image) {
        player.fail(image.error());
        return {};
    }
    return *std::move(image);
}

} // namespace Emf

using namespace Emf;

namespace {

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

// Plays a record that draws (shapes, paths, bitmaps, text).
void playDrawingRecord(Player &player, RecordReader &r, quint32 type)
{
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
    case SetPixelV:
        player.setPixel(point(r, 8), colorRef(r.u32(16)));
        break;
    case MoveToEx:
        player.moveTo(point(r, 8));
        break;
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
    case AbortPath:
        player.abortPath();
        break;
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
        if (!playStateRecord(player, record, type)) {
            playDrawingRecord(player, record, type);
        }
        if (!player.recordPlayed()) {
            return;
        }
    }
}

} // namespace Metafile
