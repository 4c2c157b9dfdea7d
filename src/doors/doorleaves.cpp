#include "doors/doorleaves.h"

QRect DoorLeaves::middleLeaf(int index) const
{
    if (index == 0) {
        return {MiddleLeftLeft, MiddleTop, m_middleWidth[0], MiddleHeight};
    }
    return {m_middleRightLeft, MiddleTop, m_middleWidth[1], MiddleHeight};
}
