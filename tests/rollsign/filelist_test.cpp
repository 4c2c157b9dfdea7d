#include "rollsign/filelist.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

} // namespace

class FileListTest : public QObject
{
    Q_OBJECT

private slots:
    void setPath_listsVisibleFaceFilesSortedIgnoringCase();
    void setPath_failure_keepsPreviousList_data();
    void setPath_failure_keepsPreviousList();
};

void FileListTest::setPath_listsVisibleFaceFilesSortedIgnoringCase()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("方向幕フォルダー"));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/folder.bmp")));
    const QStringList listed = {"_x.bmp",
        "A.bmp",
        "a.bmp",
        "B.WMF",
        "C10.bmp",
        "c2.Emf",
        "d.gif",
        "e.jpg",
        "f.JPEG",
        QStringLiteral("系統１２　駅前.BMP")};
    for (const QString &name : listed) {
        touch(folder + u'/' + name);
    }
    for (const char *name : {"g.png", "h.bmp.txt", "bmp", ".bmp", ".hidden.jpg", "noext", "x.jpe"}) {
        touch(folder + u'/' + QString::fromUtf8(name));
    }

    FileList list;
    const FileList::SetPathResult result = list.setPath(folder + QDir::separator());
    QVERIFY(result);
    QCOMPARE(*result, int(listed.size()));
    QCOMPARE(list.names(), listed);
    QVERIFY(!FileList::matchesPattern(QStringLiteral(".bmp"))); // a name, not only an extension
    QCOMPARE(list.name(10), QString());
    QCOMPARE(list.name(-1), QString());

    // An empty folder text lists nothing, without failing.
    QVERIFY(list.setPath(QString()).ok());
    QCOMPARE(list.count(), 0);
}

void FileListTest::setPath_failure_keepsPreviousList_data()
{
    QTest::addColumn<QString>("subPath");
    QTest::addColumn<int>("status");
    QTest::newRow("missing folder") << "missing" << int(FileList::Status::NotFound);
    QTest::newRow("a file") << "old/a.bmp" << int(FileList::Status::NotFound);
    QTest::newRow("below a file") << "old/a.bmp/x" << int(FileList::Status::NotFound);
    QTest::newRow("name too long") << QString(300, u'n') << int(FileList::Status::Failed);
    QTest::newRow("NUL inside") << QStringLiteral("old") + QChar(0) + QStringLiteral("x")
                                << int(FileList::Status::Failed);
#ifdef Q_OS_UNIX
    QTest::newRow("unreadable folder") << "locked" << int(FileList::Status::Failed);
#endif
}

void FileListTest::setPath_failure_keepsPreviousList()
{
    QFETCH(QString, subPath);
    QFETCH(int, status);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("old")));
    touch(dir.filePath(QStringLiteral("old/a.bmp")));
    FileList list;
    QVERIFY(list.setPath(dir.filePath(QStringLiteral("old"))).ok());
#ifdef Q_OS_UNIX
    if (subPath == u"locked") {
        if (geteuid() == 0) {
            QSKIP("The superuser reads every folder");
        }
        QVERIFY(QDir(dir.path()).mkdir(subPath));
        QVERIFY(QFile::setPermissions(dir.filePath(subPath), {}));
    }
#endif

    const FileList::SetPathResult result = list.setPath(dir.path() + QLatin1Char('/') + subPath);
    QVERIFY(!result);
    QCOMPARE(int(result.error().status), status);
    // The system's own description of the failure.
    QVERIFY(!result.error().description.isEmpty());
    if (subPath == u"locked") {
        QCOMPARE(result.error().description,
            QString::fromLocal8Bit(std::make_error_code(std::errc::permission_denied).message()));
    }
    QCOMPARE(list.path(), dir.filePath(QStringLiteral("old")));
    QCOMPARE(list.names(), QStringList{QStringLiteral("a.bmp")});
}

QTEST_GUILESS_MAIN(FileListTest)
#include "filelist_test.moc"
