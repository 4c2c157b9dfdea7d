#include "app/form1parts.h"
#include "dialogs/frmset.h"
#include "fakes/fakemessageboxes.h"
#include "fakes/fakepacer.h"
#include "fakes/fakesoundoutput.h"
#include "platform/terminationsignals.h"
#include "rollsign/rollsignbox.h"
#include "settings/writefault.h"
#include "signboard/signboardbox.h"
#include "support/files.h"
#include "support/pictures.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSessionManager>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>

namespace {

// A bus window whose settings file lies in a temporary folder.
struct Setup
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("KT41A0001.ini"));
    FakeMessageBoxes messages;
    FakePacer pacer;
    FakeSoundOutput sound;
    Form1::Services services = [this] {
        Form1::Services s;
        s.messages = &messages;
        s.pacer = &pacer;
        s.sound = &sound;
        return s;
    }();
    Form1 form{services};

    Setup() { form.setSettingsFilePath(path); }
    // Starts the window from `line` (none: no file at all).
    void load(const QByteArray &line = {})
    {
        if (!line.isEmpty()) {
            writeBytes(path, line);
        }
        form.move(300, 200);
        form.Form_Load();
    }
    frmSet *panel() { return form.settingsPanel(); }
    QByteArray savedLine()
    {
        form.SaveIni();
        return readBytes(path);
    }
    // Closes the window inside the event loop and gives the program's exit code.
    int closeAndExit()
    {
        QTimer::singleShot(0, &form, [this] { form.close(); });
        return QApplication::exec();
    }
};

} // namespace

class Form1SettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void panelFollowsTheOuterHeightKnownOnceTheBusWindowIsShown();
    void storedPlace_whollyOffEveryScreen_comesOntoTheNearest_data();
    void storedPlace_whollyOffEveryScreen_comesOntoTheNearest();
    void storedLine_isAppliedAndSavedBackUnchanged_data();
    void storedLine_isAppliedAndSavedBackUnchanged();
    void storedFolderAndPicture_showTheFirstFaceAndTheSignboardInItsFrame_data();
    void storedFolderAndPicture_showTheFirstFaceAndTheSignboardInItsFrame();
    void failure_runsTheRecoveryAndKeepsWhatWasApplied_data();
    void failure_runsTheRecoveryAndKeepsWhatWasApplied();
    void saveFailure_reportsItKeepsTheOldFileAndEndsWithFailure();
    void sessionEnd_savesAtOnceWithoutABox_closeSavesAndEndsTheProgram();
    void terminationSignal_duringAMovement_closesWhenItHasEnded();
};

void Form1SettingsTest::panelFollowsTheOuterHeightKnownOnceTheBusWindowIsShown()
{
    // The frame comes with the window on the screen: before that the outer height is the client
    // height, and the panel placed then would overlap the frame's lower border.
    Setup s;
    s.load();
    QCOMPARE(s.panel()->y(), 215);
    s.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.form));
    QVERIFY(s.form.frameGeometry().height() > 215);
    QTRY_COMPARE(s.panel()->y(), s.form.frameGeometry().height());

    // A stored place is left alone.
    Setup stored;
    stored.load("0,0,0,3225,\"\",\"\",0,0,\"\",3450,2010,#TRUE#,#TRUE#,1,1,0\r\n");
    stored.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&stored.form));
    QCoreApplication::processEvents();
    QCOMPARE(stored.panel()->y(), 215);
}

void Form1SettingsTest::storedPlace_whollyOffEveryScreen_comesOntoTheNearest_data()
{
    // The places of the bus window and the panel, twips, as the line's first four fields give them.
    QTest::addColumn<QByteArray>("places");
    QTest::addColumn<bool>("kept");
    QTest::newRow("partly on the screen") << QByteArray("-9000,-1500,-3000,-1500") << true;
    QTest::newRow("beyond the left") << QByteArray("-12000,0,-4200,0") << false;
    QTest::newRow("beyond the right") << QByteArray("300000,0,300000,3000") << false;
    QTest::newRow("beyond the top") << QByteArray("0,-3300,3000,-2700") << false;
    QTest::newRow("beyond the bottom") << QByteArray("0,300000,0,300000") << false;
    // The ends of the field's range, in the signboard's place too.
    QTest::newRow("32-bit ends") << QByteArray("2147483647,-2147483648,-2147483648,2147483647") << false;
}

void Form1SettingsTest::storedPlace_whollyOffEveryScreen_comesOntoTheNearest()
{
    QFETCH(QByteArray, places);
    QFETCH(bool, kept);
    Setup s;
    s.load(places + ",\"\",\"\",0,0,\"\",2147483647,-2147483648,#TRUE#,#TRUE#,1,1,0\r\n");
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QList<QByteArray> stored = places.split(',');
    QList<QByteArray> expected;
    for (QWidget *window : {static_cast<QWidget *>(&s.form), static_cast<QWidget *>(s.panel())}) {
        const QPoint place = window->pos();
        const QList<QByteArray> twips{QByteArray::number(place.x() * 15), QByteArray::number(place.y() * 15)};
        if (kept) {
            QCOMPARE(twips, stored.mid(expected.size(), 2));
        } else {
            QVERIFY2(screen.contains(QRect(place, window->size())), twips.join(' ').constData());
        }
        expected += twips;
    }
    // The line saved afterwards holds the places the windows then have.
    QCOMPARE(s.savedLine().split(',').mid(0, 4), expected);
}

void Form1SettingsTest::storedLine_isAppliedAndSavedBackUnchanged_data()
{
    QTest::addColumn<QByteArray>("end"); // fields 12 to 16: flags, speeds and mode
    QTest::addColumn<QString>("labels"); // the speed labels
    QTest::newRow("shown") << QByteArray("#TRUE#,#TRUE#,1,30000,2") << "1 30000";
    // Values equal to the bars' own leave their labels at zero.
    QTest::newRow("speeds equal to the bars") << QByteArray("#TRUE#,#TRUE#,6000,10000,1") << "0 0";
    QTest::newRow("signboard hidden") << QByteArray("#FALSE#,#TRUE#,2,3,0") << "2 3";
    QTest::newRow("frame hidden") << QByteArray("#TRUE#,#FALSE#,2,3,1") << "2 3";
}

void Form1SettingsTest::storedLine_isAppliedAndSavedBackUnchanged()
{
    QFETCH(QByteArray, end);
    QFETCH(QString, labels);
    const QList<QByteArray> fields = end.split(',');
    const bool signboard = fields[0] == "#TRUE#";
    const bool frame = fields[1] == "#TRUE#";
    // The reserved values, put there by hand, pass through unchanged.
    const QByteArray line = "1500,3000,9000,6000,\"\",\"x\",5,7,\"\",3000,1500," + end + "\r\n";
    Setup s;
    s.load(line);
    s.form.show();

    QCOMPARE(PicKanban(s.form)->pos(), QPoint(200, 100));
    QCOMPARE(s.panel()->lblMaeSpeed()->text() + ' ' + s.panel()->lblNakaSpeed()->text(), labels);
    QVERIFY(s.panel()->Option1(fields[4].toInt())->isChecked());
    QCOMPARE(PicKanban(s.form)->isVisible(), signboard);
    for (int index = 0; index < 3; ++index) {
        QCOMPARE(shpK_Waku(s.form).isShapeVisible(index), frame);
    }
    // An empty folder text lists no faces and is no failure: the default face stays.
    QCOMPARE(rollSign(s.form).File1().count(), 0);
    QCOMPARE(Picture1(s.form)->face().size(), QSize(52, 32));
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
    QVERIFY(writeSolidBmp(signs + QLatin1String("/b.bmp"), {30, 30}, Qt::blue));
    QVERIFY(writeSolidBmp(signs + QLatin1String("/a.bmp"), {40, 20}, Qt::red));
    const QString board = s.dir.filePath(QStringLiteral("看板.bmp"));
    QVERIFY(writeSolidBmp(board, {120, 40}, Qt::green));
    // The folder without its separator: the first face is still found.
    QString quotedSigns = signs;
    quotedSigns.replace(QLatin1Char('"'), QLatin1String("\"\""));
    const QByteArray line = "1500,3000,9000,6000,\"" + quotedSigns.toUtf8() + "\",\"\",0,0,\"" + board.toUtf8()
        + "\",1500,750,#TRUE#,#TRUE#,6000,10000,0\r\n";
    s.load(line);

    QCOMPARE(Picture1(s.form)->face().size(), QSize(40, 20)); // a.bmp, the first by name
    QCOMPARE(Picture1(s.form)->face().image().pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(rollSign(s.form).File1().path(), signs);
    QCOMPARE(PicKanban(s.form)->picture().size(), QSize(120, 40));
    const QRect box = signboard(s.form).rect();
    QCOMPARE(box.topLeft(), QPoint(1500, 750));
    QCOMPARE(shpK_Waku(s.form).shape(0), QRect(1425, 750, 75, box.height() + 15));
    QCOMPARE(shpK_Waku(s.form).shape(2), QRect(1425, 750 + box.height(), box.width() + 150, 60));
    QCOMPARE(s.savedLine(), line);
}

void Form1SettingsTest::failure_runsTheRecoveryAndKeepsWhatWasApplied_data()
{
    QTest::addColumn<QByteArray>("line"); // empty: no file at all, the first start
    // What the recovery does not undo: the saved fields 5 to 9 (folder, reserved values, picture
    // file) as read, and the visibility flags as applied.
    QTest::addColumn<QByteArray>("kept");
    const auto line = [](const QByteArray &texts, const char *flags, const char *speedsAndMode) {
        return "1500,3000,9000,6000," + texts + ",3000,1500," + flags + ',' + speedsAndMode + "\r\n";
    };
    const auto kept = [](const QByteArray &texts, const char *flags) {
        return texts + ",3450,2010," + flags;
    };
    const QByteArray none = "\"\",\"\",0,0,\"\"";
    const QByteArray gone = "\"\",\"x\",5,7,\"/nonexistent/board.gif\"";
    const QByteArray noFolder = "\"/nonexistent/signs/\",\"\",0,0,\"\"";
    const QByteArray cut = "\"/signs/\",\"x\",5,7,\"/pictures/board.gif\"";

    QTest::newRow("no file") << QByteArray() << kept(none, "#TRUE#,#TRUE#");
    QTest::newRow("empty file") << QByteArray("\r\n") << kept(none, "#TRUE#,#TRUE#");
    QTest::newRow("picture file gone") << line(gone, "#FALSE#,#FALSE#", "6000,10000,1")
                                       << kept(gone, "#FALSE#,#FALSE#");
    QTest::newRow("mode 3") << line(none, "#TRUE#,#FALSE#", "1,2,3") << kept(none, "#TRUE#,#FALSE#");
    QTest::newRow("front speed 0") << line(none, "#FALSE#,#TRUE#", "0,2,1") << kept(none, "#FALSE#,#TRUE#");
    QTest::newRow("middle speed 40000") << line(none, "#TRUE#,#TRUE#", "2,40000,1") << kept(none, "#TRUE#,#TRUE#");
    QTest::newRow("roll-sign folder gone")
        << line(noFolder, "#FALSE#,#TRUE#", "1,2,1") << kept(noFolder, "#FALSE#,#TRUE#");
    QTest::newRow("cut after field 9") << "1500,3000,9000,6000," + cut + "\r\n" << kept(cut, "#TRUE#,#TRUE#");
    QTest::newRow("garbled number") << QByteArray("1500,3000,9000,6000,\"\",\"r\",1x,0,\"\",3000,1500\r\n")
                                    << kept("\"\",\"r\",0,0,\"\"", "#TRUE#,#TRUE#");
}

void Form1SettingsTest::failure_runsTheRecoveryAndKeepsWhatWasApplied()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, kept);
    Setup s;
    s.form.show(); // framed: the outer height is more than the client height
    QVERIFY(QTest::qWaitForWindowExposed(&s.form));
    s.load(line);

    QVERIFY(s.form.frameGeometry().height() > s.form.height());
    QVERIFY(s.panel()->isVisible());
    QCOMPARE(signboard(s.form).rect(), QRect(3450, 2010, 1410, 450));
    QVERIFY(PicKanban(s.form)->picture().isNull());
    QCOMPARE(shpK_Waku(s.form).shape(0), QRect(3375, 2010, 75, 465));
    QCOMPARE(s.panel()->lblMaeSpeed()->text() + ' ' + s.panel()->lblNakaSpeed()->text(), "10000 6000");
    QVERIFY(s.messages.shown.isEmpty());
    // The panel's top is the bus window's outer height.
    const QByteArray panelTop = QByteArray::number(s.form.frameGeometry().height() * 15);
    QCOMPARE(s.savedLine(), "0,0,0," + panelTop + ',' + kept + ",10000,6000,0\r\n");
}

void Form1SettingsTest::saveFailure_reportsItKeepsTheOldFileAndEndsWithFailure()
{
    const QByteArray old = "1500,3000,9000,6000,\"\",\"\",0,0,\"\",3000,1500,#TRUE#,#TRUE#,1,2,1\r\n";
    Setup s;
    s.load(old);
    s.panel()->HScroll1()->setValue(20000);
    int exitCode = -1;
    {
        // A full disk: the new file cannot be written.
        const WriteFault::FileSizeLimit full(8);
        if (!full.isActive()) {
            QSKIP("no file size limit on this system");
        }
        exitCode = s.closeAndExit();
        // A second termination signal after the close neither saves again nor says so again.
        s.form.requestClose();
    }
    QCOMPARE(exitCode, 1);
    QCOMPARE(readBytes(s.path), old);
    QCOMPARE(s.messages.shown.size(), 1);
    const FakeMessageBoxes::Message &shown = s.messages.shown[0];
    QCOMPARE(shown.icon, MessageBoxes::Icon::Critical);
    QCOMPARE(shown.title, QStringLiteral("ソラミネ"));
    QVERIFY2(shown.text.contains(s.path) && shown.text.contains("File too large"), qPrintable(shown.text));
    QVERIFY(!s.panel()->isVisible());
}

void Form1SettingsTest::sessionEnd_savesAtOnceWithoutABox_closeSavesAndEndsTheProgram()
{
    Setup s;
    s.load();
    s.form.show();
    auto *session = qApp->findChild<QSessionManager *>();
    QVERIFY(session);
    // This platform's session manager lets no program interact with the user: a save that fails
    // at the session's end is reported without a box, and the close's own save decides the exit.
    QVERIFY(!session->allowsInteraction());
    {
        const WriteFault::FileSizeLimit full(8);
        if (full.isActive()) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("File too large")));
            emit qApp->commitDataRequest(*session);
            QVERIFY(!QFile::exists(s.path));
        }
    }
    s.panel()->HScroll2()->setValue(123);
    emit qApp->commitDataRequest(*session);
    QCOMPARE(readBytes(s.path).split(',').value(14), QByteArray("123"));
    QVERIFY(s.form.isVisible());

    s.panel()->HScroll2()->setValue(456);
    QCOMPARE(s.closeAndExit(), 0);
    QCOMPARE(readBytes(s.path).split(',').at(14), QByteArray("456"));
    QVERIFY(s.messages.shown.isEmpty());
}

void Form1SettingsTest::terminationSignal_duringAMovement_closesWhenItHasEnded()
{
    Setup s;
    TerminationSignals signals_;
    connect(&signals_, &TerminationSignals::received, &s.form, &Form1::requestClose);
    s.load();
    s.form.show();
    QTest::mouseClick(s.panel()->Check2(), Qt::LeftButton); // opens the middle door
    // The signal comes as the middle door starts to shut, just before its one pass over the
    // waiting events, which wakes for it.
    s.sound.onPlay = [] {
        std::raise(SIGTERM);
    };
    bool savedDuringTheMovement = false;
    s.pacer.onPause = [&](int) {
        savedDuringTheMovement |= QFile::exists(s.path);
    };

    QTest::mouseClick(s.panel()->Check2(), Qt::LeftButton);
    QVERIFY(!savedDuringTheMovement);
    QCOMPARE(doorLeaves(s.form).middleLeaf(0).width(), 840);
    QVERIFY(QFile::exists(s.path));
    QVERIFY(!s.form.isVisible());
}

QTEST_MAIN(Form1SettingsTest)
#include "form1_settings_test.moc"
