#pragma once

#include <QIcon>
#include <QList>
#include <QSize>

class QString;

// An icon drawn from the SVG drawing at `path` (a square one, such as a window icon). At the
// `sizes` given, the sizes the window system takes it at, it is the copies built into the program
// beside the drawing (see rasterCopyFile()), so that giving the icon to a window renders nothing;
// at any other size or pixel ratio it is rendered from the drawing, crisp. The same in every mode
// and state.
QIcon artworkIcon(const QString &path, const QList<QSize> &sizes);
