// Renders an SVG file to a square or rectangular PNG of the given pixel size. Used by the build to
// make the desktop icons at their standard sizes from the program's own icon.
//
//   svgrender input.svg output.png width [height]

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: svgrender input.svg output.png width [height]\n");
        return 2;
    }
    bool widthOk = false;
    bool heightOk = true;
    const int width = args.at(3).toInt(&widthOk);
    const int height = args.size() > 4 ? args.at(4).toInt(&heightOk) : width;
    if (!widthOk || !heightOk || width <= 0 || height <= 0 || width > 4096 || height > 4096) {
        std::fprintf(stderr, "svgrender: bad size\n");
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "svgrender: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    if (!image.save(args.at(2), "PNG")) {
        std::fprintf(stderr, "svgrender: cannot write %s\n", qPrintable(args.at(2)));
        return 1;
    }
    return 0;
}
