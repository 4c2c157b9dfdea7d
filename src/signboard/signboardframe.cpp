#include "signboard/signboardframe.h"

namespace {

// Twips the posts reach below the box, and the bar's overhang on both sides together.
constexpr int PostOverhang = 15;
constexpr int BarOverhang = 150;

} // namespace

SignboardFrame::SignboardFrame()
    : m_shapes{QRect(3375, 1995, 75, 495), QRect(4860, 1995, 75, 495), QRect(3375, 2460, 1560, 60)}
{
}

// QRect::right() and bottom() are one less than left + width; the twip edges are computed from
// x, y, width and height throughout.
void SignboardFrame::placeAround(const QRect &box)
{
    m_shapes[0] = QRect(box.x() - PostWidth, box.y(), m_shapes[0].width(), box.height() + PostOverhang);
    m_shapes[1] = QRect(box.x() + box.width(), box.y(), m_shapes[1].width(), box.height() + PostOverhang);
    m_shapes[2] = QRect(box.x() - PostWidth, box.y() + box.height(), box.width() + BarOverhang, m_shapes[2].height());
}

void SignboardFrame::followResize(const QRect &box)
{
    m_shapes[0].moveTopLeft(QPoint(box.x() - PostWidth, box.y()));
    m_shapes[1].moveTopLeft(QPoint(box.x() + box.width(), box.y()));
    m_shapes[2] = QRect(box.x() - PostWidth, box.y() + box.height(), box.width() + BarOverhang, m_shapes[2].height());
}
