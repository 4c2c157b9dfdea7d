#pragma once

#include <QRect>

#include <array>

// The frame `shpK_Waku` around the signboard: a left post (0), a right post (1) and a bottom bar
// (2), each a rectangle in twips of the bus window's client area, each with its own shown/hidden
// state. The frame is placed from the signboard's rectangle but never follows it by itself: the
// bus window calls the placements. Hidden shapes are placed like shown ones. Painting is left to
// the bus window.
class SignboardFrame
{
public:
    static constexpr int ShapeCount = 3;
    static constexpr int PostWidth = 75; // twips, the posts' design width

    SignboardFrame();

    QRect shape(int index) const { return m_shapes.at(index); }
    bool isShapeVisible(int index) const { return m_visible.at(index); }
    void setShapeVisible(int index, bool visible) { m_visible.at(index) = visible; }

    // The full placement around the box `box` (twips): the posts stand just outside the box's
    // left and right edges from its top to 15 twips below its bottom, the bar runs under the box
    // from the left post's outer edge to the right post's. The posts keep their widths and the
    // bar its height.
    void placeAround(const QRect &box);

    // The placement after the box's size changed: every shape moves with the box and the bar
    // takes the box's width, but the posts keep their heights. The full placement that follows
    // every size change the program makes sets them.
    void followResize(const QRect &box);

private:
    std::array<QRect, 3> m_shapes;
    std::array<bool, 3> m_visible{true, true, true};
};
