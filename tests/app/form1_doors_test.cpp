#include "app/form1parts.h"
#include "dialogs/frmset.h"
#include "fakes/fakepacer.h"
#include "fakes/fakesoundoutput.h"
#include "support/paintcounter.h"

#include <QAbstractButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

// The bus window's door operations driven through the settings panel, as the user drives them.
// The movements themselves are tested on DoorAnimation.
class Form1DoorsTest : public QObject
{
    Q_OBJECT

private slots:
    void toggles_moveTheDoorsAtTheirBarsLiveSpeed_data();
    void toggles_moveTheDoorsAtTheirBarsLiveSpeed();
};

void Form1DoorsTest::toggles_moveTheDoorsAtTheirBarsLiveSpeed_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("leftWidth");
    QTest::addColumn<int>("rightWidth");
    QTest::newRow("両方") << 0 << 110 << 110;
    QTest::newRow("左") << 1 << 110 << 840;
    QTest::newRow("右") << 2 << 840 << 110;
}

void Form1DoorsTest::toggles_moveTheDoorsAtTheirBarsLiveSpeed()
{
    QFETCH(int, mode);
    FakePacer pacer;
    FakeSoundOutput sound;
    Form1 form({&sound, &pacer, nullptr, nullptr, nullptr, nullptr});
    frmSet *panel = form.settingsPanel();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // The front leaf's width as each paint shows it.
    int frontWidth = -1;
    PaintCounter paints([&] { frontWidth = doorLeaves(form).frontWidth(); });
    form.installEventFilter(&paints);
    panel->HScroll1()->setValue(1);
    panel->HScroll2()->setValue(1234);
    panel->Option1(mode)->setChecked(true);
    // The front bar moved during the movement counts from the next pause on.
    pacer.onPause = [panel](int index) {
        if (index == 500) {
            panel->HScroll1()->setValue(30000);
        }
    };

    QTest::mouseClick(panel->Check1(), Qt::LeftButton);
    QCOMPARE(doorLeaves(form).frontWidth(), 70);
    QCOMPARE(int(pacer.pauses.size()), 1011);
    QCOMPARE(pacer.pauses[500], 1);
    QCOMPARE(pacer.pauses[501], 30000);
    QVERIFY(sound.plays.empty());
    // The window was painted about once per refresh interval of its screen (60 Hz offscreen) of the
    // movement's time, and last at the open width.
    const double seconds = (501 * 1 + 510 * 30000) * 250e-9;
    QVERIFY2(qAbs(paints.paints - (seconds * form.screen()->refreshRate() + 1)) <= 2,
        qPrintable(QString::number(paints.paints)));
    QCOMPARE(frontWidth, 70);

    pacer.pauses.clear();
    QTest::mouseClick(panel->Check2(), Qt::LeftButton);
    QTEST(doorLeaves(form).middleWidth(0), "leftWidth");
    QTEST(doorLeaves(form).middleWidth(1), "rightWidth");
    QCOMPARE(pacer.pauses, std::vector<int>(731, 1234));
    QCOMPARE(int(sound.plays.size()), 1);

    QTest::mouseClick(panel->Check1(), Qt::LeftButton);
    QTest::mouseClick(panel->Check2(), Qt::LeftButton);
    QCOMPARE(doorLeaves(form).frontWidth(), 1080);
    QCOMPARE(doorLeaves(form).middleWidth(0), 840);
    QCOMPARE(doorLeaves(form).middleWidth(1), 840);
    QCOMPARE(int(sound.plays.size()), 2);
}

QTEST_MAIN(Form1DoorsTest)
#include "form1_doors_test.moc"
