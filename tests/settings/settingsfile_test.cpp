#include "settings/settingsfile.h"
#include "settings/settingsline.h"
#include "settingsloopcontent.h"
#include "support/files.h"
#include "writefault.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
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
    void besideProgram_addsTheSeparatorOnlyWhenMissing();
    void pathFor_besideTheProgramOrInTheUsersConfigFolder_data();
    void pathFor_besideTheProgramOrInTheUsersConfigFolder();
    void pathFor_theSystemsAnswer_readOnlyFolderGivesTheConfigFolder();
    void write_intoTheMissingConfigFolder_makesItForTheUserAlone();
    void write_whenTheConfigFolderCannotBeMade_reportsWhy();
    void write_thenRead_givesTheTextInUtf8();
    void read_theOriginalsCp932Bytes_givesTheJapanesePaths();
    void write_failing_reportsPathAndLeavesTheOldFile_data();
    void write_failing_reportsPathAndLeavesTheOldFile();
    void kill_duringSaves_neverLeavesAPartialFile();
};

void SettingsFileTest::besideProgram_addsTheSeparatorOnlyWhenMissing()
{
    const auto besideProgram = [](const char *folder, const char *baseName) {
        return QDir::fromNativeSeparators(
            SettingsFile::besideProgram(QString::fromUtf8(folder), QString::fromUtf8(baseName)));
    };
    QCOMPARE(besideProgram("/opt/bus", "abc"), QStringLiteral("/opt/bus/abc.ini"));
    QCOMPARE(besideProgram("/opt/bus/", "K"), QStringLiteral("/opt/bus/K.ini"));
    QCOMPARE(besideProgram("/", "K"), QStringLiteral("/K.ini"));
}

void SettingsFileTest::pathFor_besideTheProgramOrInTheUsersConfigFolder_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("holdsTheFile");
    QTest::addColumn<QString>("xdgConfigHome");
    QTest::addColumn<QString>("expected"); // "beside", or the folder under the home folder

    QTest::newRow("writable folder") << true << false << "/xdg"
                                     << "beside";
    QTest::newRow("read-only folder") << false << false << ""
                                      << ".config/porukano";
    QTest::newRow("read-only folder holding the file") << false << true << "/xdg"
                                                       << "beside";
    QTest::newRow("XDG_CONFIG_HOME set") << false << false << "/xdg"
                                         << "/xdg/porukano";
    QTest::newRow("XDG_CONFIG_HOME not absolute") << false << false << "xdg"
                                                  << ".config/porukano";
}

void SettingsFileTest::pathFor_besideTheProgramOrInTheUsersConfigFolder()
{
    QFETCH(bool, writable);
    QFETCH(bool, holdsTheFile);
    QFETCH(QString, xdgConfigHome);
    QFETCH(QString, expected);
    QTemporaryDir program;
    if (holdsTheFile) {
        writeBytes(program.filePath(QStringLiteral("KT41A0001.ini")), OldContent);
    }
    QStringList asked;
    const SettingsFile::Surroundings surroundings{[&](const QString &folder) {
                                                      asked << folder;
                                                      return writable;
                                                  },
        xdgConfigHome,
        QStringLiteral("/home/運転士")};

    const QString path =
        QDir::fromNativeSeparators(SettingsFile::pathFor(program.path(), QStringLiteral("KT41A0001"), surroundings));

    if (expected == u"beside") {
        QCOMPARE(path, program.filePath(QStringLiteral("KT41A0001.ini")));
    } else {
        QCOMPARE(path, QDir(QStringLiteral("/home/運転士")).filePath(expected + QLatin1String("/KT41A0001.ini")));
    }
    // Only the program's own folder is asked about, and not when it already holds the file.
    QCOMPARE(asked, holdsTheFile ? QStringList() : QStringList{program.path()});
}

void SettingsFileTest::pathFor_theSystemsAnswer_readOnlyFolderGivesTheConfigFolder()
{
    QTemporaryDir program;
    QTemporaryDir config;
    const QByteArray oldXdg = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    const auto restore =
        qScopeGuard([&] { oldXdg.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", oldXdg); });
    const QString beside = program.filePath(QStringLiteral("KT41A0001.ini"));
    const auto pathFor = [&] {
        return QDir::fromNativeSeparators(SettingsFile::pathFor(program.path(), QStringLiteral("KT41A0001")));
    };
    QVERIFY(SettingsFile::isFolderWritable(program.path()));
    QCOMPARE(pathFor(), beside);
    QVERIFY(!SettingsFile::isFolderWritable(program.filePath(QStringLiteral("missing"))));
#ifdef Q_OS_WIN
    QSKIP("on Windows the file is always beside the program");
#endif
    {
        // Not writable for an ordinary user through its mode, for root through the immutable mark.
        const WriteFault::ReadOnlyFolder readOnly(program.path());
        if (!readOnly.isReadOnly()) {
            QSKIP("cannot make a folder read-only for this user on this file system");
        }
        QVERIFY(!SettingsFile::isFolderWritable(program.path()));
        QCOMPARE(pathFor(), config.filePath(QStringLiteral("porukano/KT41A0001.ini")));
    }
    // A file put there before the folder became read-only keeps the settings beside the program.
    writeBytes(beside, OldContent);
    const WriteFault::ReadOnlyFolder readOnly(program.path());
    QCOMPARE(pathFor(), beside);
}

void SettingsFileTest::write_intoTheMissingConfigFolder_makesItForTheUserAlone()
{
    QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral(".config/porukano"));
    const QString path = folder + QLatin1String("/KT41A0001.ini");
    const Result<QString> none = SettingsFile(path).read();
    QVERIFY(!none.ok());
    QVERIFY2(!QFileInfo::exists(home.filePath(QStringLiteral(".config"))), "reading makes no folder");

    SettingsFile file(path);
    QVERIFY2(file.write(QString::fromLatin1(OldContent)), qPrintable(file.errorString()));
    QCOMPARE(readBytes(path), OldContent);
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), OnlyTheFile);
#ifdef Q_OS_UNIX
    const auto userAlone = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    QCOMPARE(QFileInfo(folder).permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), userAlone);
    QCOMPARE(QFileInfo(home.filePath(QStringLiteral(".config"))).permissions()
            & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
        userAlone);
#endif
    // The next save finds the folder there.
    const QString line = QStringLiteral("0,0,0,3225,\"\",\"\",0,0,\"\",3450,2010,#TRUE#,#TRUE#,10000,6000,0\r\n");
    QVERIFY2(file.write(line), qPrintable(file.errorString()));
    QCOMPARE(readBytes(path), line.toLatin1());
}

void SettingsFileTest::write_whenTheConfigFolderCannotBeMade_reportsWhy()
{
    QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral(".config/porukano/KT41A0001.ini"));
    const WriteFault::ReadOnlyFolder readOnly(home.path());
    if (!readOnly.isReadOnly()) {
        QSKIP("cannot make a folder read-only for this user on this file system");
    }
    SettingsFile file(path);
    QVERIFY(!file.write(QString::fromLatin1(OldContent)));
    // The file's path, then the folder that could not be made and the system's reason.
    QVERIFY2(file.errorString().startsWith(QDir::toNativeSeparators(path) + QLatin1String(": ")
                 + QDir::toNativeSeparators(home.filePath(QStringLiteral(".config"))) + QLatin1String(": ")),
        qPrintable(file.errorString()));
    QVERIFY(!QFileInfo::exists(home.filePath(QStringLiteral(".config"))));
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
    const QString path = SettingsFile::besideProgram(dir.path(), baseName);
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
