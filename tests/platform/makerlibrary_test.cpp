#include "platform/makerlibrary.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

namespace {

// The folder of a stand-in library built under the real library's name; its variant decides what
// RovandaHpURL returns.
QString variantFolder(const QString &variant)
{
    return QStringLiteral(FAKE_MAKER_LIBRARY_ROOT "/") + variant;
}

// The address read, or an empty one.
QUrl addressOf(const Result<QUrl> &result)
{
    return result ? *result : QUrl();
}

} // namespace

// The real library beside the program is used by the version window's tests.
class MakerLibraryTest : public QObject
{
    Q_OBJECT

private slots:
    void homePage_acceptsOnlyWebAddresses_data();
    void homePage_acceptsOnlyWebAddresses();
    void homePage_missingOrBrokenLibrary_givesTheSystemsDescriptionAndTriesAgain();
    void homePage_plantedLibraries_areNeverLoaded_data();
    void homePage_plantedLibraries_areNeverLoaded();
};

void MakerLibraryTest::homePage_acceptsOnlyWebAddresses_data()
{
    QTest::addColumn<QString>("variant");
    QTest::addColumn<QString>("address"); // empty: refused
    QTest::addColumn<QString>("errorPart");
    const char *const web = "ウェブのアドレス";
    const struct
    {
        const char *tag, *variant, *address, *errorPart;
    } rows[] = {
        {"https", "web", "https://www.rovanda.example/fake/", ""},
        {"upper-case http", "upper", "http://www.rovanda.example/Index.html", ""},
        {"file with a host", "passwd", "", web},
        {"no host", "nohost", "", web},
        {"null result", "null", "", "RovandaHpURL"},
        {"function missing", "nofunction", "", "RovandaHpURL"},
    };
    for (const auto &row : rows) {
        QTest::newRow(row.tag) << QString::fromUtf8(row.variant) << QString::fromUtf8(row.address)
                               << QString::fromUtf8(row.errorPart);
    }
}

void MakerLibraryTest::homePage_acceptsOnlyWebAddresses()
{
    QFETCH(QString, variant);
    QFETCH(QString, address);
    QFETCH(QString, errorPart);
    MakerLibrary library(variantFolder(variant));
    const Result<QUrl> result = library.homePage();
    QCOMPARE(addressOf(result), QUrl(address));
    QVERIFY2(errorPart.isEmpty() ? result.ok() : result.error().contains(errorPart), qPrintable(result.error()));
}

void MakerLibraryTest::homePage_missingOrBrokenLibrary_givesTheSystemsDescriptionAndTriesAgain()
{
    QTemporaryDir folder;
    MakerLibrary library(folder.path());
    Result<QUrl> result = library.homePage();
    QVERIFY(!result);
    // Our words in Japanese, then the system's as it gives them.
    const QString lead =
        QStringLiteral("ライブラリ %1 を読み込めません: ").arg(QDir::toNativeSeparators(library.filePath()));
    QCOMPARE(result.error(), lead + qt_error_string(ENOENT));

    QFile file(library.filePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a library");
    file.close();
    result = library.homePage();
    QVERIFY(!result);
    QVERIFY2(result.error().startsWith(lead), qPrintable(result.error()));
#ifdef Q_OS_LINUX
    // The dynamic linker's description, not Qt's sentence around it.
    QCOMPARE(result.error(), lead + library.filePath() + QStringLiteral(": file too short"));
#endif

    QVERIFY(file.remove());
    QVERIFY(QFile::copy(variantFolder(QStringLiteral("web")) + u'/' + MakerLibrary::fileName(), library.filePath()));
    QCOMPARE(addressOf(library.homePage()), QUrl(QStringLiteral("https://www.rovanda.example/fake/")));
}

void MakerLibraryTest::homePage_plantedLibraries_areNeverLoaded_data()
{
    QTest::addColumn<QString>("folder"); // "empty": an empty absolute folder
    QTest::newRow("empty folder, planted in the current one and on the search path") << "empty";
    QTest::newRow("empty text") << "";
    QTest::newRow("dot") << ".";
    QTest::newRow("relative") << "planted";
}

void MakerLibraryTest::homePage_plantedLibraries_areNeverLoaded()
{
    QFETCH(QString, folder);
#if defined(Q_OS_LINUX)
    // CTest starts this test with the planted library's folder on the library search path.
    QVERIFY(qEnvironmentVariable("LD_LIBRARY_PATH").contains(variantFolder(QStringLiteral("planted"))));
#endif
    QTemporaryDir empty;
    const QString previous = QDir::currentPath();
    // From here "." holds the planted library and "planted" names a folder with another copy.
    QVERIFY(QDir::setCurrent(variantFolder(QStringLiteral("planted"))));
    QVERIFY(QDir::current().mkpath(QStringLiteral("planted")));
    QFile::copy(MakerLibrary::fileName(), QStringLiteral("planted/") + MakerLibrary::fileName());
    MakerLibrary library(folder == u"empty" ? empty.path() : folder);
    const Result<QUrl> result = library.homePage();
    QDir::setCurrent(previous);
    QVERIFY(!result);
    QVERIFY(!result.error().isEmpty());
}

QTEST_GUILESS_MAIN(MakerLibraryTest)
#include "makerlibrary_test.moc"
