#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

// Where a window goes when its stored place is applied on the screens there are now. A place
// written on another set of screens (a monitor since unplugged, a docked laptop's screen) or by
// hand can leave the window where no screen shows it; the window is then brought onto the nearest
// screen, as desktop programs that restore their window places do. Pure geometry, in pixels: the
// caller gives the window's outer (frame) rectangle and the screens' available areas.
namespace WindowPlacement {

// The top-left corner of `frame` where the window goes: unchanged when any pixel of `frame` lies
// on any of `screens`' available areas (or when there are none); otherwise moved onto the nearest
// screen, by the distance between `frame` and the screen's area, the earlier screen on a tie:
// wholly inside it where the frame fits, and where it does not, with its left or top edge on
// the screen's. Any int coordinates, the ends of the range included.
QPoint onScreen(const QRect &frame, const QList<QRect> &screens);

// The top-left corner of `frame` moved wholly inside the nearest of `screens` as above, also when
// it lies partly on one: for a window brought onto a screen whose outer size is known only later.
QPoint inside(const QRect &frame, const QList<QRect> &screens);

} // namespace WindowPlacement
