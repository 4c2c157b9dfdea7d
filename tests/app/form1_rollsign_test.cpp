#include "app/form1parts.h"
#include "dialogs/frmbrowsedir.h"
#include "dialogs/frmset.h"
#include "fakes/fakefolderbrowser.h"
#include "fakes/fakemessageboxes.h"
#include "rollsign/rollsignbox.h"
#include "signboard/signboardbox.h"
#include "support/pictures.h"

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

namespace {

const QString NotFound = QStringLiteral("指定したパスが見つかりません。再度指定しなおしてください。");
const QString Sep = QString(QDir::separator());

// The colour of face number `i`; each face is a solid rectangle of its own colour.
QColor faceColour(int i)
{
    return QColor(QColor::fromHsv(i * 37, 255, 255).rgb());
}

// Writes `count` solid faces 00.bmp, 01.bmp, ... into `folder` (created if needed) and returns
// the folder as the setting holds it.
QString writeFaces(const QString &folder, int count, QSize size = QSize(52, 32))
{
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        writeSolidBmp(folder + QStringLiteral("/%1.bmp").arg(i, 2, 10, QLatin1Char('0')), size, faceColour(i));
    }
    return QDir::toNativeSeparators(folder);
}

QColor shownColour(const Form1 &form)
{
    const QImage face = Picture1(form)->face().image();
    return face.isNull() ? QColor() : face.pixelColor(0, 0);
}

// Plays the user at each folder chooser as it opens: the next prepared action, or Cancel when
// none is left, so a test never hangs on a dialog.
class ChooserUser
{
public:
    using Action = std::function<void(frmBrowseDir *)>;

    ChooserUser(Form1 &form, QList<Action> actions)
        : m_actions(std::move(actions))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this, &form] {
            frmBrowseDir *dialog = openFolderChooser(form);
            if (dialog && dialog->isVisible() && dialog != m_last) {
                m_last = dialog;
                textsOnOpening.append(dialog->Text1()->text());
                m_actions.isEmpty() ? dialog->Command2(1)->click() : m_actions.takeFirst()(dialog);
            }
        });
        m_timer.start(5);
    }

    QStringList textsOnOpening; // Text1 of each chooser as it opened

private:
    QList<Action> m_actions;
    QPointer<frmBrowseDir> m_last;
    QTimer m_timer;
};

ChooserUser::Action typeAndPress(const QString &text, int button)
{
    return [text, button](frmBrowseDir *dialog) {
        dialog->Text1()->setText(text);
        dialog->Command2(button)->click();
    };
}

} // namespace

class Form1RollSignTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void keysAndKeypad_showFacesEachFromItsOwnPosition();
    void frontDoorClick_givesTheBoxTheKeys();
    void box_drawsFaceUnscaledOnWhite();
    void picDir_otherFailure_saysSoOnce();
    void chooser_notFound_offersAgainUntilCancel();
    void chooser_browseAndOk_switchesTheList();

private:
    void pointAt(Form1 &form, const QString &folder);

    QTemporaryDir m_root;
    FakeMessageBoxes m_messages;
    FakeFolderBrowser m_folders;
    Form1::Services m_services{nullptr, nullptr, &m_messages, nullptr, &m_folders, nullptr};
};

void Form1RollSignTest::init()
{
    m_messages = FakeMessageBoxes();
    m_folders = FakeFolderBrowser();
}

void Form1RollSignTest::pointAt(Form1 &form, const QString &folder)
{
    rollSign(form).setDesiMakuPath(folder);
    form.picDir();
    QCOMPARE(rollSign(form).File1().path(), folder);
}

void Form1RollSignTest::keysAndKeypad_showFacesEachFromItsOwnPosition()
{
    Form1 form(m_services);
    const QString folder = writeFaces(m_root.filePath(QStringLiteral("方向幕　系統")), 4);
    QFile broken(folder + QStringLiteral("/01.bmp"));
    QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("not a picture at all");
    broken.close();
    pointAt(form, folder);
    QVERIFY(showFace(form, folder + Sep + QStringLiteral("00.bmp")));

    QTest::keyClick(Picture1(form), Qt::Key_Down); // onto the unreadable face: the face stays
    QCOMPARE(rollSign(form).DesiMakuIndex(), 1);
    QCOMPARE(shownColour(form), faceColour(0));
    QTest::keyClick(Picture1(form), Qt::Key_Down);
    QCOMPARE(shownColour(form), faceColour(2));

    form.settingsPanel()->Command2(0)->click();
    form.settingsPanel()->Command2(11)->click();
    QCOMPARE(shownColour(form), faceColour(0));
    QTest::keyClick(Picture1(form), Qt::Key_Down); // on from position 2, not from the keypad's face
    QCOMPARE(shownColour(form), faceColour(3));
    QCOMPARE(rollSign(form).DesiMakuPath(), folder + Sep);
    QVERIFY(m_messages.shown.empty());
}

void Form1RollSignTest::frontDoorClick_givesTheBoxTheKeys()
{
    Form1 form(m_services);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    PicKanban(form)->setFocusPolicy(Qt::StrongFocus);
    PicKanban(form)->setFocus();
    QVERIFY(!Picture1(form)->hasFocus());

    // A press on the door released off it is no click.
    const QPoint door = doorLeaves(form).frontLeaf().center() / 15;
    QTest::mousePress(&form, Qt::LeftButton, {}, door);
    QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(400, 10));
    QVERIFY(!Picture1(form)->hasFocus());
    QTest::mouseClick(&form, Qt::LeftButton, {}, door);
    QVERIFY(Picture1(form)->hasFocus());
}

void Form1RollSignTest::box_drawsFaceUnscaledOnWhite()
{
    Form1 form(m_services);
    const QString small = writeFaces(m_root.filePath(QStringLiteral("small")), 1, QSize(20, 10));
    QVERIFY(showFace(form, small + Sep + QStringLiteral("00.bmp")));
    const QImage shot = Picture1(form)->grab().toImage();
    QCOMPARE(shot.size(), QSize(52, 32));
    QCOMPARE(shot.pixelColor(19, 9), faceColour(0));
    QCOMPARE(shot.pixelColor(20, 9), QColor(Qt::white));
    QCOMPARE(shot.pixelColor(5, 10), QColor(Qt::white));
}

void Form1RollSignTest::picDir_otherFailure_saysSoOnce()
{
    Form1 form(m_services);
    const QString folder = writeFaces(m_root.filePath(QStringLiteral("kept")), 2);
    pointAt(form, folder);
    ChooserUser user(form, {});
    const QString notAFolder = folder + Sep + QString(300, u'n'); // a name too long
    rollSign(form).setDesiMakuPath(notAFolder);
    form.picDir();

    QCOMPARE(m_messages.shown.size(), 1);
    QCOMPARE(m_messages.shown[0].title, QStringLiteral("ソラミネ"));
    QVERIFY(!m_messages.shown[0].text.isEmpty() && m_messages.shown[0].text != NotFound);
    QVERIFY(user.textsOnOpening.isEmpty());
    QCOMPARE(rollSign(form).DesiMakuPath(), notAFolder);
    QCOMPARE(rollSign(form).File1().path(), folder);
}

void Form1RollSignTest::chooser_notFound_offersAgainUntilCancel()
{
    Form1 form(m_services);
    const QString folder = writeFaces(m_root.filePath(QStringLiteral("good")), 2);
    pointAt(form, folder);
    const QString missing = m_root.filePath(QStringLiteral("Missing/Folder"));
    bool chooserGoneDuringMessage = true;
    m_messages.whileShown = [&](const FakeMessageBoxes::Message &) {
        chooserGoneDuringMessage = chooserGoneDuringMessage && !openFolderChooser(form);
    };
    ChooserUser user(form,
        {typeAndPress(missing + u'2', 0), typeAndPress(missing, 0), typeAndPress(QStringLiteral("/elsewhere"), 1)});

    form.MnuEditHkPic_Click();

    QCOMPARE(user.textsOnOpening, (QStringList{folder, missing + u'2', missing}));
    QCOMPARE(m_messages.shown.size(), 2);
    for (const auto &message : m_messages.shown) {
        QCOMPARE(message.text, NotFound);
        QCOMPARE(message.title, QStringLiteral("ソラミネ"));
        QCOMPARE(message.icon, MessageBoxes::Icon::None);
    }
    QVERIFY(chooserGoneDuringMessage);
    QCOMPARE(rollSign(form).DesiMakuPath(), missing); // kept, the typed case included
    QCOMPARE(rollSign(form).File1().path(), folder);
}

void Form1RollSignTest::chooser_browseAndOk_switchesTheList()
{
    Form1 form(m_services);
    pointAt(form, writeFaces(m_root.filePath(QStringLiteral("one")), 1));
    const QString three = writeFaces(m_root.filePath(QStringLiteral("three")), 3);
    m_folders.answers = {three};
    ChooserUser user(form, {[](frmBrowseDir *dialog) {
        dialog->Command1()->click();
        dialog->Command2(0)->click();
    }});

    form.MnuEditHkPic_Click();

    QCOMPARE(rollSign(form).DesiMakuPath(), frmBrowseDir::browsedText(three, frmBrowseDir::namesIgnoreCase()));
    form.Picture1_KeyDown(40, 0);
    QCOMPARE(shownColour(form), faceColour(1));
    QVERIFY(m_messages.shown.empty());
}

QTEST_MAIN(Form1RollSignTest)
#include "form1_rollsign_test.moc"
