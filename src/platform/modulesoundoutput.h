#pragma once

#include "platform/soundoutput.h"

#include <QObject>
#include <QPluginLoader>
#include <QString>

#include <memory>

class QThread;

// The program's sound output: the real one, loaded from the sound module beside the program when
// it is first needed or when prepare() asks for it. Loading Qt Multimedia and the sound server's
// libraries takes longer than starting the rest of the program, so the program does not link them
// and brings them in once its windows are on the screen.
//
// prepareInBackground() loads the module's libraries on a worker thread, the longest part, and
// makes the output on the calling thread once they are in.
//
// A module that is missing, cannot be loaded or is not a sound module built for this Qt leaves the
// program silent: every play returns at once, as with no audio device. The module is never
// unloaded.
class ModuleSoundOutput final : public SoundOutput
{
public:
    // Loads only from `modulePath`, an absolute path, never from the library search path.
    explicit ModuleSoundOutput(QString modulePath);
    ~ModuleSoundOutput() override;

    // The sound module beside the running program.
    static QString besideProgram();

    void prepare() override;
    void prepareInBackground() override;
    void play(const QByteArray &wave, Mode mode) override;
    bool shutDown() override;

    // Whether the module's output is in use (after the first prepare() or play()).
    bool isLoaded() const { return m_output != nullptr; }

private:
    QString m_modulePath;
    bool m_tried = false;
    QPluginLoader m_loader;
    std::unique_ptr<SoundOutput> m_output;
    // The worker loading the module's libraries, until prepare() has waited for it.
    std::unique_ptr<QThread> m_loading;
    QObject m_context; // for the call back from the worker; goes first, so no call comes late
};
