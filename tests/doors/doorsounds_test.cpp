#include "doorsounds.h"
#include "fakes/fakesoundoutput.h"

#include <QTest>
#include <QtEndian>

#include <cmath>

namespace {

quint32 u32(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}
quint16 u16(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

// Power of harmonic `k` in one period of `period` samples, centred on the 8-bit midpoint.
double harmonicPower(const QByteArray &samples, int period, int k)
{
    double re = 0;
    double im = 0;
    for (int n = 0; n < period; ++n) {
        const double phase = 2 * M_PI * k * n / period;
        const double value = quint8(samples[n]) - 128.0;
        re += value * std::cos(phase);
        im += value * std::sin(phase);
    }
    return re * re + im * im;
}

} // namespace

class DoorSoundsTest : public QObject
{
    Q_OBJECT

private slots:
    void embeddedWave_isPlainEightBitMonoTone_data();
    void embeddedWave_isPlainEightBitMonoTone();
    void openingSound_isTheBeginningOfTheShuttingSound();
    void playWave_waitsAndPlayAsync_startsInTheBackgroundThenHandlesEventsOnce();
    void newSound_leavesTheBytesOfTheOldOneIntact();
    void noOutput_isSilentAndReturns();
};

void DoorSoundsTest::embeddedWave_isPlainEightBitMonoTone_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("fileSize");
    QTest::addColumn<int>("dataSize");
    QTest::newRow("101 opening, 0.8 s") << 101 << 17684 << 17640;
    QTest::newRow("102 shutting, 2.5 s") << 102 << 55169 << 55125;
}

void DoorSoundsTest::embeddedWave_isPlainEightBitMonoTone()
{
    QFETCH(int, id);
    QFETCH(int, fileSize);
    QFETCH(int, dataSize);
    const QByteArray wave = DoorSounds::loadWave(id);

    QCOMPARE(wave.size(), fileSize);
    QCOMPARE(wave.left(4), QByteArray("RIFF"));
    QCOMPARE(u32(wave, 4), quint32(fileSize - 8));
    QCOMPARE(wave.mid(8, 8), QByteArray("WAVEfmt "));
    QCOMPARE(u32(wave, 16), 16u);
    QCOMPARE(u16(wave, 20), 1); // PCM
    QCOMPARE(u16(wave, 22), 1); // mono
    QCOMPARE(u32(wave, 24), 22050u);
    QCOMPARE(u32(wave, 28), 22050u); // bytes per second
    QCOMPARE(u16(wave, 32), 1); // block align
    QCOMPARE(u16(wave, 34), 8);
    QCOMPARE(wave.mid(36, 4), QByteArray("data"));
    QCOMPARE(u32(wave, 40), quint32(dataSize));

    const QByteArray samples = wave.mid(44);
    QCOMPARE(samples.size(), dataSize);
    int peak = 0;
    for (int n = 0; n < samples.size(); ++n) {
        peak = std::max(peak, std::abs(quint8(samples[n]) - 128));
        if (n >= 129 && samples[n] != samples[n - 129]) {
            QFAIL(qPrintable(QStringLiteral("not periodic at sample %1").arg(n)));
        }
    }
    QCOMPARE(peak, 75);

    // A buzzer, not a sine: the overtones together carry a good share of the fundamental's power.
    const double fundamental = harmonicPower(samples, 129, 1);
    double overtones = 0;
    for (int k = 2; k <= 10; ++k) {
        overtones += harmonicPower(samples, 129, k);
    }
    QVERIFY2(fundamental > 0 && overtones > 0.3 * fundamental,
        qPrintable(QStringLiteral("overtones %1 of fundamental").arg(overtones / fundamental)));
}

void DoorSoundsTest::openingSound_isTheBeginningOfTheShuttingSound()
{
    const QByteArray opening = DoorSounds::loadWave(101).mid(44);
    const QByteArray shutting = DoorSounds::loadWave(102).mid(44);
    QCOMPARE(opening.size(), 17640);
    QCOMPARE(shutting.left(17640), opening);
}

void DoorSoundsTest::playWave_waitsAndPlayAsync_startsInTheBackgroundThenHandlesEventsOnce()
{
    FakeSoundOutput output;
    int passes = 0;
    int passesAtPlay = -1;
    output.onPlay = [&] {
        passesAtPlay = passes;
    };
    DoorSounds sounds(&output, [&] { ++passes; });

    sounds.PlayWave(101);
    QCOMPARE(sounds.WaveData(), DoorSounds::loadWave(101));
    QCOMPARE(output.plays.back().mode, SoundOutput::Mode::Wait);
    QCOMPARE(output.plays.back().wave, sounds.WaveData());
    QCOMPARE(passes, 0);

    sounds.PlayWaveAsync(102);
    QCOMPARE(sounds.WaveData(), DoorSounds::loadWave(102));
    QCOMPARE(output.plays.back().mode, SoundOutput::Mode::Background);
    QCOMPARE(output.plays.back().wave, sounds.WaveData());
    QCOMPARE(passesAtPlay, 0); // the sound starts before the event pass
    QCOMPARE(passes, 1);
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
    QCOMPARE(output.plays.front().wave, DoorSounds::loadWave(102));
    QCOMPARE(sounds.WaveData(), DoorSounds::loadWave(101));
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

QTEST_GUILESS_MAIN(DoorSoundsTest)
#include "doorsounds_test.moc"
