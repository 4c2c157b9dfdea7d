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
    void upAndDown_stopAtTheEndsWithoutWrapping();
    void emptyFolder_downMovesOnUpMovesBack();
    void shorterFolder_positionKeptAndSteppedBack();
    void jump_data();
    void jump();
    void jump_leavesPositionAlone();
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

void RollSignTest::upAndDown_stopAtTheEndsWithoutWrapping()
{
    QTemporaryDir root;
    const QString folder = makeFolder(root, QStringLiteral("f"), 3);
    RollSign sign;
    sign.setDesiMakuPath(folder);
    QVERIFY(sign.switchFolder().ok());

    QCOMPARE(sign.keyDown(RollSign::KeyUp), std::nullopt);
    QCOMPARE(sign.DesiMakuIndex(), 0);
    QCOMPARE(sign.keyDown(RollSign::KeyDown), face(folder, 1));
    QCOMPARE(sign.keyDown(RollSign::KeyDown), face(folder, 2));
    QCOMPARE(sign.keyDown(RollSign::KeyDown), std::nullopt);
    QCOMPARE(sign.DesiMakuIndex(), 2);
    QCOMPARE(sign.keyDown(RollSign::KeyUp), face(folder, 1));
    QCOMPARE(sign.keyDown(39), std::nullopt);
    QCOMPARE(sign.DesiMakuIndex(), 1);
}

void RollSignTest::emptyFolder_downMovesOnUpMovesBack()
{
    QTemporaryDir root;
    RollSign sign;
    sign.setDesiMakuPath(makeFolder(root, QStringLiteral("empty"), 0));
    QVERIFY(sign.switchFolder().ok());
    QCOMPARE(sign.keyDown(RollSign::KeyDown), std::nullopt);
    QCOMPARE(sign.DesiMakuIndex(), 1);
    QCOMPARE(sign.keyDown(RollSign::KeyUp), std::nullopt);
    QCOMPARE(sign.DesiMakuIndex(), 0);
}

void RollSignTest::shorterFolder_positionKeptAndSteppedBack()
{
    QTemporaryDir root;
    const QString longer = makeFolder(root, QStringLiteral("long"), 6);
    const QString shorter = makeFolder(root, QStringLiteral("short"), 2);
    RollSign sign;
    sign.setDesiMakuPath(longer);
    QVERIFY(sign.switchFolder().ok());
    for (int i = 0; i < 4; ++i) {
        QVERIFY(sign.keyDown(RollSign::KeyDown));
    }

    sign.setDesiMakuPath(shorter);
    QVERIFY(sign.switchFolder().ok());
    QCOMPARE(sign.DesiMakuIndex(), 4);
    QCOMPARE(sign.keyDown(RollSign::KeyDown), std::nullopt);
    QCOMPARE(sign.DesiMakuIndex(), 5);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(sign.keyDown(RollSign::KeyUp), std::nullopt);
    }
    QCOMPARE(sign.keyDown(RollSign::KeyUp), face(shorter, 1));
    QCOMPARE(sign.DesiMakuIndex(), 1);
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

void RollSignTest::jump_leavesPositionAlone()
{
    QTemporaryDir root;
    const QString folder = makeFolder(root, QStringLiteral("f"), 8);
    RollSign sign;
    sign.setDesiMakuPath(folder);
    QVERIFY(sign.switchFolder().ok());
    sign.keyDown(RollSign::KeyDown);
    sign.keyDown(RollSign::KeyDown);
    QCOMPARE(sign.jump(QStringLiteral("5")), face(folder, 5));
    QCOMPARE(sign.DesiMakuIndex(), 2);
    QCOMPARE(sign.keyDown(RollSign::KeyDown), face(folder, 3));
}

QTEST_GUILESS_MAIN(RollSignTest)
#include "rollsign_test.moc"
