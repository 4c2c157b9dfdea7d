#pragma once

#include <QtGlobal>

class QWidget;

// Moves a top-level `window` to its stored place (twips of its outer corner), or, where that place
// would leave it wholly outside every screen (a monitor since unplugged, a hand-edited line), onto
// the nearest screen. The window's outer size is known only once it is on the screen (its client
// size stands for it until then), so a window brought onto a screen is fitted wholly inside it
// again as it is first painted. A place that leaves any part of it on a screen is kept as stored.
void placeStoredWindow(QWidget *window, qint32 leftTwips, qint32 topTwips);
