#include "app/form1.h"
#include "app/panelstart.h"
#include "app/platformchoice.h"
#include "app/translations.h"
#include "platform/fonts.h"
#include "platform/messageboxes.h"
#include "platform/modulesoundoutput.h"
#include "platform/qtfolderbrowser.h"
#include "platform/qtmessageboxes.h"
#include "platform/qtopenfiledialog.h"
#include "platform/qturlopener.h"
#include "platform/sleepingpacer.h"
#include "platform/terminationsignals.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

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
    // The picture readers the settings panel needs load meanwhile on a worker thread.
    const PanelPreload panelPreload;

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
    form.Form_Load();
    form.show();
    form.activateWindow();
    const int exitCode = app.exec();
    // A sound server that never answered can still hold the audio thread, and with it a lock that
    // Qt Multimedia's exit handlers wait for: the settings are saved, so the program ends without
    // them rather than hang.
    if (!sound.shutDown()) {
        std::fflush(nullptr);
        std::_Exit(exitCode);
    }
    return exitCode;
}
