#pragma once

#include "metafile/metafileplayer_p.h"

// The parts of the EMF player that its two record files share: the record types, the readers of
// common parameters, and the records that set state (mapping, attributes, objects, clipping).
namespace Metafile::Emf {

// Record types this player handles; everything else is skipped.
enum Record : quint32 {
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
    Eof = EmfEndRecord,
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

// A RECTL and a POINTL at `at`.
QRectF box(RecordReader &r, qsizetype at);
QPointF point(RecordReader &r, qsizetype at);

// The bitmap of a record whose offsets and sizes (offBmi, cbBmi, offBits, cbBits) start at
// `offsetsAt`: the info at offBmi and the bits at offBits. None for a record without a bitmap; a
// bitmap that breaks the limits fails the picture.
QImage recordBitmap(Player &player, RecordReader &r, qsizetype offsetsAt);

// Plays a record that sets state rather than drawing; false if `type` is not one of them.
bool playStateRecord(Player &player, RecordReader &r, quint32 type);

} // namespace Metafile::Emf
