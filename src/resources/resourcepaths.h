#pragma once

#include <QList>
#include <QSize>
#include <QString>

// Where the program's own pictures and sounds live in the Qt resource system. Logical sizes in
// pixels are given beside each: the artwork is vector and drawn at the screen's pixel ratio.
namespace ResourcePaths {

// A table, one path a line: clang-format would spread each over four.
// clang-format off
inline QString bus() { return QStringLiteral(":/images/bus.svg"); }                 // 776 x 216
inline QString frontDoor() { return QStringLiteral(":/images/frontdoor.svg"); }     // 69 x 152
inline QString middleLeft() { return QStringLiteral(":/images/middleleft.svg"); }   // 56 x 152
inline QString middleRight() { return QStringLiteral(":/images/middleright.svg"); } // 56 x 152
inline QString defaultFace() { return QStringLiteral(":/images/defaultface.svg"); } // 52 x 32
inline QString interior() { return QStringLiteral(":/images/interior.svg"); }       // 76 x 142
inline QString interior2() { return QStringLiteral(":/images/interior2.svg"); }     // 76 x 141
inline QString icon() { return QStringLiteral(":/images/icon.svg"); }               // 32 x 32
inline QString toggleFront() { return QStringLiteral(":/images/togglefront.svg"); } // 50 x 20
inline QString toggleMiddle() { return QStringLiteral(":/images/togglemiddle.svg"); } // 50 x 20
inline QString versionIcon() { return QStringLiteral(":/images/versionicon.svg"); } // 32 x 32

// The sizes the bus window's icon is given to the window system at, each built into the program.
inline QList<QSize> iconSizes() { return {QSize(16, 16), QSize(32, 32), QSize(64, 64), QSize(128, 128)}; }

// A door sound as a complete WAVE file: 101 the middle door opening, 102 shutting.
inline QString doorSound(int id) { return QStringLiteral(":/sounds/%1.wav").arg(id); }
// clang-format on

} // namespace ResourcePaths
