// Renders SVG artwork to a PNG with Qt's own SVG renderer, the one the program uses, so the
// artwork can be checked without starting the program. Further pictures can be laid over the
// first one at given rectangles (logical pixels), e.g. to see a half-open door over the bus:
//   svgpreview out.png 2 bus.svg frontdoor.svg:26,44,5,151 middleleft.svg:335,45,7,153
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QStringList>
#include <QSvgRenderer>

#include <cstdio>

namespace {

bool drawLayer(QPainter &painter, const QString &layer)
{
    QString path = layer;
    QRectF target;
    const qsizetype colon = layer.lastIndexOf(QLatin1Char(':'));
    if (colon > 0) {
        const QStringList parts = layer.mid(colon + 1).split(QLatin1Char(','));
        if (parts.size() == 4) {
            path = layer.left(colon);
            target = QRectF(parts[0].toDouble(), parts[1].toDouble(), parts[2].toDouble(), parts[3].toDouble());
        }
    }
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "svgpreview: cannot render %s\n", qPrintable(path));
        return false;
    }
    if (target.isNull())
        target = QRectF(QPointF(0, 0), renderer.defaultSize());
    renderer.render(&painter, target);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: svgpreview out.png scale base.svg [layer.svg:x,y,w,h ...]\n");
        return 2;
    }
    const double scale = args[2].toDouble();
    QSvgRenderer base(args[3]);
    if (!base.isValid() || scale <= 0) {
        std::fprintf(stderr, "svgpreview: cannot render %s\n", qPrintable(args[3]));
        return 1;
    }
    const QSize size = base.defaultSize();
    QImage image(qRound(size.width() * scale), qRound(size.height() * scale), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(scale, scale);
    bool ok = true;
    for (qsizetype i = 3; i < args.size(); ++i)
        ok = drawLayer(painter, args[i]) && ok;
    painter.end();
    if (!image.save(args[1])) {
        std::fprintf(stderr, "svgpreview: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return ok ? 0 : 1;
}
