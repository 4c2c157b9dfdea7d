#pragma once

#include <QRect>

// The three door leaves drawn over the bus, in twips of the bus window's client area:
// the front door `Image1(2)` and the middle door's left and right leaves `imgNakaorido(0)` and
// `imgNakaorido(1)`. A door opens by narrowing its leaves: the front leaf and the middle door's
// left leaf keep their left edge, the right leaf keeps its right edge.
class DoorLeaves
{
public:
    static constexpr int FrontLeft = 390;
    static constexpr int FrontTop = 660;
    static constexpr int FrontShutWidth = 1080;
    static constexpr int FrontOpenWidth = 70;
    static constexpr int FrontHeight = 2265;

    static constexpr int MiddleTop = 675;
    static constexpr int MiddleHeight = 2295;
    static constexpr int MiddleLeftLeft = 5025;
    static constexpr int MiddleRightEdge = 6705; // right edge of the right leaf
    static constexpr int MiddleShutWidth = 840;
    static constexpr int MiddleOpenWidth = 110;

    QRect frontLeaf() const { return {FrontLeft, FrontTop, m_frontWidth, FrontHeight}; }
    // index 0: left leaf, 1: right leaf
    QRect middleLeaf(int index) const;

    int frontWidth() const { return m_frontWidth; }
    int middleWidth(int index) const { return m_middleWidth[index == 0 ? 0 : 1]; }

    void setFrontWidth(int width) { m_frontWidth = width; }
    void setMiddleWidth(int index, int width) { m_middleWidth[index == 0 ? 0 : 1] = width; }
    void setMiddleRightLeft(int left) { m_middleRightLeft = left; }

private:
    int m_frontWidth = FrontShutWidth;
    int m_middleWidth[2] = {MiddleShutWidth, MiddleShutWidth};
    int m_middleRightLeft = MiddleRightEdge - MiddleShutWidth;
};
