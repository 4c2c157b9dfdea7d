#include "form1.h"
#include "frmset.h"
#include "messageboxes.h"
#include "rollsignbox.h"
#include "signboardbox.h"
#include "writefault.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

class FakeMessageBoxes final : public MessageBoxes
{
public:
    struct Shown
    {
        QString title;
        QString text;
        Icon icon;
    };

    void show(QWidget *, const QString &title, const QString &text, Icon icon) override
    {
        shown.append({title, text, icon});
    }

    QList<Shown> shown;
};

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Writes a solid picture of the given size and colour.
void writePicture(const QString &path, QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY(image.save(path, "BMP"));
}

// The fields of a settings line, without its line end.
QList<QByteArray> fieldsOf(const QByteArray &line)
{
    return line.chopped(2).split(',');
}

// A bus window whose settings file lies in a temporary folder.
struct Setup
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("KT41A0001.ini"));
    FakeMessageBoxes messages;
    Form1::Services services = [this] {
        Form1::Services s;
        s.messages = &messages;
        return s;
    }();
    Form1 form{services};

    Setup() { form.setSettingsFilePath(path); }

    frmSet *panel() { return form.settingsPanel(); }
    int outerHeightTwips() { return form.frameGeometry().height() * 15; }
    QByteArray savedLine()
    {
        form.SaveIni();
        return readBytes(path);
    }
};

const QByteArray DesignPlaces = "3450,2010";

} // namespace

class Form1SettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void firstStart_placesWindowsAndSavesTheFirstStartLine();
    void firstStart_panelFollowsTheOuterHeightKnownOnceTheBusWindowIsShown();
    void storedLine_isAppliedAndSavedBackUnchanged();
    void storedFolderAndPicture_showTheFirstFaceAndTheSignboardInItsFrame_data();
    void storedFolderAndPicture_showTheFirstFaceAndTheSignboardInItsFrame();
    void speedsEqualToTheBars_leaveTheLabelsAtZero();
    void falseFlags_startWithSignboardOrFrameHiddenAndUnticked_data();
    void falseFlags_startWithSignboardOrFrameHiddenAndUnticked();
    void failure_runsTheRecoveryAndKeepsWhatWasApplied_data();
    void failure_runsTheRecoveryAndKeepsWhatWasApplied();
    void saveFailure_reportsItKeepsTheOldFileAndEndsWithFailure();
    void close_savesAndEndsTheProgram();
};

void Form1SettingsTest::firstStart_placesWindowsAndSavesTheFirstStartLine()
{
    Setup s;
    s.form.move(300, 200);
    s.form.Form_Load();

    QCOMPARE(s.form.pos(), QPoint(0, 0));
    QCOMPARE(s.panel()->pos(), QPoint(0, s.form.frameGeometry().height()));
    QVERIFY(s.panel()->isVisible());
    QCOMPARE(s.panel()->HScroll1()->value(), 10000);
    QCOMPARE(s.panel()->HScroll2()->value(), 6000);
    QCOMPARE(s.panel()->lblMaeSpeed()->text(), QStringLiteral("10000"));
    QCOMPARE(s.panel()->lblNakaSpeed()->text(), QStringLiteral("6000"));
    QVERIFY(s.panel()->Option1(0)->isChecked());
    QVERIFY(s.messages.shown.isEmpty());

    QCOMPARE(s.savedLine(),
        "0,0,0," + QByteArray::number(s.outerHeightTwips())
            + ",\"\",\"\",0,0,\"\",3450,2010,#TRUE#,#TRUE#,10000,6000,0\r\n");
}

void Form1SettingsTest::firstStart_panelFollowsTheOuterHeightKnownOnceTheBusWindowIsShown()
{
    // The frame comes with the window on the screen: before that the outer height is the client
    // height, and the panel placed then would overlap the frame's lower border.
    Setup s;
    s.form.Form_Load();
    QCOMPARE(s.panel()->y(), 215);
    s.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.form));
    QVERIFY(s.form.frameGeometry().height() > 215);
    QTRY_COMPARE(s.panel()->y(), s.form.frameGeometry().height());

    // A stored place is left alone.
    Setup stored;
    writeBytes(stored.path, "0,0,0,3225,\"\",\"\",0,0,\"\",3450,2010,#TRUE#,#TRUE#,1,1,0\r\n");
    stored.form.Form_Load();
    stored.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&stored.form));
    QCoreApplication::processEvents();
    QCOMPARE(stored.panel()->y(), 215);
}

void Form1SettingsTest::storedLine_isAppliedAndSavedBackUnchanged()
{
    Setup s;
    const QByteArray line = "1500,3000,9000,6000,\"\",\"x\",5,7,\"\",3000,1500,#TRUE#,#TRUE#,1,30000,2\r\n";
    writeBytes(s.path, line);
    s.form.Form_Load();

    QCOMPARE(s.form.pos(), QPoint(100, 200));
    QCOMPARE(s.panel()->pos(), QPoint(600, 400));
    QCOMPARE(s.form.PicKanban()->pos(), QPoint(200, 100));
    QCOMPARE(s.panel()->HScroll1()->value(), 1);
    QCOMPARE(s.panel()->HScroll2()->value(), 30000);
    QCOMPARE(s.panel()->lblMaeSpeed()->text(), QStringLiteral("1"));
    QCOMPARE(s.panel()->lblNakaSpeed()->text(), QStringLiteral("30000"));
    QVERIFY(s.panel()->Option1(2)->isChecked());
    // An empty folder text lists no faces and is no failure: the default face stays.
    QCOMPARE(s.form.rollSign().File1().count(), 0);
    QCOMPARE(s.form.Picture1()->face().size(), QSize(52, 32));
    // The reserved values, put there by hand, pass through unchanged.
    QCOMPARE(s.savedLine(), line);
}

void Form1SettingsTest::storedFolderAndPicture_showTheFirstFaceAndTheSignboardInItsFrame_data()
{
    QTest::addColumn<QString>("folderName");
    QTest::newRow("Japanese name") << QStringLiteral("方向幕");
#ifndef Q_OS_WIN
    // Names the original line could not hold round-trip too.
    QTest::newRow("quote and line break in the name") << QStringLiteral("say \"hi\"\r\nthere");
#endif
}

void Form1SettingsTest::storedFolderAndPicture_showTheFirstFaceAndTheSignboardInItsFrame()
{
    QFETCH(QString, folderName);
    Setup s;
    const QString signs = s.dir.filePath(folderName);
    QVERIFY(QDir().mkdir(signs));
    writePicture(signs + QLatin1String("/b.bmp"), {30, 30}, Qt::blue);
    writePicture(signs + QLatin1String("/a.bmp"), {40, 20}, Qt::red);
    const QString board = s.dir.filePath(QStringLiteral("看板.bmp"));
    writePicture(board, {120, 40}, Qt::green);
    // The folder without its separator: the first face is still found.
    QString quotedSigns = signs;
    quotedSigns.replace(QLatin1Char('"'), QLatin1String("\"\""));
    const QByteArray line = "1500,3000,9000,6000,\"" + quotedSigns.toUtf8() + "\",\"\",0,0,\"" + board.toUtf8()
        + "\",1500,750,#TRUE#,#TRUE#,6000,10000,0\r\n";
    writeBytes(s.path, line);
    s.form.Form_Load();

    QCOMPARE(s.form.pos(), QPoint(100, 200)); // no recovery
    QCOMPARE(s.form.Picture1()->face().size(), QSize(40, 20));
    QCOMPARE(s.form.Picture1()->face().image().pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(s.form.rollSign().File1().path(), signs);
    QCOMPARE(s.form.rollSign().DesiMakuIndex(), 0);
    QCOMPARE(s.form.PicKanban()->picture().size(), QSize(120, 40));
    const QRect box = s.form.signboard().rect();
    QCOMPARE(box.topLeft(), QPoint(1500, 750));
    QCOMPARE(s.form.shpK_Waku().shape(0), QRect(1425, 750, 75, box.height() + 15));
    QCOMPARE(s.form.shpK_Waku().shape(2), QRect(1425, 750 + box.height(), box.width() + 150, 60));
    QCOMPARE(s.savedLine(), line);
}

void Form1SettingsTest::speedsEqualToTheBars_leaveTheLabelsAtZero()
{
    Setup s;
    writeBytes(s.path, "0,0,0,0,\"\",\"\",0,0,\"\",3450,2010,#TRUE#,#TRUE#,6000,10000,1\r\n");
    s.form.Form_Load();
    QCOMPARE(s.panel()->HScroll1()->value(), 6000);
    QCOMPARE(s.panel()->lblMaeSpeed()->text(), QStringLiteral("0"));
    QCOMPARE(s.panel()->lblNakaSpeed()->text(), QStringLiteral("0"));
    QVERIFY(s.panel()->Option1(1)->isChecked());
}

void Form1SettingsTest::falseFlags_startWithSignboardOrFrameHiddenAndUnticked_data()
{
    QTest::addColumn<QByteArray>("flags");
    QTest::addColumn<bool>("signboard");
    QTest::addColumn<bool>("frame");
    QTest::newRow("signboard hidden") << QByteArray("#FALSE#,#TRUE#") << false << true;
    QTest::newRow("frame hidden") << QByteArray("#TRUE#,#FALSE#") << true << false;
    QTest::newRow("both hidden") << QByteArray("#FALSE#,#FALSE#") << false << false;
}

void Form1SettingsTest::falseFlags_startWithSignboardOrFrameHiddenAndUnticked()
{
    QFETCH(QByteArray, flags);
    QFETCH(bool, signboard);
    QFETCH(bool, frame);
    Setup s;
    const QByteArray line = "0,0,0,0,\"\",\"\",0,0,\"\",3450,2010," + flags + ",10000,6000,0\r\n";
    writeBytes(s.path, line);
    s.form.Form_Load();
    s.form.show();

    QCOMPARE(s.form.PicKanban()->isVisible(), signboard);
    QCOMPARE(s.form.MnuViewKanban()->isChecked(), signboard);
    for (int index = 0; index < 3; ++index) {
        QCOMPARE(s.form.shpK_Waku().isShapeVisible(index), frame);
    }
    QCOMPARE(s.form.MnuViewWaku()->isChecked(), frame);
    QCOMPARE(s.savedLine(), line);
}

void Form1SettingsTest::failure_runsTheRecoveryAndKeepsWhatWasApplied_data()
{
    QTest::addColumn<QByteArray>("line"); // empty: no file at all
    // What the recovery does not undo: the visibility flags as applied, and the saved fields 5
    // to 9 (folder, reserved values, picture file) as read.
    QTest::addColumn<QByteArray>("keptFlags");
    QTest::addColumn<QByteArray>("keptTexts");

    const QByteArray design = "#TRUE#,#TRUE#";
    const QByteArray none = "\"\",\"\",0,0,\"\"";
    QTest::newRow("no file") << QByteArray() << design << none;
    QTest::newRow("empty file") << QByteArray("\r\n") << design << none;
    QTest::newRow("picture file gone") << QByteArray(
        "1500,3000,9000,6000,\"\",\"x\",5,7,\"/nonexistent/board.gif\",3000,1500,#FALSE#,#FALSE#,"
        "6000,10000,1\r\n") << QByteArray("#FALSE#,#FALSE#")
                                       << QByteArray("\"\",\"x\",5,7,\"/nonexistent/board.gif\"");
    QTest::newRow("mode 3") << QByteArray("1500,3000,9000,6000,\"\",\"\",0,0,\"\",3000,1500,#TRUE#,#FALSE#,1,2,3\r\n")
                            << QByteArray("#TRUE#,#FALSE#") << none;
    QTest::newRow("front speed 0") << QByteArray(
        "1500,3000,9000,6000,\"\",\"\",0,0,\"\",3000,1500,#FALSE#,#TRUE#,0,2,1\r\n")
                                   << QByteArray("#FALSE#,#TRUE#") << none;
    QTest::newRow("front speed 40000") << QByteArray(
        "1500,3000,9000,6000,\"\",\"\",0,0,\"\",3000,1500,#TRUE#,#TRUE#,40000,2,1\r\n")
                                       << design << none;
    QTest::newRow("middle speed 40000") << QByteArray(
        "1500,3000,9000,6000,\"\",\"\",0,0,\"\",3000,1500,#TRUE#,#TRUE#,2,40000,1\r\n")
                                        << design << none;
    QTest::newRow("middle speed 0") << QByteArray(
        "1500,3000,9000,6000,\"\",\"\",0,0,\"\",3000,1500,#TRUE#,#TRUE#,2,0,1\r\n")
                                    << design << none;
    QTest::newRow("roll-sign folder gone")
        << QByteArray("1500,3000,9000,6000,\"/nonexistent/signs/\",\"\",0,0,\"\",3000,1500,#FALSE#,#TRUE#,1,2,1\r\n")
        << QByteArray("#FALSE#,#TRUE#") << QByteArray("\"/nonexistent/signs/\",\"\",0,0,\"\"");
    QTest::newRow("cut after field 9") << QByteArray(
        "1500,3000,9000,6000,\"/signs/\",\"x\",5,7,\"/pictures/board.gif\"\r\n")
                                       << design << QByteArray("\"/signs/\",\"x\",5,7,\"/pictures/board.gif\"");
    QTest::newRow("garbled number") << QByteArray("1500,3000,9000,6000,\"\",\"r\",1x,0,\"\",3000,1500\r\n") << design
                                    << QByteArray("\"\",\"r\",0,0,\"\"");
}

void Form1SettingsTest::failure_runsTheRecoveryAndKeepsWhatWasApplied()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, keptFlags);
    QFETCH(QByteArray, keptTexts);
    Setup s;
    if (!line.isEmpty()) {
        writeBytes(s.path, line);
    }
    s.form.Form_Load();

    QCOMPARE(s.form.pos(), QPoint(0, 0));
    QCOMPARE(s.panel()->pos(), QPoint(0, s.form.frameGeometry().height()));
    QCOMPARE(s.form.signboard().rect(), QRect(3450, 2010, 1410, 450));
    QVERIFY(s.form.PicKanban()->picture().isNull());
    QCOMPARE(s.form.shpK_Waku().shape(0), QRect(3375, 2010, 75, 465));
    QCOMPARE(s.panel()->HScroll1()->value(), 10000);
    QCOMPARE(s.panel()->HScroll2()->value(), 6000);
    QVERIFY(s.panel()->Option1(0)->isChecked());
    QVERIFY(s.messages.shown.isEmpty());

    const QList<QByteArray> saved = fieldsOf(s.savedLine());
    QCOMPARE(saved.mid(4, 5).join(','), keptTexts);
    QCOMPARE(saved.mid(9, 2).join(','), DesignPlaces);
    QCOMPARE(saved.mid(11, 2).join(','), keptFlags);
    QCOMPARE(saved.mid(13).join(','), QByteArray("10000,6000,0"));
}

void Form1SettingsTest::saveFailure_reportsItKeepsTheOldFileAndEndsWithFailure()
{
    Setup s;
    const QByteArray old = "1500,3000,9000,6000,\"\",\"\",0,0,\"\",3000,1500,#TRUE#,#TRUE#,1,2,1\r\n";
    writeBytes(s.path, old);
    s.form.Form_Load();
    s.panel()->HScroll1()->setValue(20000);

    int exitCode = -1;
    {
        // A full disk: the new file cannot be written.
        const WriteFault::FileSizeLimit full(8);
        if (!full.isActive()) {
            QSKIP("no file size limit on this system");
        }
        QTimer::singleShot(0, &s.form, [&s] { s.form.close(); });
        exitCode = QApplication::exec();
    }
    QCOMPARE(exitCode, 1);
    QCOMPARE(readBytes(s.path), old);
    QCOMPARE(s.messages.shown.size(), 1);
    QCOMPARE(s.messages.shown[0].title, QStringLiteral("ソラミネ"));
    QCOMPARE(s.messages.shown[0].icon, MessageBoxes::Icon::Critical);
    QVERIFY2(s.messages.shown[0].text.contains(s.path), qPrintable(s.messages.shown[0].text));
    QVERIFY2(s.messages.shown[0].text.contains(QLatin1String("File too large")), qPrintable(s.messages.shown[0].text));
    QVERIFY(!s.panel()->isVisible());
}

void Form1SettingsTest::close_savesAndEndsTheProgram()
{
    Setup s;
    s.form.Form_Load();
    s.form.show();
    s.panel()->HScroll2()->setValue(123);
    QTimer::singleShot(0, &s.form, [&s] { s.form.close(); });
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(fieldsOf(readBytes(s.path)).at(14), QByteArray("123"));
    QVERIFY(s.messages.shown.isEmpty());
}

QTEST_MAIN(Form1SettingsTest)
#include "form1_settings_test.moc"
