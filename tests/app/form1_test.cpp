#include "form1.h"
#include "frmset.h"
#include "programfile.h"
#include "rollsignbox.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {
QPoint twipsToPixels(QPoint twips)
{
    return twips / 15;
}
} // namespace

class Form1Test : public QObject
{
    Q_OBJECT

private slots:
    void baseName_data();
    void baseName();
    void load_setsTitleFromProgramFileAndShowsPanel();
    void rightPress_opensMenuOnlyOnBareBusOrFrame_data();
    void rightPress_opensMenuOnlyOnBareBusOrFrame();
    void speedLabels_followTheBarsFromZero();
    void menu_hasItsItemsInOrderWithTicks();

private:
    // Counts the menu openings a press causes; the menu is closed again as soon as it shows.
    int menuOpeningsForPress(Form1 &form, QWidget *target, QPoint at, Qt::MouseButton button);
};

void Form1Test::baseName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("base");
    QTest::newRow("windows exe") << "C:/Apps/abc.exe"
                                 << "abc";
    QTest::newRow("upper-case ending") << "D:/KT41A0001.EXE"
                                       << "KT41A0001";
    QTest::newRow("unix program") << "/opt/bus/abc"
                                  << "abc";
    QTest::newRow("dots kept") << "/opt/bus/my.bus"
                               << "my.bus";
    QTest::newRow("dots before exe") << "C:/x/my.bus.exe"
                                     << "my.bus";
}

void Form1Test::baseName()
{
    QFETCH(QString, path);
    QFETCH(QString, base);
    QCOMPARE(ProgramFile::baseName(path), base);
}

void Form1Test::load_setsTitleFromProgramFileAndShowsPanel()
{
    Form1 form({});
    form.Form_Load();
    QCOMPARE(form.windowTitle(), QStringLiteral("ポルカノ　-　") + ProgramFile::baseName());
    QVERIFY(form.settingsPanel()->isVisible());
    QVERIFY(form.settingsPanel()->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!(form.windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(!(form.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(form.size(), QSize(775, 215));
}

int Form1Test::menuOpeningsForPress(Form1 &form, QWidget *target, QPoint at, Qt::MouseButton button)
{
    QSignalSpy shown(form.MnuTempMenu1(), &QMenu::aboutToShow);
    connect(form.MnuTempMenu1(), &QMenu::aboutToShow, this, [&form] {
        QTimer::singleShot(0, form.MnuTempMenu1(), &QMenu::close);
    });
    QTest::mousePress(target, button, {}, at);
    QTest::mouseRelease(target, button, {}, at);
    disconnect(form.MnuTempMenu1(), &QMenu::aboutToShow, this, nullptr);
    return int(shown.size());
}

void Form1Test::rightPress_opensMenuOnlyOnBareBusOrFrame_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("openings");
    QTest::newRow("bare bus, right") << "bus" << int(Qt::RightButton) << 1;
    QTest::newRow("bare bus, left") << "bus" << int(Qt::LeftButton) << 0;
    QTest::newRow("bare bus, middle") << "bus" << int(Qt::MiddleButton) << 0;
    QTest::newRow("frame post, right") << "frame" << int(Qt::RightButton) << 1;
    QTest::newRow("front door, right") << "frontdoor" << int(Qt::RightButton) << 0;
    QTest::newRow("middle door, right") << "middledoor" << int(Qt::RightButton) << 0;
    QTest::newRow("roll sign, right") << "rollsign" << int(Qt::RightButton) << 0;
    QTest::newRow("decoration, right") << "decoration" << int(Qt::RightButton) << 0;
}

void Form1Test::rightPress_opensMenuOnlyOnBareBusOrFrame()
{
    QFETCH(QString, place);
    QFETCH(int, button);
    QFETCH(int, openings);

    Form1 form({});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QWidget *target = &form;
    QPoint at(150, 20); // twips 2250, 300: bus body above the signboard, away from every control
    if (place == QLatin1String("frame")) {
        at = twipsToPixels(form.shpK_Waku().shape(0).center());
    } else if (place == QLatin1String("frontdoor")) {
        at = twipsToPixels(form.doorLeaves().frontLeaf().center());
    } else if (place == QLatin1String("middledoor")) {
        at = twipsToPixels(form.doorLeaves().middleLeaf(1).center());
    } else if (place == QLatin1String("rollsign")) {
        target = form.Picture1();
        at = QPoint(10, 10);
    } else if (place == QLatin1String("decoration")) {
        target = form.picSlideBase1();
        at = QPoint(10, 10);
    }
    QCOMPARE(menuOpeningsForPress(form, target, at, Qt::MouseButton(button)), openings);
}

void Form1Test::speedLabels_followTheBarsFromZero()
{
    Form1 form({});
    frmSet *panel = form.settingsPanel();
    QCOMPARE(panel->lblMaeSpeed()->text(), QStringLiteral("0"));
    QCOMPARE(panel->lblNakaSpeed()->text(), QStringLiteral("0"));
    panel->HScroll1()->setValue(1);
    panel->HScroll2()->setValue(30000);
    QCOMPARE(panel->lblMaeSpeed()->text(), QStringLiteral("1"));
    QCOMPARE(panel->lblNakaSpeed()->text(), QStringLiteral("30000"));
    panel->HScroll2()->setValue(30001);
    QCOMPARE(panel->lblNakaSpeed()->text(), QStringLiteral("30000"));
}

void Form1Test::menu_hasItsItemsInOrderWithTicks()
{
    Form1 form({});
    const QList<QAction *> actions = form.MnuTempMenu1()->actions();
    QCOMPARE(actions.size(), 5);
    QCOMPARE(actions[0]->text(), QStringLiteral("看板の表示"));
    QVERIFY(actions[0]->isChecked());
    QCOMPARE(actions[1]->text(), QStringLiteral("枠の表示"));
    QVERIFY(actions[1]->isChecked());
    QCOMPARE(actions[2]->text(), QStringLiteral("看板の画像を設定..."));
    QVERIFY(actions[3]->isSeparator());
    QCOMPARE(actions[4]->text(), QStringLiteral("看板のリセット"));
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
