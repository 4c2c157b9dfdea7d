#pragma once

#include "picture/picture.h"

class QString;

// A picture that draws `source` through a raster copy made at the painter's device pixel ratio,
// at the source's own logical size, and redrawn only when that ratio changes. Drawn unscaled it
// gives the same pixels as the source; drawn stretched the copy is scaled smoothly. Meant for
// vector artwork that is painted many times a second (the door leaves and the bus behind them
// repaint after every 1-twip step of a door), where rendering the vectors each time would cost
// more than the pause between steps.
Picture rasterPicture(const Picture &source);

// The same for the SVG drawing at `path` (see svgPicture(); a drawing that cannot be read draws
// nothing), with the first raster copy started at
// once on a worker thread at the primary screen's pixel ratio, so that it is ready, or nearly, by
// the time the picture is first painted; the first paint waits for it if it is not. Pictures are
// taken up in the order asked for, two at a time. Drawn at another ratio, the picture renders the
// SVG anew on the painting thread. Needs a QGuiApplication.
Picture prerenderedSvgPicture(const QString &path, QSize logicalSize);
