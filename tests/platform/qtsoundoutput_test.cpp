#include "doorsounds.h"
#include "modulesoundoutput.h"
#include "programfile.h"
#include "qtsoundoutput.h"

#include <QDir>

#include <QTest>

// Runs with PULSE_SERVER naming a socket that does not exist, as on a machine without a sound
// server: there is no audio device behind the output.
class QtSoundOutputTest : public QObject
{
    Q_OBJECT

private slots:
    void noAudioDevice_everyPlayReturnsAndNothingHangs();
    void module_loadsOnlyByAbsolutePathAndIsSilentWithout();
};

void QtSoundOutputTest::noAudioDevice_everyPlayReturnsAndNothingHangs()
{
    auto output = std::make_unique<QtSoundOutput>();
    const QByteArray opening = DoorSounds::loadWave(DoorSounds::Opening);
    const QByteArray shutting = DoorSounds::loadWave(DoorSounds::Closing);

    // More plays than a reused sink survives, mixed as the doors mix them, and a broken file.
    for (int round = 0; round < 8; ++round) {
        output->play(shutting, SoundOutput::Mode::Background);
        output->play(opening, SoundOutput::Mode::Wait);
    }
    output->play(QByteArray("RIFF"), SoundOutput::Mode::Wait);
    output->play(shutting, SoundOutput::Mode::Background);

    output.reset(); // stops the audio thread while a sound request may still be queued
}

void QtSoundOutputTest::module_loadsOnlyByAbsolutePathAndIsSilentWithout()
{
    const QByteArray opening = DoorSounds::loadWave(DoorSounds::Opening);

    ModuleSoundOutput missing(QDir(ProgramFile::folder()).filePath(QStringLiteral("no-such-sound-module.so")));
    missing.play(opening, SoundOutput::Mode::Wait);
    QVERIFY(!missing.isLoaded());

    // A bare file name would be looked up on the library search path.
    ModuleSoundOutput bareName(QFileInfo(ModuleSoundOutput::besideProgram()).fileName());
    bareName.prepare();
    QVERIFY(!bareName.isLoaded());

    ModuleSoundOutput beside(ModuleSoundOutput::besideProgram());
    beside.prepare();
    QVERIFY(beside.isLoaded());
    beside.play(opening, SoundOutput::Mode::Wait);
    beside.play(opening, SoundOutput::Mode::Background);
}

QTEST_GUILESS_MAIN(QtSoundOutputTest)
#include "qtsoundoutput_test.moc"
