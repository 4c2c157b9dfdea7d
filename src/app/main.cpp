#include "fonts.h"
#include "form1.h"
#include "messageboxes.h"
#include "modulesoundoutput.h"
#include "platformchoice.h"
#include "qtfolderbrowser.h"
#include "qtmessageboxes.h"
#include "qtopenfiledialog.h"
#include "qturlopener.h"
#include "sleepingpacer.h"
#include "terminationsignals.h"
#include "translations.h"

#include <QApplication>

// The start-up benchmark builds a variant of the program that reports its first paints.
#ifdef PORUKANO_STARTUP_PROBE
#include "firstpaintprobe.h"
#endif

int main(int argc, char *argv[])
{
    choosePlatform();
    QApplication app(argc, argv);
    // From here a termination signal waits for the event loop, which closes the bus window.
    TerminationSignals terminationSignals;
    installTranslations(app);
    QApplication::setApplicationName(MessageBoxes::DefaultTitle);
    Fonts::installSubstitutes();
    QFont font(Fonts::proportionalGothic());
    font.setPointSize(9);
    QApplication::setFont(font);

    ModuleSoundOutput sound(ModuleSoundOutput::besideProgram());
    SleepingPacer pacer;
    QtMessageBoxes messages;
    QtOpenFileDialog openFile;
    QtFolderBrowser folders;
    QtUrlOpener urls;
    Form1::Services services;
    services.sound = &sound;
    services.pacer = &pacer;
    services.messages = &messages;
    services.openFile = &openFile;
    services.folders = &folders;
    services.urls = &urls;

    Form1 form(services);
    QObject::connect(&terminationSignals, &TerminationSignals::received, &form, &Form1::requestClose);
#ifdef PORUKANO_STARTUP_PROBE
    FirstPaintProbe::watch(&form);
#endif
    form.Form_Load();
    form.show();
    form.activateWindow();
    return app.exec();
}
