#include "doors/doorsounds.h"
#include "platform/modulesoundoutput.h"
#include "platform/programfile.h"
#include "platform/qtsoundoutput.h"
#include "platform/wavefile.h"

#include <QDir>
#include <QLibraryInfo>
#include <QMutex>
#include <QTest>

#include <thread>

namespace {

// Logs what it plays and stops; the start numbered `slowStart` (from 0) takes 1.5 s, as a sound
// server that is slow to answer.
class SlowBackend final : public QtSoundOutput::Backend
{
public:
    struct Log
    {
        QMutex mutex;
        QStringList steps;
    };

    SlowBackend(std::shared_ptr<Log> log, int slowStart)
        : m_log(std::move(log))
        , m_slowStart(slowStart)
    {
    }

    bool start(const WaveClip &clip) override
    {
        if (m_starts++ == m_slowStart) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        }
        m_playing = clip.frames();
        add(QStringLiteral("start %1").arg(m_playing));
        return true;
    }
    void stop() override
    {
        if (m_playing != 0) {
            add(QStringLiteral("stop %1").arg(std::exchange(m_playing, 0)));
        }
    }

private:
    void add(const QString &step)
    {
        const QMutexLocker lock(&m_log->mutex);
        m_log->steps.append(step);
    }

    std::shared_ptr<Log> m_log;
    int m_slowStart;
    int m_starts = 0;
    qint64 m_playing = 0;
};

} // namespace

// Runs with PULSE_SERVER naming a socket that does not exist, as on a machine without a sound
// server: there is no audio device behind the output.
class QtSoundOutputTest : public QObject
{
    Q_OBJECT

private slots:
    void noAudioDevice_everyPlayReturnsAndNothingHangs();
    void module_loadsOnlyTheSoundPluginByAbsolutePathAndIsSilentWithout_data();
    void module_loadsOnlyTheSoundPluginByAbsolutePathAndIsSilentWithout();
    void startGivenUp_theSoundNeverPlaysLate_data();
    void startGivenUp_theSoundNeverPlaysLate();
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

void QtSoundOutputTest::module_loadsOnlyTheSoundPluginByAbsolutePathAndIsSilentWithout_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("loaded");
    QTest::newRow("missing") << QDir(ProgramFile::folder()).filePath(QStringLiteral("no-such-sound-module.so"))
                             << false;
    // A bare file name would be looked up on the library search path.
    QTest::newRow("bare name") << QFileInfo(ModuleSoundOutput::besideProgram()).fileName() << false;
    QTest::newRow("another Qt plugin")
        << QDir(QLibraryInfo::path(QLibraryInfo::PluginsPath)).filePath(QStringLiteral("imageformats/libqico.so"))
        << false;
    QTest::newRow("beside the program") << ModuleSoundOutput::besideProgram() << true;
}

void QtSoundOutputTest::module_loadsOnlyTheSoundPluginByAbsolutePathAndIsSilentWithout()
{
    QFETCH(QString, path);
    QFETCH(bool, loaded);
    if (QTest::currentDataTag() == QByteArrayView("another Qt plugin") && !QFileInfo::exists(path)) {
        QSKIP("Qt's ICO plugin is not installed");
    }
    const QByteArray opening = DoorSounds::loadWave(DoorSounds::Opening);
    ModuleSoundOutput output(path);
    output.prepare();
    QCOMPARE(output.isLoaded(), loaded);
    output.play(opening, SoundOutput::Mode::Wait);
    output.play(opening, SoundOutput::Mode::Background);
}

void QtSoundOutputTest::startGivenUp_theSoundNeverPlaysLate_data()
{
    QTest::addColumn<int>("slowStart");
    QTest::addColumn<QStringList>("steps");
    // The shutting sound (55125 frames) is started in the background, then the opening sound
    // (17640 frames) is waited for, then the shutting sound again.
    QTest::newRow("given up in the queue") << 0 << QStringList{"start 55125", "start 55125"};
    QTest::newRow("given up while starting")
        << 1 << QStringList{"start 55125", "start 17640", "stop 17640", "start 55125"};
}

void QtSoundOutputTest::startGivenUp_theSoundNeverPlaysLate()
{
    QFETCH(int, slowStart);
    QFETCH(QStringList, steps);
    const auto log = std::make_shared<SlowBackend::Log>();
    QtSoundOutput output([log, slowStart] { return std::make_unique<SlowBackend>(log, slowStart); });
    const QByteArray shutting = DoorSounds::loadWave(DoorSounds::Closing);
    output.play(shutting, SoundOutput::Mode::Background);
    output.play(DoorSounds::loadWave(DoorSounds::Opening), SoundOutput::Mode::Wait); // gives up after 1 s
    output.play(shutting, SoundOutput::Mode::Background);
    const auto logged = [&log] {
        const QMutexLocker lock(&log->mutex);
        return log->steps;
    };
    QTRY_COMPARE(logged(), steps);
}

QTEST_GUILESS_MAIN(QtSoundOutputTest)
#include "qtsoundoutput_test.moc"
