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
// nothing), with the first raster copy ready by the time the picture is first painted. At a screen
// pixel ratio of 1 it is the copy built into the program beside the drawing, where there is one of
// this size (see rasterCopyFile()): nothing is rendered at start-up. Otherwise the copy is started
// at once on a worker thread at the primary screen's pixel ratio; the first paint waits for it if
// it is not ready. Pictures are taken up in the order asked for, two at a time. Drawn at another
// ratio, the picture renders the SVG anew on the painting thread. Needs a QGuiApplication.
Picture prerenderedSvgPicture(const QString &path, QSize logicalSize);

// The SVG drawing at `path` as an image of `size` pixels at pixel ratio 1: the copy built in beside
// the drawing where there is one of that size, else rendered now. Null if the drawing cannot be read.
QImage svgRasterCopy(const QString &path, QSize size);

// The file that builds the copy at pixel ratio 1 of the SVG drawing at `path` into the program:
// the copy exactly as the pictures above render it, with its size. The build writes one beside the
// drawing for each size the program draws it at, at rasterCopyPath(). Empty if the drawing cannot
// be read.
QByteArray rasterCopyFile(const QString &path, QSize logicalSize);
// Where that copy is: "<name>.<width>x<height>.argb" beside "<name>.svg".
QString rasterCopyPath(const QString &path, QSize logicalSize);
