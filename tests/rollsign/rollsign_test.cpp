#include "rollsign/rollsign.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Sep = QString(QDir::separator());

// A folder `name` holding the (empty) face files 00.bmp, 01.bmp, ...; the roll sign only lists them.
QString makeFolder(const QTemporaryDir &root, const QString &name, int faces)
{
    const QString folder = root.filePath(name);
    QDir().mkpath(folder);
    for (int i = 0; i < faces; ++i) {
        QFile(folder + QStringLiteral("/%1.bmp").arg(i, 2, 10, QLatin1Char('0'))).open(QIODevice::WriteOnly);
    }
    return QDir::toNativeSeparators(folder);
}

} // namespace

class RollSignTest : public QObject
{
    Q_OBJECT

private slots:
    void keys_appendTheSeparatorAndStepWithoutWrapping_data();
    void keys_appendTheSeparatorAndStepWithoutWrapping();
    void jump_findsTheTypedPositionAndLeavesTheStep_data();
    void jump_findsTheTypedPositionAndLeavesTheStep();
};

void RollSignTest::keys_appendTheSeparatorAndStepWithoutWrapping_data()
{
    QTest::addColumn<int>("faces"); // -1: an empty setting
    QTest::addColumn<QString>("keys"); // U Up, D Down, S switch to a folder "b" of two faces
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("face"); // the face the last key asks for; empty: none
    QTest::newRow("Up at the first face") << 3 << "U" << 0 << "";
    QTest::newRow("Down to the last face") << 3 << "DD" << 2 << "a/02.bmp";
    QTest::newRow("Down at the last face") << 3 << "DDD" << 2 << "";
    QTest::newRow("Up after Down") << 3 << "DDU" << 1 << "a/01.bmp";
    QTest::newRow("empty folder, Down moves on") << 0 << "D" << 1 << "";
    QTest::newRow("shorter list, Down moves further") << 5 << "DDDDSD" << 5 << "";
    QTest::newRow("shorter list, Up back to its last") << 5 << "DDDDSUUU" << 1 << "b/01.bmp";
    QTest::newRow("empty setting") << -1 << "XD" << 1 << "";
}

void RollSignTest::keys_appendTheSeparatorAndStepWithoutWrapping()
{
    QFETCH(int, faces);
    QFETCH(QString, keys);
    QFETCH(int, index);
    QFETCH(QString, face);
    QTemporaryDir root;
    const QString a = makeFolder(root, QStringLiteral("a"), faces);
    const QString b = makeFolder(root, QStringLiteral("b"), 2);
    QString folder = faces < 0 ? QString() : a;
    RollSign sign;
    sign.setDesiMakuPath(folder);
    QVERIFY(sign.switchFolder().ok());

    std::optional<QString> last;
    for (QChar key : keys) {
        if (key == u'S') {
            sign.setDesiMakuPath(folder = b);
            QVERIFY(sign.switchFolder().ok());
            last.reset();
        } else {
            last = sign.keyDown(key == u'U' ? 38 : key == u'D' ? 40 : 65);
        }
    }
    QCOMPARE(sign.DesiMakuIndex(), index);
    QCOMPARE(last.value_or(QString()), face.isEmpty() ? face : QDir::toNativeSeparators(root.filePath(face)));
    // Every key appends the missing separator to the setting, once.
    QCOMPARE(sign.DesiMakuPath(), folder + Sep);
}

void RollSignTest::jump_findsTheTypedPositionAndLeavesTheStep_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<int>("expected"); // -1: no face
    QTest::newRow("empty display is 0") << QString() << 0;
    QTest::newRow("leading zeros") << QStringLiteral("007") << 7;
    QTest::newRow("last entry") << QStringLiteral("11") << 11;
    QTest::newRow("one past the end") << QStringLiteral("12") << -1;
    QTest::newRow("beyond 32 bits is no number, not 0") << QStringLiteral("99999999999") << -1;
    QTest::newRow("65543 does not wrap to 7") << QStringLiteral("65543") << -1;
}

void RollSignTest::jump_findsTheTypedPositionAndLeavesTheStep()
{
    QFETCH(QString, display);
    QFETCH(int, expected);
    QTemporaryDir root;
    const QString folder = makeFolder(root, QStringLiteral("twelve"), 12);
    RollSign sign;
    sign.setDesiMakuPath(folder);
    QVERIFY(sign.switchFolder().ok());
    sign.keyDown(40);
    sign.setDesiMakuPath(folder); // without its separator again

    const std::optional<QString> result = sign.jump(display);
    QCOMPARE(result.value_or(QString()),
        expected < 0 ? QString() : folder + Sep + QStringLiteral("%1.bmp").arg(expected, 2, 10, QLatin1Char('0')));
    QCOMPARE(sign.DesiMakuPath(), folder + Sep);
    QCOMPARE(sign.DesiMakuIndex(), 1);
}

QTEST_GUILESS_MAIN(RollSignTest)
#include "rollsign_test.moc"
