#include "firstpaintprobe.h"
#include "fonts.h"
#include "form1.h"
#include "qtfolderbrowser.h"
#include "qtmessageboxes.h"
#include "qtopenfiledialog.h"
#include "qturlopener.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ソラミネ"));
    Fonts::installSubstitutes();
    QFont font(Fonts::proportionalGothic());
    font.setPointSize(9);
    QApplication::setFont(font);

    QtMessageBoxes messages;
    QtOpenFileDialog openFile;
    QtUrlOpener urls;
    Form1::Services services;
    services.messages = &messages;
    services.openFile = &openFile;
    services.urls = &urls;
    QtFolderBrowser folders;
    services.folders = &folders;

    Form1 form(services);
    FirstPaintProbe::watchIfRequested(&form);
    form.Form_Load();
    form.show();
    form.activateWindow();
    return app.exec();
}
