#include "platform/wavefile.h"
#include "support/littleendian.h"

#include <QTest>

namespace {

QByteArray fmtChunk(int tag, int channels, int rate, int bits)
{
    const int align = channels * bits / 8;
    return "fmt " + le32(16) + le16(tag) + le16(channels) + le32(rate) + le32(rate * align) + le16(align) + le16(bits);
}
QByteArray riff(const QByteArray &chunks)
{
    return "RIFF" + le32(quint32(4 + chunks.size())) + "WAVE" + chunks;
}

} // namespace

class WaveFileTest : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void duration_isFramesOverRate();
};

void WaveFileTest::parse_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("sampleBytes");
    QTest::addColumn<int>("bits");

    const QByteArray fmt8 = fmtChunk(1, 1, 22050, 8);
    const QByteArray samples(101, char(0x90));
    QTest::newRow("plain 8-bit mono, odd data size") << riff(fmt8 + "data" + le32(101) + samples) << true << 101 << 8;
    QTest::newRow("unknown chunk before data is skipped with its pad byte")
        << riff(fmt8 + "LIST" + le32(3) + "abc" + QByteArray(1, 0) + "data" + le32(101) + samples) << true << 101 << 8;
    QTest::newRow("16-bit stereo keeps whole frames")
        << riff(fmtChunk(1, 2, 44100, 16) + "data" + le32(10) + QByteArray(10, 0)) << true << 8 << 16;
    QTest::newRow("data claims more than there is, near 4 GiB: keeps what is there")
        << riff(fmt8 + "data" + le32(0xFFFFFFFFu) + samples) << true << 101 << 8;
    QTest::newRow("empty") << QByteArray() << false << 0 << 0;
    QTest::newRow("not RIFF") << QByteArray("RIFX") + le32(4) + "WAVE" << false << 0 << 0;
    QTest::newRow("no data chunk") << riff(fmt8) << false << 0 << 0;
    QTest::newRow("data before fmt") << riff("data" + le32(101) + samples + fmt8) << false << 0 << 0;
    QTest::newRow("compressed format") << riff(fmtChunk(2, 1, 22050, 8) + "data" + le32(4) + "abcd") << false << 0 << 0;
    QTest::newRow("24-bit samples") << riff(fmtChunk(1, 1, 22050, 24) + "data" + le32(3) + "abc") << false << 0 << 0;
    QTest::newRow("no channels") << riff(fmtChunk(1, 0, 22050, 8) + "data" + le32(4) + "abcd") << false << 0 << 0;
    QTest::newRow("rate 0") << riff(fmtChunk(1, 1, 0, 8) + "data" + le32(4) + "abcd") << false << 0 << 0;
    QTest::newRow("truncated fmt") << riff(fmt8.left(12)) << false << 0 << 0;
    QTest::newRow("chunk longer than the file") << riff(fmt8 + "LIST" + le32(0xFFFFFFF0u) + "ab") << false << 0 << 0;
}

void WaveFileTest::parse()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, valid);
    QFETCH(int, sampleBytes);
    QFETCH(int, bits);

    const Result<WaveClip> clip = parseWave(file);

    QCOMPARE(clip.ok(), valid);
    if (valid) {
        QCOMPARE(clip->samples.size(), sampleBytes);
        QCOMPARE(clip->bitsPerSample, bits);
    }
}

void WaveFileTest::duration_isFramesOverRate()
{
    WaveClip clip;
    clip.channels = 1;
    clip.sampleRate = 22050;
    clip.bitsPerSample = 8;
    clip.samples = QByteArray(55125, char(0x80));
    QCOMPARE(clip.duration(), std::chrono::milliseconds(2500));
    QCOMPARE(clip.silence(), char(0x80));
}

QTEST_GUILESS_MAIN(WaveFileTest)
#include "wavefile_test.moc"
