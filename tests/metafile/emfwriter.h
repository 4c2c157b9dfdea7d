#pragma once

#include "support/littleendian.h"

#include <QByteArray>
#include <QSize>

#include <initializer_list>

// Writes small EMF pictures record by record for tests: a header for a picture of the given size
// at 96 dots per inch, then whatever records the test appends, then the end record.
class EmfWriter
{
public:
    explicit EmfWriter(QSize size)
    {
        const int w = size.width(), h = size.height();
        // Type, header size, bounds in pixels, frame in hundredths of a millimetre.
        m_data = le32({1, 88, 0, 0, w - 1, h - 1, 0, 0, w * 2540 / 96, h * 2540 / 96});
        // Signature, version, bytes (fixed in finish()), records, 16 handles, no description, no
        // palette, and a reference device at exactly 96 dots per inch: 960 pixels in 254 millimetres.
        m_data += le32({0x464D4520, 0x10000, 0, 0, 16, 0, 0, 0, 960, 960, 254, 254});
    }

    // A record of `type` with 32-bit parameters.
    EmfWriter &record(quint32 type, std::initializer_list<qint32> params)
    {
        m_data += le32({qint32(type), qint32(8 + 4 * params.size())}) + le32(params);
        return *this;
    }

    // A record of `type` with raw parameter bytes (padded to four bytes).
    EmfWriter &raw(quint32 type, QByteArray params)
    {
        while (params.size() % 4 != 0) {
            params.append('\0');
        }
        m_data += le32({qint32(type), qint32(8 + params.size())}) + params;
        return *this;
    }

    QByteArray finish()
    {
        record(14, {0, 16, 20});
        return patched(m_data, 48, qint32(m_data.size())); // the bytes in all
    }

private:
    QByteArray m_data;
};

// EMF record types the tests write.
namespace Emr {
constexpr quint32 SetWindowExtEx = 9;
constexpr quint32 SetViewportExtEx = 11;
constexpr quint32 SetViewportOrgEx = 12;
constexpr quint32 SetMapMode = 17;
constexpr quint32 SetPolyFillMode = 19;
constexpr quint32 SetBkMode = 18;
constexpr quint32 SetTextAlign = 22;
constexpr quint32 SetTextColor = 24;
constexpr quint32 SetBkColor = 25;
constexpr quint32 ExcludeClipRect = 29;
constexpr quint32 IntersectClipRect = 30;
constexpr quint32 SaveDc = 33;
constexpr quint32 RestoreDc = 34;
constexpr quint32 SetWorldTransform = 35;
constexpr quint32 SelectObject = 37;
constexpr quint32 CreatePen = 38;
constexpr quint32 CreateBrush = 39;
constexpr quint32 Ellipse = 42;
constexpr quint32 Rectangle = 43;
constexpr quint32 Arc = 45;
constexpr quint32 Chord = 46;
constexpr quint32 Pie = 47;
constexpr quint32 MoveTo = 27;
constexpr quint32 LineTo = 54;
constexpr quint32 SetArcDirection = 57;
constexpr quint32 BeginPath = 59;
constexpr quint32 EndPath = 60;
constexpr quint32 CloseFigure = 61;
constexpr quint32 FillPath = 62;
constexpr quint32 SelectClipPath = 67;
constexpr quint32 StretchDiBits = 81;
constexpr quint32 ExtCreateFontIndirectW = 82;
constexpr quint32 ExtTextOutW = 84;
constexpr quint32 PolyBezier16 = 85;
constexpr quint32 NullPen = 0x80000008;
constexpr quint32 WhiteBrush = 0x80000000;
} // namespace Emr
