#pragma once

#include <QByteArray>

// The window-system platform the program asks Qt for. On a Wayland desktop a Wayland client can
// neither place its windows nor keep one above the others, so the saved window places and the
// always-on-top settings panel would silently stop working; there the program asks for X11
// (XWayland) and takes Wayland only where X11 cannot be had. A platform the user has chosen
// (QT_QPA_PLATFORM) is kept.
//
// Returns the value for QT_QPA_PLATFORM, or an empty value to leave Qt's own choice, from the
// values of WAYLAND_DISPLAY and QT_QPA_PLATFORM (empty when unset, as Qt reads them).
QByteArray platformFor(const QByteArray &waylandDisplay, const QByteArray &qpaPlatform);

// Applies platformFor() to this process's environment; call before the application object is made.
void choosePlatform();
