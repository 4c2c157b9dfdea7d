#include "settings/settingsfile.h"
#include "settings/settingsline.h"
#include "settingsloopcontent.h"
#include "writefault.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

const QByteArray OldContent = "1500,3000,9000,6000,\"\",\"\",0,0,\"\",3450,2010,#TRUE#,#TRUE#,6000,10000,1\r\n";
const QStringList OnlyTheFile{QStringLiteral("KT41A0001.ini")};

QStringList filesIn(const QTemporaryDir &dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
}

} // namespace

class SettingsFileTest : public QObject
{
    Q_OBJECT

private slots:
    void pathFor_addsTheSeparatorOnlyWhenMissing();
    void write_thenRead_givesTheTextInUtf8();
    void read_theOriginalsCp932Bytes_givesTheJapanesePaths();
    void write_failing_reportsPathAndLeavesTheOldFile_data();
    void write_failing_reportsPathAndLeavesTheOldFile();
    void kill_duringSaves_neverLeavesAPartialFile();
};

void SettingsFileTest::pathFor_addsTheSeparatorOnlyWhenMissing()
{
    const auto pathFor = [](const char *folder, const char *baseName) {
        return QDir::fromNativeSeparators(
            SettingsFile::pathFor(QString::fromUtf8(folder), QString::fromUtf8(baseName)));
    };
    QCOMPARE(pathFor("/opt/bus", "abc"), QStringLiteral("/opt/bus/abc.ini"));
    QCOMPARE(pathFor("/opt/bus/", "K"), QStringLiteral("/opt/bus/K.ini"));
    QCOMPARE(pathFor("/", "K"), QStringLiteral("/K.ini"));
}

void SettingsFileTest::write_thenRead_givesTheTextInUtf8()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KT41A0001.ini"));
    const QString line =
        QStringLiteral("0,0,0,3225,\"/home/運転士/方向幕/\",\"\",0,0,\"\",3450,2010,#TRUE#,#TRUE#,10000,6000,0\r\n");
    const Result<QString> none = SettingsFile(dir.filePath(QStringLiteral("none.ini"))).read();
    QVERIFY(!none.ok() && none.error().contains(QLatin1String("none.ini")));
    writeBytes(path, OldContent);

    SettingsFile file(path, "UTF-8");
    QVERIFY2(file.write(line), qPrintable(file.errorString()));
    QCOMPARE(readBytes(path), line.toUtf8());
    const Result<QString> read = file.read();
    QVERIFY2(read.ok(), qPrintable(read.error()));
    QCOMPARE(*read, line);
    QCOMPARE(filesIn(dir), OnlyTheFile); // no temporary file left behind
}

void SettingsFileTest::read_theOriginalsCp932Bytes_givesTheJapanesePaths()
{
    // A file as a Japanese Windows system writes it. The second bytes of ソ and 表 are the
    // backslash's byte, so the bytes must be decoded before the line is read.
    const QByteArray bytes = QByteArray::fromHex("302c302c302c333232352c22433a5c"
                                                 "835c83895c955c8ea65c" // ソラ\表示\ (backslash)
                                                 "222c22222c302c302c22433a5c"
                                                 "95fb8cfc968b5c8ac594c22e676966" // 方向幕\看板.gif
                                                 "222c333435302c323031302c235452554523"
                                                 "2c2346414c5345232c31303030302c363030302c300d0a");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KT41A0001.ini"));
    writeBytes(path, bytes);

    const auto check = [&](SettingsFile file) {
        const Result<QString> read = file.read();
        QVERIFY2(read.ok(), qPrintable(read.error()));
        const auto line = SettingsLine::decode(*read);
        QVERIFY2(line.ok(), qPrintable(line.error().message));
        QCOMPARE(line->desiMakuPath, QStringLiteral("C:\\ソラ\\表示\\"));
        QCOMPARE(line->kanbanPath, QStringLiteral("C:\\方向幕\\看板.gif"));
        // Written back, the bytes are the original's.
        QVERIFY2(file.write(SettingsLine::encode(*line)), qPrintable(file.errorString()));
        QCOMPARE(readBytes(path), bytes);
    };
    if (!QStringDecoder("CP932").isValid()) {
        QSKIP("this Qt has no CP932 converter");
    }
    check(SettingsFile(path, "CP932"));
    // The program's own choice of encoding reads the same file where the code page is in use.
    if (QStringDecoder(QStringConverter::System).decode(QByteArray("\x95\x5c")) == QStringLiteral("表")) {
        check(SettingsFile(path));
    }
}

void SettingsFileTest::write_failing_reportsPathAndLeavesTheOldFile_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("disk full") << "disk full";
    QTest::newRow("folder not writable") << "read-only";
    // The name takes 254 of the 255 bytes a name may have: the new text is written (on Linux to a
    // file without a name), but its temporary name, 7 bytes longer, cannot be given, so the
    // last step, replacing the old file, fails.
    QTest::newRow("replacing the old file fails") << "long name";
}

void SettingsFileTest::write_failing_reportsPathAndLeavesTheOldFile()
{
    QFETCH(QString, fault);
    QTemporaryDir dir;
    const QString baseName = fault == u"long name" ? QString(250, u'a') : QStringLiteral("KT41A0001");
    const QString path = SettingsFile::pathFor(dir.path(), baseName);
    writeBytes(path, OldContent);

    SettingsFile file(path);
    if (fault == u"disk full") {
        const WriteFault::FileSizeLimit full(16);
        if (!full.isActive()) {
            QSKIP("no file size limit on this system");
        }
        QVERIFY(!file.write(SettingsLoopContent::line(0)));
        // EFBIG: "File too large"
        QVERIFY2(file.errorString().contains(QLatin1String("large")), qPrintable(file.errorString()));
    } else if (fault == u"read-only") {
        const WriteFault::ReadOnlyFolder readOnly(dir.path());
        if (!readOnly.isReadOnly()) {
            QSKIP("cannot make a folder read-only for this user on this file system");
        }
        QVERIFY(!file.write(SettingsLoopContent::line(0)));
    } else {
        QVERIFY(!file.write(SettingsLoopContent::line(0)));
    }
    QVERIFY2(file.errorString().contains(path), qPrintable(file.errorString()));
    QCOMPARE(readBytes(path), OldContent);
    QCOMPARE(filesIn(dir), QStringList{baseName + QLatin1String(".ini")});
}

void SettingsFileTest::kill_duringSaves_neverLeavesAPartialFile()
{
    const QString program = QCoreApplication::applicationDirPath() + QLatin1String("/settings_save_loop");
    const QByteArray lines[2] = {SettingsLoopContent::line(0).toUtf8(), SettingsLoopContent::line(1).toUtf8()};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KT41A0001.ini"));

    constexpr int Runs = 100;
    int intact = 0;
    for (int run = 0; run < Runs; ++run) {
        QProcess saver;
        saver.start(program, {path});
        QVERIFY2(saver.waitForReadyRead(30000), "the save loop did not start");
        QThread::usleep(QRandomGenerator::global()->bounded(20000));
        saver.kill(); // SIGKILL
        QVERIFY(saver.waitForFinished(30000));
        const QByteArray content = readBytes(path);
        intact += (content == lines[0] || content == lines[1]) ? 1 : 0;
    }
    QCOMPARE(intact, Runs);
}

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "settingsfile_test.moc"
