#include "fakes/fakefolderbrowser.h"
#include "fakes/fakemessageboxes.h"
#include "form1.h"
#include "frmbrowsedir.h"
#include "frmset.h"
#include "rollsignbox.h"
#include "signboardbox.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <vector>

namespace {

const QString NotFound = QStringLiteral("指定したパスが見つかりません。再度指定しなおしてください。");
const QString Sep = QString(QDir::separator());

// The colour of face number `i`; each face is a solid rectangle of its own colour.
QColor faceColour(int i)
{
    return QColor(QColor::fromHsv((i * 37) % 360, 255, 200 + (i % 5) * 10).rgb());
}

// Writes `count` solid faces 00.bmp, 01.bmp, ... into `folder` (created if needed) and returns
// the folder as the setting holds it.
QString writeFaces(const QString &folder, int count, QSize size = QSize(52, 32))
{
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(faceColour(i));
        image.save(folder + QStringLiteral("/%1.bmp").arg(i, 2, 10, QLatin1Char('0')), "BMP");
    }
    return QDir::toNativeSeparators(folder);
}

QColor shownColour(const Form1 &form)
{
    const QImage face = form.Picture1()->face().image();
    return face.isNull() ? QColor() : face.pixelColor(0, 0);
}

// Plays the user at each folder chooser as it opens, one action per opening; an opening beyond
// the prepared actions is cancelled, so a test never hangs on a dialog.
class ChooserUser : public QObject
{
public:
    using Action = std::function<void(frmBrowseDir *)>;

    ChooserUser(Form1 &form, std::vector<Action> actions)
        : m_form(form)
        , m_actions(std::move(actions))
    {
        connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start(5);
    }

    QStringList textsOnOpening; // Text1 of each chooser as it opened

private:
    void poll()
    {
        frmBrowseDir *dialog = m_form.openFolderChooser();
        if (!dialog || !dialog->isVisible() || dialog == m_last) {
            return;
        }
        m_last = dialog;
        textsOnOpening.append(dialog->Text1()->text());
        const std::size_t turn = std::size_t(textsOnOpening.size() - 1);
        if (turn < m_actions.size()) {
            m_actions[turn](dialog);
        } else {
            dialog->Command2(1)->click();
        }
    }

    Form1 &m_form;
    std::vector<Action> m_actions;
    QPointer<frmBrowseDir> m_last;
    QTimer m_timer;
};

ChooserUser::Action okWith(const QString &text)
{
    return [text](frmBrowseDir *dialog) {
        dialog->Text1()->setText(text);
        dialog->Command2(0)->click();
    };
}

} // namespace

class Form1RollSignTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void stepping_stopsAtBothEnds();
    void stepping_passesANonPictureSilently();
    void stepping_emptyFolderShowsNothingAndSaysNothing();
    void stepping_afterSwitchToShorterList();
    void stepping_japaneseNames();
    void box_drawsFaceUnscaledAndClipped();
    void clicks_giveTheBoxTheFocus();
    void keypad_jump_data();
    void keypad_jump();
    void keypad_jumpThenDownStepsFromPosition();
    void picDir_otherFailure_saysSoOnce();
    void chooser_opensWithCurrentSetting();
    void chooser_notFoundLoopUntilCancel();
    void chooser_okWithEmptyText_listsNothing();
    void chooser_okWithGoodFolder_nextDownShowsItsFace();
    void chooser_cancelChangesNothing();

private:
    void pointAt(Form1 &form, const QString &folder);

    QTemporaryDir m_root;
    FakeMessageBoxes m_messages;
    FakeFolderBrowser m_folders;
    Form1::Services m_services;
};

void Form1RollSignTest::init()
{
    m_messages = FakeMessageBoxes();
    m_folders = FakeFolderBrowser();
    m_services = {};
    m_services.messages = &m_messages;
    m_services.folders = &m_folders;
}

void Form1RollSignTest::pointAt(Form1 &form, const QString &folder)
{
    form.rollSign().setDesiMakuPath(folder);
    form.picDir();
    QCOMPARE(form.rollSign().File1().path(), folder);
}

void Form1RollSignTest::stepping_stopsAtBothEnds()
{
    Form1 form(m_services);
    const QString folder = writeFaces(m_root.filePath(QStringLiteral("ends")), 3);
    pointAt(form, folder);
    form.showFace(folder + Sep + form.rollSign().File1().name(0));

    form.Picture1_KeyDown(38, 0);
    QCOMPARE(form.rollSign().DesiMakuIndex(), 0);
    QCOMPARE(shownColour(form), faceColour(0));
    QCOMPARE(form.rollSign().DesiMakuPath(), folder + Sep);

    for (int i = 1; i <= 3; ++i) {
        form.Picture1_KeyDown(40, 0);
    }
    QCOMPARE(form.rollSign().DesiMakuIndex(), 2);
    QCOMPARE(shownColour(form), faceColour(2));
    QCOMPARE(form.rollSign().DesiMakuPath(), folder + Sep);
    QVERIFY(m_messages.shown.empty());
}

void Form1RollSignTest::stepping_passesANonPictureSilently()
{
    Form1 form(m_services);
    const QString folder = writeFaces(m_root.filePath(QStringLiteral("broken")), 3);
    QFile broken(folder + QStringLiteral("/01.bmp"));
    QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("not a picture at all");
    broken.close();
    pointAt(form, folder);
    form.showFace(folder + Sep + QStringLiteral("00.bmp"));

    form.Picture1_KeyDown(40, 0);
    QCOMPARE(form.rollSign().DesiMakuIndex(), 1);
    QCOMPARE(shownColour(form), faceColour(0));
    form.Picture1_KeyDown(40, 0);
    QCOMPARE(shownColour(form), faceColour(2));
    QVERIFY(m_messages.shown.empty());
}

void Form1RollSignTest::stepping_emptyFolderShowsNothingAndSaysNothing()
{
    Form1 form(m_services);
    const QString folder = writeFaces(m_root.filePath(QStringLiteral("none")), 0);
    pointAt(form, folder);
    const Picture before = form.Picture1()->face();
    form.Picture1_KeyDown(40, 0);
    QCOMPARE(form.rollSign().DesiMakuIndex(), 1);
    form.Picture1_KeyDown(38, 0);
    QCOMPARE(form.rollSign().DesiMakuIndex(), 0);
    QCOMPARE(form.Picture1()->face().size(), before.size());
    QVERIFY(form.Picture1()->face().image().isNull()); // still the built-in drawing
    QVERIFY(m_messages.shown.empty());
}

void Form1RollSignTest::stepping_afterSwitchToShorterList()
{
    Form1 form(m_services);
    const QString longer = writeFaces(m_root.filePath(QStringLiteral("long")), 5);
    const QString shorter = writeFaces(m_root.filePath(QStringLiteral("short")), 2);
    pointAt(form, longer);
    for (int i = 0; i < 4; ++i) {
        form.Picture1_KeyDown(40, 0);
    }
    QCOMPARE(shownColour(form), faceColour(4));

    pointAt(form, shorter);
    QCOMPARE(shownColour(form), faceColour(4)); // the face stays until a key is pressed
    form.Picture1_KeyDown(38, 0);
    form.Picture1_KeyDown(38, 0);
    QCOMPARE(shownColour(form), faceColour(4));
    form.Picture1_KeyDown(38, 0);
    QCOMPARE(form.rollSign().DesiMakuIndex(), 1);
    QCOMPARE(shownColour(form), faceColour(1));
}

void Form1RollSignTest::stepping_japaneseNames()
{
    Form1 form(m_services);
    const QString folder = m_root.filePath(QStringLiteral("方向幕　系統"));
    writeFaces(folder, 1);
    QVERIFY(QFile::rename(folder + QStringLiteral("/00.bmp"), folder + QStringLiteral("/駅前行き.BMP")));
    QImage second(52, 32, QImage::Format_RGB32);
    second.fill(Qt::blue);
    QVERIFY(second.save(folder + QStringLiteral("/車庫行き.bmp"), "BMP"));

    pointAt(form, QDir::toNativeSeparators(folder));
    const QStringList names = {QStringLiteral("車庫行き.bmp"), QStringLiteral("駅前行き.BMP")};
    QCOMPARE(form.rollSign().File1().names(), names);
    form.Picture1_KeyDown(40, 0);
    QCOMPARE(shownColour(form), faceColour(0));
    form.Picture1_KeyDown(38, 0);
    QCOMPARE(shownColour(form), QColor(Qt::blue));
}

void Form1RollSignTest::box_drawsFaceUnscaledAndClipped()
{
    Form1 form(m_services);
    const QString small = writeFaces(m_root.filePath(QStringLiteral("small")), 1, QSize(20, 10));
    QVERIFY(form.showFace(small + Sep + QStringLiteral("00.bmp")));
    QImage shot = form.Picture1()->grab().toImage();
    QCOMPARE(shot.size(), QSize(52, 32));
    QCOMPARE(shot.pixelColor(19, 9), faceColour(0));
    QCOMPARE(shot.pixelColor(20, 9), QColor(Qt::white));
    QCOMPARE(shot.pixelColor(5, 10), QColor(Qt::white));

    const QString large = writeFaces(m_root.filePath(QStringLiteral("large")), 2, QSize(400, 300));
    QVERIFY(form.showFace(large + Sep + QStringLiteral("01.bmp")));
    shot = form.Picture1()->grab().toImage();
    QCOMPARE(shot.pixelColor(0, 0), faceColour(1));
    QCOMPARE(shot.pixelColor(51, 31), faceColour(1));

    QVERIFY(!form.showFace(large + Sep + QStringLiteral("missing.bmp")));
    QCOMPARE(shownColour(form), faceColour(1));
}

void Form1RollSignTest::clicks_giveTheBoxTheFocus()
{
    Form1 form(m_services);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    const std::function<void()> clicks[] = {
        [&] { QTest::mouseClick(form.Picture1(), Qt::LeftButton, {}, QPoint(5, 5)); },
        [&] { form.Picture1_Click(); },
        [&] { form.Image1_Click(2); },
    };
    for (const auto &click : clicks) {
        form.PicKanban()->setFocus();
        form.PicKanban()->setFocusPolicy(Qt::StrongFocus);
        form.PicKanban()->setFocus();
        QVERIFY(!form.Picture1()->hasFocus());
        click();
        QVERIFY(form.Picture1()->hasFocus());
    }
    const QString path = form.rollSign().DesiMakuPath();
    QCOMPARE(path, QString());
    // The real key reaches the handler: the separator is appended.
    QTest::keyClick(form.Picture1(), Qt::Key_A);
    QCOMPARE(form.rollSign().DesiMakuPath(), Sep);
}

void Form1RollSignTest::keypad_jump_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<int>("shown"); // position of the face shown afterwards; -1: the face before
    QTest::newRow("007") << "007" << 7;
    QTest::newRow("empty display") << "" << 0;
    QTest::newRow("99999") << "99999" << -1;
    QTest::newRow("past the end") << "12" << -1;
    QTest::newRow("last") << "11" << 11;
}

void Form1RollSignTest::keypad_jump()
{
    QFETCH(QString, digits);
    QFETCH(int, shown);
    Form1 form(m_services);
    const QString folder = writeFaces(m_root.filePath(QStringLiteral("keypad")), 12);
    pointAt(form, folder);
    form.Picture1_KeyDown(40, 0);
    form.rollSign().setDesiMakuPath(folder); // without its separator again

    frmSet *panel = form.settingsPanel();
    for (QChar digit : digits) {
        panel->Command2(digit.digitValue())->click();
    }
    panel->Command2(11)->click();

    QCOMPARE(shownColour(form), faceColour(shown < 0 ? 1 : shown));
    QCOMPARE(panel->Label1()->text(), digits);
    QCOMPARE(form.rollSign().DesiMakuIndex(), 1);
    QCOMPARE(form.rollSign().DesiMakuPath(), folder + Sep);
    QVERIFY(m_messages.shown.empty());
}

void Form1RollSignTest::keypad_jumpThenDownStepsFromPosition()
{
    Form1 form(m_services);
    const QString folder = writeFaces(m_root.filePath(QStringLiteral("jump")), 8);
    pointAt(form, folder);
    form.Picture1_KeyDown(40, 0);
    form.Picture1_KeyDown(40, 0);
    form.settingsPanel()->Command2(5)->click();
    form.settingsPanel()->Command2(11)->click();
    QCOMPARE(shownColour(form), faceColour(5));
    form.Picture1_KeyDown(40, 0);
    QCOMPARE(shownColour(form), faceColour(3));
}

void Form1RollSignTest::picDir_otherFailure_saysSoOnce()
{
    Form1 form(m_services);
    const QString folder = writeFaces(m_root.filePath(QStringLiteral("kept")), 2);
    pointAt(form, folder);
    ChooserUser user(form, {});
    const QString notAFolder = folder + Sep + QStringLiteral("00.bmp");
    form.rollSign().setDesiMakuPath(notAFolder);
    form.picDir();

    QCOMPARE(m_messages.shown.size(), std::size_t(1));
    QCOMPARE(m_messages.shown[0].title, QStringLiteral("ソラミネ"));
    QCOMPARE(m_messages.shown[0].icon, MessageBoxes::Icon::None);
    QVERIFY(!m_messages.shown[0].text.isEmpty());
    QVERIFY(m_messages.shown[0].text != NotFound);
    QVERIFY(user.textsOnOpening.isEmpty());
    QCOMPARE(form.rollSign().DesiMakuPath(), notAFolder);
    QCOMPARE(form.rollSign().File1().path(), folder);
}

void Form1RollSignTest::chooser_opensWithCurrentSetting()
{
    Form1 form(m_services);
    const QString folder = writeFaces(m_root.filePath(QStringLiteral("current")), 1);
    pointAt(form, folder);
    form.Picture1_KeyDown(16, 0);
    ChooserUser user(form, {});
    form.MnuEditHkPic_Click();
    QCOMPARE(user.textsOnOpening, QStringList{folder + Sep});
    QVERIFY(!form.openFolderChooser());
}

void Form1RollSignTest::chooser_notFoundLoopUntilCancel()
{
    Form1 form(m_services);
    const QString folder = writeFaces(m_root.filePath(QStringLiteral("good")), 2);
    pointAt(form, folder);
    const QString missing = m_root.filePath(QStringLiteral("Missing/Folder"));
    bool chooserGoneDuringMessage = true;
    m_messages.whileShown = [&](const FakeMessageBoxes::Message &) {
        chooserGoneDuringMessage = chooserGoneDuringMessage && !form.openFolderChooser();
    };
    ChooserUser user(form, {okWith(missing), okWith(missing + QStringLiteral("2")), okWith(missing)});

    form.MnuEditHkPic_Click();

    QCOMPARE(user.textsOnOpening, (QStringList{folder, missing, missing + QStringLiteral("2"), missing}));
    QCOMPARE(m_messages.shown.size(), std::size_t(3));
    for (const auto &message : m_messages.shown) {
        QCOMPARE(message.text, NotFound);
        QCOMPARE(message.title, QStringLiteral("ソラミネ"));
        QCOMPARE(message.icon, MessageBoxes::Icon::None);
    }
    QVERIFY(chooserGoneDuringMessage);
    QCOMPARE(form.rollSign().DesiMakuPath(), missing); // kept, the typed case included
    QCOMPARE(form.rollSign().File1().path(), folder);
    QCOMPARE(form.rollSign().File1().count(), 2);
}

void Form1RollSignTest::chooser_okWithEmptyText_listsNothing()
{
    Form1 form(m_services);
    pointAt(form, writeFaces(m_root.filePath(QStringLiteral("before")), 2));
    ChooserUser user(form, {okWith(QString())});
    form.MnuEditHkPic_Click();
    QCOMPARE(user.textsOnOpening.size(), 1);
    QCOMPARE(form.rollSign().DesiMakuPath(), QString());
    QCOMPARE(form.rollSign().File1().count(), 0);
    QVERIFY(m_messages.shown.empty());
}

void Form1RollSignTest::chooser_okWithGoodFolder_nextDownShowsItsFace()
{
    Form1 form(m_services);
    pointAt(form, writeFaces(m_root.filePath(QStringLiteral("first")), 3));
    const QString second = m_root.filePath(QStringLiteral("second"));
    QDir().mkpath(second);
    for (int i = 0; i < 3; ++i) {
        QImage image(52, 32, QImage::Format_RGB32);
        image.fill(QColor(10 * i, 20, 250));
        image.save(second + QStringLiteral("/s%1.bmp").arg(i), "BMP");
    }
    m_folders.answers = {QDir::toNativeSeparators(second)};
    ChooserUser user(form, {[](frmBrowseDir *dialog) {
        dialog->Command1()->click();
        dialog->Command2(0)->click();
    }});
    form.MnuEditHkPic_Click();
    QCOMPARE(form.rollSign().DesiMakuPath(),
        frmBrowseDir::browsedText(QDir::toNativeSeparators(second), frmBrowseDir::namesIgnoreCase()));
    QCOMPARE(form.rollSign().DesiMakuIndex(), 0);
    form.Picture1_KeyDown(40, 0);
    QCOMPARE(shownColour(form), QColor(10, 20, 250));
}

void Form1RollSignTest::chooser_cancelChangesNothing()
{
    Form1 form(m_services);
    const QString folder = writeFaces(m_root.filePath(QStringLiteral("stay")), 2);
    pointAt(form, folder);
    ChooserUser user(form, {[](frmBrowseDir *dialog) {
        dialog->Text1()->setText(QStringLiteral("/elsewhere"));
        dialog->Command2(1)->click();
    }});
    form.MnuEditHkPic_Click();
    QCOMPARE(form.rollSign().DesiMakuPath(), folder);
    QCOMPARE(form.rollSign().File1().path(), folder);
    QVERIFY(m_messages.shown.empty());
}

QTEST_MAIN(Form1RollSignTest)
#include "form1_rollsign_test.moc"
