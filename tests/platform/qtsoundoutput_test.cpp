#include "doorsounds.h"
#include "qtsoundoutput.h"

#include <QTest>

// Runs with PULSE_SERVER naming a socket that does not exist, as on a machine without a sound
// server: there is no audio device behind the output.
class QtSoundOutputTest : public QObject
{
    Q_OBJECT

private slots:
    void noAudioDevice_everyPlayReturnsAndNothingHangs();
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

QTEST_GUILESS_MAIN(QtSoundOutputTest)
#include "qtsoundoutput_test.moc"
