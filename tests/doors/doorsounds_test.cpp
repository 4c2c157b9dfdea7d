#include "doors/doorsounds.h"
#include "fakes/fakesoundoutput.h"
#include "platform/wavefile.h"

#include <QTest>

// How the two sounds are played around the movement is tested on DoorAnimation.
class DoorSoundsTest : public QObject
{
    Q_OBJECT

private slots:
    void embeddedWave_isPlainEightBitMonoTone_data();
    void embeddedWave_isPlainEightBitMonoTone();
    void newSound_leavesTheBytesOfTheOldOneIntact();
    void noOutput_isSilentAndReturns();
    void missingSound_failsAndPlaysAsSilence();
};

void DoorSoundsTest::embeddedWave_isPlainEightBitMonoTone_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("fileSize");
    QTest::newRow("101 opening, 0.8 s") << 101 << 17684;
    QTest::newRow("102 shutting, 2.5 s") << 102 << 55169;
}

void DoorSoundsTest::embeddedWave_isPlainEightBitMonoTone()
{
    QFETCH(int, id);
    QFETCH(int, fileSize);
    const QByteArray wave = DoorSounds::loadWave(id).valueOr(QByteArray());
    const Result<WaveClip> clip = parseWave(wave);

    QVERIFY(clip);
    QCOMPARE(wave.size(), fileSize);
    QCOMPARE(clip->samples.size(), fileSize - 44); // nothing but the 44-byte header before them
    QCOMPARE(clip->channels, 1);
    QCOMPARE(clip->sampleRate, 22050);
    QCOMPARE(clip->bitsPerSample, 8);
    // The two clips hold the same tone: the opening sound is the beginning of the shutting one.
    QCOMPARE(clip->samples.left(17640), DoorSounds::loadWave(101).valueOr(QByteArray()).mid(44));
}

void DoorSoundsTest::newSound_leavesTheBytesOfTheOldOneIntact()
{
    FakeSoundOutput output;
    DoorSounds sounds(&output, [] {});
    sounds.PlayWaveAsync(102);
    const char *playing = output.plays.back().wave.constData();

    sounds.PlayWave(101);

    // The output still holds the shutting sound, unchanged and at the same place in memory.
    QCOMPARE(output.plays.front().wave.constData(), playing);
    QCOMPARE(output.plays.front().wave, DoorSounds::loadWave(102).valueOr(QByteArray()));
}

void DoorSoundsTest::noOutput_isSilentAndReturns()
{
    int passes = 0;
    DoorSounds sounds(nullptr, [&] { ++passes; });
    sounds.PlayWave(101);
    sounds.PlayWaveAsync(102);
    QCOMPARE(sounds.WaveData().size(), 55169);
    QCOMPARE(passes, 1);
}

void DoorSoundsTest::missingSound_failsAndPlaysAsSilence()
{
    QVERIFY(!DoorSounds::loadWave(103).ok());
    FakeSoundOutput output;
    DoorSounds sounds(&output, [] {});
    sounds.PlayWave(103);
    QCOMPARE(output.plays.size(), size_t(1));
    QVERIFY(output.plays.front().wave.isEmpty());
}

QTEST_GUILESS_MAIN(DoorSoundsTest)
#include "doorsounds_test.moc"
