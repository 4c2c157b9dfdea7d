// The yardstick for the program's start-up: a bare Qt Widgets program with one fixed-size window
// that paints one picture, reporting its first paint the same way the program does and ending half
// a second later, as the program does.

#include "paintreport.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    PaintReport::PictureWindow window(
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString(), QStringLiteral("bare window"));
    window.show();
    return app.exec();
}
