#pragma once

#include <QGuiApplication>

#include <cstdlib>

// Text drawing needs a GUI application; fuzz targets make one, on the offscreen platform.
inline void startFuzzApplication()
{
    static int argc = 1;
    static char name[] = "fuzzer";
    static char *argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication application(argc, argv);
}
