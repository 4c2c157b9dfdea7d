#include "core/littleendian.h"

#include <QTest>

#include <limits>

// A reader over one record of a file: the bytes after the record are there, but not the record's.
class LittleEndianReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void read_withinTheRecordOnly_data();
    void read_withinTheRecordOnly();
};

void LittleEndianReaderTest::read_withinTheRecordOnly_data()
{
    QTest::addColumn<qsizetype>("offset");
    QTest::addColumn<qsizetype>("length"); // 1, 2 or 4: u8, u16, u32; else bytes()
    QTest::addColumn<bool>("inside");
    QTest::addColumn<quint32>("value");
    // The record is 8 bytes: 00 01 .. 07; the next record begins with ff.
    QTest::newRow("u32, the last field") << qsizetype(4) << qsizetype(4) << true << 0x07060504u;
    QTest::newRow("u32, one byte past the end") << qsizetype(5) << qsizetype(4) << false << 0u;
    QTest::newRow("u16, the last field") << qsizetype(6) << qsizetype(2) << true << 0x0706u;
    QTest::newRow("u16, one byte past the end") << qsizetype(7) << qsizetype(2) << false << 0u;
    QTest::newRow("u8, the last byte") << qsizetype(7) << qsizetype(1) << true << 0x07u;
    QTest::newRow("u8, past the end") << qsizetype(8) << qsizetype(1) << false << 0u;
    QTest::newRow("before the start") << qsizetype(-1) << qsizetype(1) << false << 0u;
    QTest::newRow("bytes to the end") << qsizetype(3) << qsizetype(5) << true << 0u;
    QTest::newRow("bytes one past the end") << qsizetype(3) << qsizetype(6) << false << 0u;
    QTest::newRow("no bytes at the end") << qsizetype(8) << qsizetype(0) << true << 0u;
    QTest::newRow("bytes without end") << qsizetype(1) << std::numeric_limits<qsizetype>::max() << false << 0u;
}

void LittleEndianReaderTest::read_withinTheRecordOnly()
{
    QFETCH(qsizetype, offset);
    QFETCH(qsizetype, length);
    QFETCH(bool, inside);
    QFETCH(quint32, value);
    const QByteArray file = QByteArray::fromHex("0001020304050607ffffffff");
    LittleEndianReader record(file.constData(), 8);
    switch (length) {
    case 1:
        QCOMPARE(quint32(record.u8(offset)), value);
        break;
    case 2:
        QCOMPARE(quint32(record.u16(offset)), value);
        break;
    case 4:
        QCOMPARE(record.u32(offset), value);
        break;
    default:
        QVERIFY(record.bytes(offset, length) == (inside ? file.constData() + offset : nullptr));
        break;
    }
    QCOMPARE(record.ok(), inside);
    QCOMPARE(record.has(offset, length), inside);
}

QTEST_GUILESS_MAIN(LittleEndianReaderTest)
#include "littleendian_test.moc"
