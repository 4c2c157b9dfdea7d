// Writes the copy at pixel ratio 1 of an SVG drawing that the build puts into the program beside
// the drawing, so that the bus window's artwork is not rendered at every start (see
// rasterCopyFile()).
//
//   artworkcopy input.svg output.argb width height

#include "picture/rasterpicture.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: artworkcopy input.svg output.argb width height\n");
        return 2;
    }
    bool widthOk = false;
    bool heightOk = false;
    const QSize size(args.at(3).toInt(&widthOk), args.at(4).toInt(&heightOk));
    if (!widthOk || !heightOk || size.width() <= 0 || size.height() <= 0 || size.width() > 4096
        || size.height() > 4096) {
        std::fprintf(stderr, "artworkcopy: bad size\n");
        return 2;
    }
    const QByteArray copy = rasterCopyFile(args.at(1), size);
    if (copy.isEmpty()) {
        std::fprintf(stderr, "artworkcopy: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    QFile output(args.at(2));
    if (!output.open(QIODevice::WriteOnly) || output.write(copy) != copy.size() || !output.flush()) {
        std::fprintf(stderr, "artworkcopy: cannot write %s\n", qPrintable(args.at(2)));
        return 1;
    }
    return 0;
}
