#include "app/form1parts.h"
#include "dialogs/frmset.h"
#include "fakes/fakesoundoutput.h"
#include "platform/programfile.h"
#include "rollsign/rollsignbox.h"
#include "signboard/signboardbox.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

class Form1Test : public QObject
{
    Q_OBJECT

private slots:
    void baseName_data();
    void baseName();
    void load_setsTitleAndShowsPanelOnTopAfterTheBusWindowsFirstPaint();
    void press_opensMenuOnlyForRightButtonOnBusFrameOrSignboard_data();
    void press_opensMenuOnlyForRightButtonOnBusFrameOrSignboard();
};

void Form1Test::baseName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("base");
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

void Form1Test::load_setsTitleAndShowsPanelOnTopAfterTheBusWindowsFirstPaint()
{
    FakeSoundOutput sound;
    Form1::Services services;
    services.sound = &sound;
    Form1 form(services);
    form.Form_Load();
    QCOMPARE(form.windowTitle(), QStringLiteral("ポルカノ　-　") + ProgramFile::baseName());
    frmSet *panel = form.settingsPanel();
    QVERIFY(panel->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!(form.windowFlags() & Qt::WindowStaysOnTopHint));

    // The panel follows the bus window onto the screen, without taking the activation from it,
    // and the sound output is brought up once both are there.
    QVERIFY(!panel->isVisible());
    form.show();
    QVERIFY(!panel->isVisible());
    QTRY_VERIFY(panel->isVisible());
    QVERIFY(panel->testAttribute(Qt::WA_ShowWithoutActivating));
    QTRY_COMPARE(sound.preparations, 1);
    QCOMPARE(panel->Frame2()->title(), QStringLiteral("中扉動作"));

    // Loaded again once painted (a second start-up never happens, but the order must hold):
    // the panel is shown at once.
    panel->hide();
    form.Form_Load();
    QVERIFY(panel->isVisible());
    QCOMPARE(sound.preparations, 1);
}

void Form1Test::press_opensMenuOnlyForRightButtonOnBusFrameOrSignboard_data()
{
    QTest::addColumn<QPoint>("at"); // pixels of the client area
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("openings");
    const QPoint bus(150, 20), post(227, 149), signboard(277, 149), front(62, 119), middle(419, 121);
    QTest::newRow("bare bus, right") << bus << int(Qt::RightButton) << 1;
    QTest::newRow("bare bus, left") << bus << int(Qt::LeftButton) << 0;
    QTest::newRow("bare bus, middle") << bus << int(Qt::MiddleButton) << 0;
    QTest::newRow("frame post, right") << post << int(Qt::RightButton) << 1;
    QTest::newRow("signboard, right") << signboard << int(Qt::RightButton) << 1;
    QTest::newRow("signboard, middle") << signboard << int(Qt::MiddleButton) << 0;
    QTest::newRow("where the hidden signboard is, right") << signboard << int(Qt::RightButton) << 1;
    QTest::newRow("front door, right") << front << int(Qt::RightButton) << 0;
    QTest::newRow("middle door, right") << middle << int(Qt::RightButton) << 0;
    QTest::newRow("roll sign, right") << QPoint(493, 48) << int(Qt::RightButton) << 0;
    QTest::newRow("decoration, right") << QPoint(763, 121) << int(Qt::RightButton) << 0;
}

void Form1Test::press_opensMenuOnlyForRightButtonOnBusFrameOrSignboard()
{
    QFETCH(QPoint, at);
    QFETCH(int, button);
    Form1 form({});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    if (QByteArray(QTest::currentDataTag()).contains("hidden")) {
        menuItem(form, "MnuViewKanban")->trigger();
    }
    // The press goes where a real one would: to the control under the pointer, if any.
    QWidget *target = form.childAt(at) ? form.childAt(at) : &form;
    at = target->mapFrom(&form, at);

    // The menu is closed again as soon as it shows.
    QSignalSpy shown(MnuTempMenu1(form), &QMenu::aboutToShow);
    connect(MnuTempMenu1(form), &QMenu::aboutToShow, MnuTempMenu1(form), [&form] {
        QTimer::singleShot(0, MnuTempMenu1(form), &QMenu::close);
    });
    QTest::mousePress(target, Qt::MouseButton(button), {}, at);
    QTest::mouseRelease(target, Qt::MouseButton(button), {}, at);
    QTEST(int(shown.size()), "openings");
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
