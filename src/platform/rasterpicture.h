#pragma once

#include "picture.h"

// A picture that draws `source` through a raster copy made at the painter's device pixel ratio,
// at the source's own logical size, and redrawn only when that ratio changes. Drawn unscaled it
// gives the same pixels as the source; drawn stretched the copy is scaled smoothly. Meant for
// vector artwork that is painted many times a second (the door leaves and the bus behind them
// repaint after every 1-twip step of a door), where rendering the vectors each time would cost
// more than the pause between steps.
Picture rasterPicture(const Picture &source);
