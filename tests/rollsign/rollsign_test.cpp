#include "rollsign.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Sep = QString(QDir::separator());

// A folder with the given (empty) face files; the roll sign only lists them here.
QString makeFolder(const QTemporaryDir &root, const QString &name, int faces)
{
    const QString folder = root.filePath(name);
    QDir().mkpath(folder);
    for (int i = 0; i < faces; ++i) {
        QFile file(folder + QStringLiteral("/%1.bmp").arg(i, 2, 10, QLatin1Char('0')));
        file.open(QIODevice::WriteOnly);
    }
    return QDir::toNativeSeparators(folder);
}

QString face(const QString &folder, int index)
{
    return folder + Sep + QStringLiteral("%1.bmp").arg(index, 2, 10, QLatin1Char('0'));
}

} // namespace

class RollSignTest : public QObject
{
    Q_OBJECT

private slots:
    void anyKey_appendsMissingSeparatorOnce_data();
    void anyKey_appendsMissingSeparatorOnce();
    void jump_data();
    void jump();
};

void RollSignTest::anyKey_appendsMissingSeparatorOnce_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty setting, Down") << QString() << 40 << Sep;
    QTest::newRow("folder, letter key") << QStringLiteral("faces") << 65 << QStringLiteral("faces") + Sep;
    QTest::newRow("folder, Up") << QStringLiteral("faces") << 38 << QStringLiteral("faces") + Sep;
    QTest::newRow("already ends in it") << QStringLiteral("faces") + Sep << 40 << QStringLiteral("faces") + Sep;
    QTest::newRow("spaces kept") << QStringLiteral(" faces ") << 13 << QStringLiteral(" faces ") + Sep;
}

void RollSignTest::anyKey_appendsMissingSeparatorOnce()
{
    QFETCH(QString, path);
    QFETCH(int, key);
    QFETCH(QString, expected);
    RollSign sign;
    sign.setDesiMakuPath(path);
    sign.keyDown(key);
    QCOMPARE(sign.DesiMakuPath(), expected);
    sign.keyDown(key);
    QCOMPARE(sign.DesiMakuPath(), expected);
}

void RollSignTest::jump_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<int>("expected"); // -1: no face
    QTest::newRow("empty display is 0") << QString() << 0;
    QTest::newRow("leading zeros") << QStringLiteral("007") << 7;
    QTest::newRow("last entry") << QStringLiteral("11") << 11;
    QTest::newRow("one past the end") << QStringLiteral("12") << -1;
    QTest::newRow("largest 16-bit number") << QStringLiteral("32767") << -1;
    QTest::newRow("beyond 16 bits") << QStringLiteral("99999") << -1;
    QTest::newRow("32768 wraps nowhere") << QStringLiteral("032768") << -1;
}

void RollSignTest::jump()
{
    QFETCH(QString, display);
    QFETCH(int, expected);
    QTemporaryDir root;
    const QString folder = makeFolder(root, QStringLiteral("twelve"), 12);
    RollSign sign;
    sign.setDesiMakuPath(folder);
    QVERIFY(sign.switchFolder().ok());

    const std::optional<QString> result = sign.jump(display);
    QCOMPARE(result, expected < 0 ? std::nullopt : std::optional<QString>(face(folder, expected)));
    QCOMPARE(sign.DesiMakuPath(), folder + Sep);
}

QTEST_GUILESS_MAIN(RollSignTest)
#include "rollsign_test.moc"
