#include "settings/settingsline.h"

#include <QTest>

namespace {

const QString ExampleLine = QStringLiteral("1500,3000,9000,6000,\"C:\\Signs\\\",\"\",0,0,\"C:\\Pictures\\board.gif\","
                                           "3450,2010,#TRUE#,#FALSE#,6000,10000,1\r\n");

// The example line with field `field` (counted from 1) replaced by `text`.
QString withField(int field, const QString &text)
{
    QStringList fields = ExampleLine.chopped(2).split(QLatin1Char(','));
    fields[field - 1] = text;
    return fields.join(QLatin1Char(',')) + QLatin1String("\r\n");
}

// The example line cut right after field `field`.
QString cutAfter(int field)
{
    return ExampleLine.chopped(2).split(QLatin1Char(',')).mid(0, field).join(QLatin1Char(',')) + QLatin1String("\r\n");
}

} // namespace

class SettingsLineTest : public QObject
{
    Q_OBJECT

private slots:
    void exampleLine_decodesAndEncodesByteForByte();
    void failure_keepsTheFieldsReadBeforeIt();
    void formErrors_failAtTheirField_data();
    void formErrors_failAtTheirField();
    void numbers_atAndBeyondTheirLimits_data();
    void numbers_atAndBeyondTheirLimits();
    void blanksAroundFields_andAnythingAfterTheLast_areIgnored_data();
    void blanksAroundFields_andAnythingAfterTheLast_areIgnored();
    void textsWithQuotesAndLineBreaks_roundTrip_data();
    void textsWithQuotesAndLineBreaks_roundTrip();
    void valueRules_takeOnlySpeedsAndModesTheWindowsHave_data();
    void valueRules_takeOnlySpeedsAndModesTheWindowsHave();
};

void SettingsLineTest::exampleLine_decodesAndEncodesByteForByte()
{
    const auto result = SettingsLine::decode(ExampleLine);
    QVERIFY2(result.ok(), qPrintable(result.error().message));
    const AppSettings &s = *result;
    QCOMPARE(s.formLeft, 1500);
    QCOMPARE(s.formTop, 3000);
    QCOMPARE(s.panelLeft, 9000);
    QCOMPARE(s.panelTop, 6000);
    QCOMPARE(s.desiMakuPath, QStringLiteral("C:\\Signs\\"));
    QCOMPARE(s.reservedText, QString());
    QCOMPARE(s.kanbanPath, QStringLiteral("C:\\Pictures\\board.gif"));
    QCOMPARE(s.kanbanLeft, 3450);
    QCOMPARE(s.kanbanTop, 2010);
    QCOMPARE(s.kanbanShown, true);
    QCOMPARE(s.frameShown, false);
    QCOMPARE(s.frontSpeed, 6000);
    QCOMPARE(s.middleSpeed, 10000);
    QCOMPARE(s.middleDoorMode, 1);
    QCOMPARE(SettingsLine::encode(s), ExampleLine);
}

void SettingsLineTest::failure_keepsTheFieldsReadBeforeIt()
{
    const auto result = SettingsLine::decode(
        QStringLiteral("1,2,3,4,\"folder\",\"x\",5,7,\"board.gif\",10,oops,#TRUE#,#TRUE#,1,1,0\r\n"));
    QVERIFY(!result);
    const SettingsDecodeError &error = result.error();
    QCOMPARE(error.field, SettingsField::KanbanTop);
    QVERIFY(error.wasRead(SettingsField::KanbanLeft) && !error.wasRead(SettingsField::KanbanTop));
    QCOMPARE(error.settings.desiMakuPath, QStringLiteral("folder"));
    QCOMPARE(error.settings.kanbanLeft, 10);
    QCOMPARE(error.settings.kanbanTop, 0);
    QCOMPARE(error.settings.kanbanShown, false);
}

void SettingsLineTest::formErrors_failAtTheirField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("failingField");

    QTest::newRow("empty text") << QString() << 1;
    QTest::newRow("blank line") << QStringLiteral("   \r\n") << 1;
    QTest::newRow("cut after field 9") << cutAfter(9) << 10;
    QTest::newRow("cut after field 15") << cutAfter(15) << 16;
    QTest::newRow("cut without line end") << ExampleLine.left(ExampleLine.indexOf(QLatin1String(",#FALSE#"))) << 13;
    QTest::newRow("empty number") << withField(2, QString()) << 2;
    QTest::newRow("number with a letter") << withField(1, QStringLiteral("15x0")) << 1;
    QTest::newRow("number with a plus") << withField(4, QStringLiteral("+6000")) << 4;
    QTest::newRow("lone minus") << withField(7, QStringLiteral("-")) << 7;
    QTest::newRow("two numbers in a field") << withField(10, QStringLiteral("34 50")) << 10;
    QTest::newRow("text unquoted") << withField(5, QStringLiteral("C:\\Signs\\")) << 5;
    QTest::newRow("text without closing quote") << withField(9, QStringLiteral("\"C:\\board.gif")) << 9;
    QTest::newRow("text followed by more") << withField(9, QStringLiteral("\"a\"b")) << 9;
    QTest::newRow("flag lower case") << withField(12, QStringLiteral("#true#")) << 12;
    QTest::newRow("flag with more") << withField(12, QStringLiteral("#TRUE#X")) << 12;
    QTest::newRow("mode with a letter") << withField(16, QStringLiteral("1a")) << 16;
    QTest::newRow("line break between fields")
        << QString(ExampleLine).replace(QLatin1String(",#TRUE#"), QLatin1String("\r\n#TRUE#")) << 12;
    QTest::newRow("semicolons") << QString(ExampleLine).replace(QLatin1Char(','), QLatin1Char(';')) << 1;
}

void SettingsLineTest::formErrors_failAtTheirField()
{
    QFETCH(QString, text);
    QFETCH(int, failingField);
    const auto result = SettingsLine::decode(text);
    QVERIFY(!result.ok());
    QCOMPARE(int(result.error().field), failingField);
    const QString &message = result.error().message;
    QVERIFY2(message.startsWith(QStringLiteral("field %1 ").arg(failingField)), qPrintable(message));
}

void SettingsLineTest::numbers_atAndBeyondTheirLimits_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");

    QTest::newRow("32-bit max") << 1 << QStringLiteral("2147483647") << true;
    QTest::newRow("32-bit max + 1") << 1 << QStringLiteral("2147483648") << false;
    QTest::newRow("32-bit min") << 2 << QStringLiteral("-2147483648") << true;
    QTest::newRow("32-bit min - 1") << 2 << QStringLiteral("-2147483649") << false;
    QTest::newRow("far beyond") << 8 << QString(400, QLatin1Char('9')) << false;
    QTest::newRow("leading zeros") << 7 << QStringLiteral("0000000000000000000000005") << true;
    QTest::newRow("minus zero") << 10 << QStringLiteral("-0") << true;
    QTest::newRow("speed beyond 16 bits still fits the field") << 14 << QStringLiteral("40000") << true;
    QTest::newRow("16-bit max") << 16 << QStringLiteral("32767") << true;
    QTest::newRow("16-bit max + 1") << 16 << QStringLiteral("32768") << false;
    QTest::newRow("16-bit min") << 16 << QStringLiteral("-32768") << true;
    QTest::newRow("16-bit min - 1") << 16 << QStringLiteral("-32769") << false;
}

void SettingsLineTest::numbers_atAndBeyondTheirLimits()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(bool, fits);
    const auto result = SettingsLine::decode(withField(field, text));
    QCOMPARE(result.ok(), fits);
    if (!fits) {
        QCOMPARE(int(result.error().field), field);
    } else {
        // What was read is written back as plain digits.
        const QString written = SettingsLine::encode(*result).chopped(2).split(QLatin1Char(','))[field - 1];
        QCOMPARE(written.toLongLong(), text.toLongLong());
    }
}

void SettingsLineTest::blanksAroundFields_andAnythingAfterTheLast_areIgnored_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("spaces and tabs around every field")
        << QStringLiteral(" 1500 ,\t3000,9000 , 6000,  \"C:\\Signs\\\" ,\"\",0,0,\"C:\\Pictures\\board.gif\",3450,"
                          "2010,\t#TRUE#\t,#FALSE#,6000,10000, 1 \r\n");
    QTest::newRow("no line end") << ExampleLine.chopped(2);
    QTest::newRow("LF only") << ExampleLine.chopped(2) + QLatin1Char('\n');
    QTest::newRow("more fields") << ExampleLine.chopped(2) + QLatin1String(",99,\"x\"\r\n");
    QTest::newRow("more lines") << ExampleLine + QLatin1String("garbage\r\n\"unclosed");
}

void SettingsLineTest::blanksAroundFields_andAnythingAfterTheLast_areIgnored()
{
    QFETCH(QString, text);
    const auto result = SettingsLine::decode(text);
    QVERIFY2(result.ok(), qPrintable(result.error().message));
    QCOMPARE(SettingsLine::encode(*result), ExampleLine);
}

void SettingsLineTest::textsWithQuotesAndLineBreaks_roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("quote inside") << QStringLiteral("a\"b");
    QTest::newRow("only quotes") << QStringLiteral("\"\"\"");
    QTest::newRow("line breaks") << QStringLiteral("/tmp/a\nb\r\nc\r/");
    QTest::newRow("commas and hashes") << QStringLiteral("/x,#TRUE#,\"y\",1/");
    QTest::newRow("nul and control characters") << QString::fromUtf16(u"a\u0000b\u0001\u007f");
}

void SettingsLineTest::textsWithQuotesAndLineBreaks_roundTrip()
{
    QFETCH(QString, text);
    AppSettings settings;
    settings.desiMakuPath = text;
    settings.reservedText = text + text;
    settings.kanbanPath = text;
    settings.middleDoorMode = 2;
    const QString line = SettingsLine::encode(settings);
    QVERIFY(line.endsWith(QLatin1String("\r\n")));
    if (text == QLatin1String("a\"b")) {
        QVERIFY2(line.startsWith(QLatin1String("0,0,0,0,\"a\"\"b\",")), qPrintable(line)); // the quote doubled
    }
    const auto result = SettingsLine::decode(line);
    QVERIFY2(result.ok(), qPrintable(result.error().message));
    QCOMPARE(*result, settings);
}

void SettingsLineTest::valueRules_takeOnlySpeedsAndModesTheWindowsHave_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("speed");
    QTest::addColumn<bool>("mode");
    QTest::newRow("-1") << -1 << false << false;
    QTest::newRow("0") << 0 << false << true;
    QTest::newRow("1") << 1 << true << true;
    QTest::newRow("2") << 2 << true << true;
    QTest::newRow("3") << 3 << true << false;
    QTest::newRow("30000") << 30000 << true << false;
    QTest::newRow("30001") << 30001 << false << false;
}

void SettingsLineTest::valueRules_takeOnlySpeedsAndModesTheWindowsHave()
{
    QFETCH(int, value);
    QFETCH(bool, speed);
    QFETCH(bool, mode);
    QCOMPARE(SettingsRules::isSpeed(value), speed);
    QCOMPARE(SettingsRules::isMiddleDoorMode(std::int16_t(value)), mode);
}

QTEST_GUILESS_MAIN(SettingsLineTest)
#include "settingsline_test.moc"
