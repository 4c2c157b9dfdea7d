#include "metafile/emfrecords_p.h"

namespace Metafile::Emf {

namespace {

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

} // namespace

bool playStateRecord(Player &player, RecordReader &r, quint32 type)
{
    DcState &s = player.state();
    switch (type) {
    case SetWindowExtEx:
        player.setWindowExt(QSizeF(r.i32(8), r.i32(12)));
        return true;
    case SetWindowOrgEx:
        player.setWindowOrg(point(r, 8));
        return true;
    case SetViewportExtEx:
        player.setViewportExt(QSizeF(r.i32(8), r.i32(12)));
        return true;
    case SetViewportOrgEx:
        player.setViewportOrg(point(r, 8));
        return true;
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
        return true;
    }
    case SetMapMode:
        player.setMapMode(int(r.u32(8)));
        return true;
    case SetBkMode:
        s.opaqueBk = r.u32(8) == 2;
        return true;
    case SetPolyFillMode:
        s.fillRule = r.u32(8) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
        return true;
    case SetTextAlign:
        s.textAlign = r.u32(8);
        return true;
    case SetTextColor:
        s.textColor = colorRef(r.u32(8));
        return true;
    case SetBkColor:
        s.bkColor = colorRef(r.u32(8));
        return true;
    case OffsetClipRgn:
        player.offsetClip(point(r, 8));
        return true;
    case ExcludeClipRect:
        player.excludeClipRect(box(r, 8));
        return true;
    case IntersectClipRect:
        player.intersectClipRect(box(r, 8));
        return true;
    case SaveDc:
        player.saveDc();
        return true;
    case RestoreDc:
        player.restoreDc(r.i32(8));
        return true;
    case SetWorldTransform:
        player.setWorldTransform(xform(r, 8));
        return true;
    case ModifyWorldTransform:
        player.modifyWorldTransform(xform(r, 8), int(r.u32(32)));
        return true;
    case SelectObject:
        player.selectObject(r.u32(8));
        return true;
    case DeleteObject:
        player.deleteObject(r.u32(8));
        return true;
    case CreatePen:
        player.createObject(r.u32(8), penFromStyle(r.u32(12), r.i32(16), r.u32(24)));
        return true;
    case ExtCreatePen: {
        PenObject pen = penFromStyle(r.u32(28), r.u32(32), r.u32(40));
        if (r.u32(36) == 1) { // BS_NULL brush: no line at all
            pen.style = 5;
        }
        player.createObject(r.u32(8), pen);
        return true;
    }
    case CreateBrushIndirect:
        player.createObject(r.u32(8), brushFromLog(r.u32(12), r.u32(16), r.u32(20)));
        return true;
    case CreateMonoBrush:
    case CreateDibPatternBrushPt: {
        const QImage pattern = recordBitmap(player, r, 16);
        if (pattern.isNull()) {
            player.createObject(r.u32(8), BrushObject{false, QBrush(Qt::gray)});
        } else {
            player.createObject(r.u32(8), BrushObject{false, QBrush(pattern)});
        }
        return true;
    }
    case CreatePalette:
        player.createObject(r.u32(8), OtherObject());
        return true;
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
        return true;
    }
    case SetArcDirection:
        s.clockwise = r.u32(8) == 2;
        return true;
    case SelectClipPath:
        player.selectClipPath(int(r.u32(8)));
        return true;
    case ExtSelectClipRgn: {
        const quint32 dataSize = r.u32(8);
        const int mode = int(r.u32(12));
        if (dataSize == 0 || !r.has(16, dataSize)) {
            if (mode == 5) {
                player.resetClip();
            }
            return true;
        }
        // RGNDATA: a 32-byte header, then device rectangles.
        const quint32 count = r.u32(16 + 8);
        if (!r.has(16 + 32, qsizetype(count) * 16) || qsizetype(count) * 16 + 32 > qsizetype(dataSize)) {
            return true;
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
        return true;
    }
    default:
        return false;
    }
}

} // namespace Metafile::Emf
