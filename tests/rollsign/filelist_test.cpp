#include "filelist.h"

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
    void setPath_listsOnlyVisibleFaceFilesInAnyCase();
    void setPath_sortsByNameIgnoringCaseWithStableTies();
    void setPath_keepsJapaneseNamesAndTrailingSeparator();
    void setPath_failure_keepsPreviousList_data();
    void setPath_failure_keepsPreviousList();
    void setPath_unreadableFolder_givesSystemDescription();
    void setPath_emptyText_listsNothingWithoutFailing();
};

void FileListTest::setPath_listsOnlyVisibleFaceFilesInAnyCase()
{
    QTemporaryDir dir;
    const QStringList listed = {"a.bmp", "B.WMF", "c.Emf", "d.gif", "e.jpg", "f.JPEG", "FACE.BMP"};
    for (const QString &name : listed) {
        touch(dir.filePath(name));
    }
    for (const char *name : {"g.png", "h.bmp.txt", "bmp", ".bmp", ".hidden.jpg", "noext", "x.jpe"}) {
        touch(dir.filePath(QString::fromUtf8(name)));
    }
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.bmp")));

    FileList list;
    QVERIFY(list.setPath(dir.path()).ok());
    QCOMPARE(list.names(), listed);
    QCOMPARE(list.count(), 7);
    QCOMPARE(list.path(), dir.path());
    QCOMPARE(list.name(0), QStringLiteral("a.bmp"));
    QCOMPARE(list.name(7), QString());
    QCOMPARE(list.name(-1), QString());
}

void FileListTest::setPath_sortsByNameIgnoringCaseWithStableTies()
{
    QTemporaryDir dir;
    for (const char *name : {"b.bmp", "A.bmp", "a.bmp", "C10.bmp", "c2.bmp", "_x.bmp"}) {
        touch(dir.filePath(QString::fromUtf8(name)));
    }
    FileList list;
    QVERIFY(list.setPath(dir.path()).ok());
    const QStringList expected = {"_x.bmp", "A.bmp", "a.bmp", "b.bmp", "C10.bmp", "c2.bmp"};
    QCOMPARE(list.names(), expected);
    // Reading the folder again gives the same positions.
    QVERIFY(list.setPath(dir.path() + QLatin1Char('/')).ok());
    QCOMPARE(list.names(), expected);
}

void FileListTest::setPath_keepsJapaneseNamesAndTrailingSeparator()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("方向幕フォルダー"));
    QVERIFY(QDir().mkpath(folder));
    touch(folder + QStringLiteral("/系統１２　駅前.BMP"));
    FileList list;
    QVERIFY(list.setPath(folder + QDir::separator()).ok());
    QCOMPARE(list.names(), QStringList{QStringLiteral("系統１２　駅前.BMP")});
}

void FileListTest::setPath_failure_keepsPreviousList_data()
{
    QTest::addColumn<QString>("subPath");
    QTest::addColumn<int>("status");
    QTest::newRow("missing folder") << "missing" << int(FileList::Status::NotFound);
    QTest::newRow("missing parent") << "missing/deeper/" << int(FileList::Status::NotFound);
    QTest::newRow("a file") << "old/a.bmp" << int(FileList::Status::Failed);
    QTest::newRow("below a file") << "old/a.bmp/x" << int(FileList::Status::Failed);
    QTest::newRow("NUL inside") << QStringLiteral("old") + QChar(0) + QStringLiteral("x")
                                << int(FileList::Status::Failed);
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

    const FileList::SetPathResult result = list.setPath(dir.path() + QLatin1Char('/') + subPath);
    QCOMPARE(int(result.status), status);
    QVERIFY(!result.description.isEmpty());
    QCOMPARE(list.path(), dir.filePath(QStringLiteral("old")));
    QCOMPARE(list.names(), QStringList{QStringLiteral("a.bmp")});
}

void FileListTest::setPath_unreadableFolder_givesSystemDescription()
{
#ifdef Q_OS_UNIX
    if (geteuid() == 0) {
        QSKIP("The superuser reads every folder");
    }
    QTemporaryDir dir;
    const QString locked = dir.filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkpath(locked));
    QVERIFY(QFile::setPermissions(locked, {}));
    FileList list;
    const FileList::SetPathResult result = list.setPath(locked);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(result.status, FileList::Status::Failed);
    QCOMPARE(result.description, QString::fromLocal8Bit(std::make_error_code(std::errc::permission_denied).message()));
#else
    QSKIP("Folder permissions are tested on Unix");
#endif
}

void FileListTest::setPath_emptyText_listsNothingWithoutFailing()
{
    QTemporaryDir dir;
    touch(dir.filePath(QStringLiteral("a.bmp")));
    FileList list;
    QVERIFY(list.setPath(dir.path()).ok());
    QVERIFY(list.setPath(QString()).ok());
    QCOMPARE(list.count(), 0);
    QCOMPARE(list.path(), QString());
}

QTEST_GUILESS_MAIN(FileListTest)
#include "filelist_test.moc"
