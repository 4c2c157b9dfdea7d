#include "makerlibrary.h"
#include "programfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

namespace {

QString variantFolder(const QString &variant)
{
    return QStringLiteral(FAKE_MAKER_LIBRARY_ROOT "/") + variant;
}

} // namespace

class MakerLibraryTest : public QObject
{
    Q_OBJECT

private slots:
    void homePage_realLibraryBesideTheProgram_givesItsWebAddress();
    void homePage_acceptsOnlyWebAddresses_data();
    void homePage_acceptsOnlyWebAddresses();
    void homePage_failedCalls_data();
    void homePage_failedCalls();
    void homePage_missingLibrary_givesTheSystemsDescription();
    void homePage_fileThatIsNoLibrary_givesTheLoadersDescription();
    void homePage_ignoresCurrentFolderAndSearchPath();
    void homePage_relativeFolder_isRefused_data();
    void homePage_relativeFolder_isRefused();
    void homePage_afterFailure_triesAgain();
};

void MakerLibraryTest::homePage_realLibraryBesideTheProgram_givesItsWebAddress()
{
    MakerLibrary library(ProgramFile::folder());
    const MakerLibrary::Result result = library.homePage();
    QCOMPARE(result.error, QString());
    QCOMPARE(result.address, QUrl(QStringLiteral("https://www.rovanda.example/")));
    // A second call uses the library already loaded and gives a fresh copy of the same text.
    QCOMPARE(library.homePage().address, result.address);
}

void MakerLibraryTest::homePage_acceptsOnlyWebAddresses_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("address"); // empty: refused
    QTest::newRow("https") << "web"
                           << "https://www.rovanda.example/fake/";
    QTest::newRow("upper-case http") << "upper"
                                     << "http://www.rovanda.example/Index.html";
    QTest::newRow("local file") << "passwd"
                                << "";
    QTest::newRow("program name") << "calc"
                                  << "";
    QTest::newRow("script scheme") << "script"
                                   << "";
    QTest::newRow("no host") << "nohost"
                             << "";
}

void MakerLibraryTest::homePage_acceptsOnlyWebAddresses()
{
    QFETCH(QString, variant);
    QFETCH(QString, address);
    MakerLibrary library(variantFolder(variant));
    const MakerLibrary::Result result = library.homePage();
    if (address.isEmpty()) {
        QVERIFY(result.address.isEmpty());
        QVERIFY2(result.error.contains(QStringLiteral("ウェブのアドレス")), qPrintable(result.error));
    } else {
        QCOMPARE(result.error, QString());
        QCOMPARE(result.address, QUrl(address));
    }
}

void MakerLibraryTest::homePage_failedCalls_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("errorPart");
    QTest::newRow("null result") << "null"
                                 << "RovandaHpURL";
    QTest::newRow("function missing") << "nofunction"
                                      << "RovandaHpURL";
}

void MakerLibraryTest::homePage_failedCalls()
{
    QFETCH(QString, variant);
    QFETCH(QString, errorPart);
    MakerLibrary library(variantFolder(variant));
    const MakerLibrary::Result result = library.homePage();
    QVERIFY(result.address.isEmpty());
    QVERIFY2(result.error.contains(errorPart), qPrintable(result.error));
}

void MakerLibraryTest::homePage_missingLibrary_givesTheSystemsDescription()
{
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    MakerLibrary library(empty.path());
    const MakerLibrary::Result result = library.homePage();
    QVERIFY(result.address.isEmpty());
    QVERIFY2(result.error.contains(QDir::toNativeSeparators(library.filePath())), qPrintable(result.error));
    QVERIFY2(result.error.endsWith(QStringLiteral(": ") + qt_error_string(ENOENT)), qPrintable(result.error));
}

void MakerLibraryTest::homePage_fileThatIsNoLibrary_givesTheLoadersDescription()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    MakerLibrary library(folder.path());
    QFile file(library.filePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a library");
    file.close();
    const MakerLibrary::Result result = library.homePage();
    QVERIFY(result.address.isEmpty());
    QVERIFY2(result.error.contains(library.filePath()), qPrintable(result.error));
}

void MakerLibraryTest::homePage_ignoresCurrentFolderAndSearchPath()
{
#if defined(Q_OS_LINUX)
    // CTest starts this test with the planted library's folder on the library search path.
    QVERIFY(qEnvironmentVariable("LD_LIBRARY_PATH").contains(variantFolder(QStringLiteral("planted"))));
#endif
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(variantFolder(QStringLiteral("planted"))));
    MakerLibrary library(empty.path());
    const MakerLibrary::Result result = library.homePage();
    QDir::setCurrent(previous);
    QVERIFY(result.address.isEmpty());
    QVERIFY(!result.error.isEmpty());
}

void MakerLibraryTest::homePage_relativeFolder_isRefused_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("empty") << "";
    QTest::newRow("dot") << ".";
    QTest::newRow("relative") << "planted";
}

void MakerLibraryTest::homePage_relativeFolder_isRefused()
{
    QFETCH(QString, folder);
    const QString previous = QDir::currentPath();
    // From here "." holds the planted library and "planted" names its folder.
    QVERIFY(QDir::setCurrent(variantFolder(QStringLiteral("planted"))));
    QVERIFY(QDir::current().mkpath(QStringLiteral("planted")));
    QFile::copy(MakerLibrary::fileName(), QStringLiteral("planted/") + MakerLibrary::fileName());
    MakerLibrary library(folder);
    const MakerLibrary::Result result = library.homePage();
    QDir::setCurrent(previous);
    QVERIFY(result.address.isEmpty());
    QVERIFY(!result.error.isEmpty());
}

void MakerLibraryTest::homePage_afterFailure_triesAgain()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    MakerLibrary library(folder.path());
    QVERIFY(!library.homePage().error.isEmpty());

    QVERIFY(QFile::copy(
        variantFolder(QStringLiteral("web")) + QLatin1Char('/') + MakerLibrary::fileName(), library.filePath()));
    const MakerLibrary::Result result = library.homePage();
    QCOMPARE(result.error, QString());
    QCOMPARE(result.address, QUrl(QStringLiteral("https://www.rovanda.example/fake/")));
}

QTEST_GUILESS_MAIN(MakerLibraryTest)
#include "makerlibrary_test.moc"
