#pragma once

#include <QRect>

#include <array>

// The frame `shpK_Waku` around the signboard: a left post (0), a right post (1) and a bottom bar
// (2), each a rectangle in twips of the bus window's client area, with a shared shown/hidden
// switch. Painting is left to the bus window.
class SignboardFrame
{
public:
    SignboardFrame();

    QRect shape(int index) const { return m_shapes.at(index); }
    void setShape(int index, const QRect &rect) { m_shapes.at(index) = rect; }
    bool isShapeVisible(int index) const { return m_visible.at(index); }
    void setShapeVisible(int index, bool visible) { m_visible.at(index) = visible; }

private:
    std::array<QRect, 3> m_shapes;
    std::array<bool, 3> m_visible{true, true, true};
};
