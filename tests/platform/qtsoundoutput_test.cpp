#include "doors/doorsounds.h"
#include "platform/modulesoundoutput.h"
#include "platform/programfile.h"
#include "platform/qtsoundoutput.h"
#include "platform/wavefile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLibraryInfo>
#include <QMutex>
#include <QTest>
#include <QWaitCondition>

namespace {

// Logs what it starts and stops, and can stall as a sound server that does not answer: the call
// named by `stall` ("start N" for the start numbered N from 0, "stop", "destructor") blocks until
// the test opens the gate, or 30 s have passed so that a failing test still ends.
class StallingBackend final : public QtSoundOutput::Backend
{
public:
    struct Shared
    {
        QMutex mutex;
        QWaitCondition gateOpened;
        bool gateOpen = false;
        QStringList steps;
        int activity = 0; // steps logged and stalls begun
        bool destroyed = false;

        void openGate()
        {
            const QMutexLocker lock(&mutex);
            gateOpen = true;
            gateOpened.wakeAll();
        }
        QStringList logged()
        {
            const QMutexLocker lock(&mutex);
            return steps;
        }
        int activitySoFar()
        {
            const QMutexLocker lock(&mutex);
            return activity;
        }
        bool isDestroyed()
        {
            const QMutexLocker lock(&mutex);
            return destroyed;
        }
    };

    StallingBackend(std::shared_ptr<Shared> shared, QString stall)
        : m_shared(std::move(shared))
        , m_stall(std::move(stall))
    {
    }
    ~StallingBackend() override
    {
        stallIf(QStringLiteral("destructor"));
        const QMutexLocker lock(&m_shared->mutex);
        m_shared->destroyed = true;
    }

    bool start(const WaveClip &clip) override
    {
        stallIf(QStringLiteral("start %1").arg(m_starts++));
        m_playing = clip.frames();
        add(QStringLiteral("start %1").arg(m_playing));
        return true;
    }
    void stop() override
    {
        stallIf(QStringLiteral("stop"));
        if (m_playing != 0) {
            add(QStringLiteral("stop %1").arg(std::exchange(m_playing, 0)));
        }
    }

private:
    void stallIf(const QString &call)
    {
        if (call != m_stall) {
            return;
        }
        const QMutexLocker lock(&m_shared->mutex);
        ++m_shared->activity;
        QDeadlineTimer deadline(std::chrono::seconds(30));
        while (!m_shared->gateOpen && !deadline.hasExpired()) {
            m_shared->gateOpened.wait(&m_shared->mutex, deadline);
        }
    }
    void add(const QString &step)
    {
        const QMutexLocker lock(&m_shared->mutex);
        m_shared->steps.append(step);
        ++m_shared->activity;
    }

    std::shared_ptr<Shared> m_shared;
    QString m_stall;
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
    void stalledBackend_aSoundNeverPlaysLateOrOverANewerOne_data();
    void stalledBackend_aSoundNeverPlaysLateOrOverANewerOne();
    void stalledBackend_shuttingDownNeitherAbortsNorHangs_data();
    void stalledBackend_shuttingDownNeitherAbortsNorHangs();
};

void QtSoundOutputTest::noAudioDevice_everyPlayReturnsAndNothingHangs()
{
    auto output = std::make_unique<QtSoundOutput>();
    const QByteArray opening = DoorSounds::loadWave(DoorSounds::Opening).valueOr(QByteArray());
    const QByteArray shutting = DoorSounds::loadWave(DoorSounds::Closing).valueOr(QByteArray());

    // More plays than a reused sink survives, mixed as the doors mix them, and a broken file.
    for (int round = 0; round < 8; ++round) {
        output->play(shutting, SoundOutput::Mode::Background);
        output->play(opening, SoundOutput::Mode::Wait);
    }
    output->play(QByteArray("RIFF"), SoundOutput::Mode::Wait);
    output->play(shutting, SoundOutput::Mode::Background);

    QVERIFY(output->shutDown()); // stops the audio thread while a sound request may still be queued
    output->play(opening, SoundOutput::Mode::Wait);
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
    const QByteArray opening = DoorSounds::loadWave(DoorSounds::Opening).valueOr(QByteArray());
    {
        ModuleSoundOutput output(path);
        output.prepare();
        QCOMPARE(output.isLoaded(), loaded);
        output.play(opening, SoundOutput::Mode::Wait);
        output.play(opening, SoundOutput::Mode::Background);
    }
    // The libraries loaded on a worker, the output made here from the event loop.
    ModuleSoundOutput output(path);
    output.prepareInBackground();
    QTRY_COMPARE(output.isLoaded(), loaded);
    output.play(opening, SoundOutput::Mode::Wait);
}

void QtSoundOutputTest::stalledBackend_aSoundNeverPlaysLateOrOverANewerOne_data()
{
    QTest::addColumn<QString>("stall");
    QTest::addColumn<QString>("plays");
    QTest::addColumn<QStringList>("steps");
    // Plays, one letter each: s the shutting sound (55125 frames) in the background; O the opening
    // sound (17640 frames) waited for, given up after a second while the backend stalls; o the
    // opening sound in the background; X a broken file waited for. A bar waits until the backend
    // has started or stalled on the play before it. The gate opens after them all.
    QTest::newRow("waited for, given up in the queue")
        << "start 0"
        << "s|Os" << QStringList{"start 55125", "stop 55125", "start 55125"};
    QTest::newRow("waited for, given up while starting")
        << "start 1"
        << "s|Os" << QStringList{"start 55125", "start 17640", "stop 17640", "start 55125"};
    QTest::newRow("background, called off in the queue by the next")
        << "start 0"
        << "s|os" << QStringList{"start 55125", "stop 55125", "start 55125"};
    QTest::newRow("background, called off while starting by the next")
        << "start 1"
        << "s|s|o" << QStringList{"start 55125", "start 55125", "stop 55125", "start 17640"};
    QTest::newRow("a sound that cannot be played cuts off the one playing")
        << ""
        << "s|X" << QStringList{"start 55125", "stop 55125"};
}

void QtSoundOutputTest::stalledBackend_aSoundNeverPlaysLateOrOverANewerOne()
{
    QFETCH(QString, stall);
    QFETCH(QString, plays);
    QFETCH(QStringList, steps);
    const auto shared = std::make_shared<StallingBackend::Shared>();
    QtSoundOutput output([shared, stall] { return std::make_unique<StallingBackend>(shared, stall); });
    const QByteArray shutting = DoorSounds::loadWave(DoorSounds::Closing).valueOr(QByteArray());
    const QByteArray opening = DoorSounds::loadWave(DoorSounds::Opening).valueOr(QByteArray());
    int activityBefore = 0;
    for (const QChar play : plays) {
        if (play == u'|') {
            QTRY_VERIFY(shared->activitySoFar() > activityBefore);
            continue;
        }
        activityBefore = shared->activitySoFar();
        output.play(play == u'X'         ? QByteArray("RIFF")
                : play.toLower() == u's' ? shutting
                                         : opening,
            play.isUpper() ? SoundOutput::Mode::Wait : SoundOutput::Mode::Background);
    }
    shared->openGate();
    QTRY_COMPARE(shared->logged(), steps);
}

void QtSoundOutputTest::stalledBackend_shuttingDownNeitherAbortsNorHangs_data()
{
    QTest::addColumn<QString>("stall");
    QTest::newRow("in start") << "start 0";
    QTest::newRow("in stop") << "stop";
    QTest::newRow("in its destructor") << "destructor";
}

void QtSoundOutputTest::stalledBackend_shuttingDownNeitherAbortsNorHangs()
{
    QFETCH(QString, stall);
    const auto shared = std::make_shared<StallingBackend::Shared>();
    auto output =
        std::make_unique<QtSoundOutput>([shared, stall] { return std::make_unique<StallingBackend>(shared, stall); });
    output->play(DoorSounds::loadWave(DoorSounds::Closing).valueOr(QByteArray()), SoundOutput::Mode::Background);
    QTRY_VERIFY(shared->activitySoFar() > 0); // started, or stalled starting
    // Destroying a running QThread would end this test's process here; waiting for the thread
    // without a bound would last until the gate opens by itself, and the thread would have ended.
    QTest::ignoreMessage(QtWarningMsg, "The audio thread did not stop in time; it is left to end with the program");
    QVERIFY(!output->shutDown());
    output.reset();
    QVERIFY(!shared->isDestroyed());
    // Set free, the thread left running ends and takes its backend with it.
    shared->openGate();
    QTRY_VERIFY(shared->isDestroyed());
}

QTEST_GUILESS_MAIN(QtSoundOutputTest)
#include "qtsoundoutput_test.moc"
