#include "app/form1.h"

#include "app/decorationbox.h"
#include "app/panelstart.h"
#include "core/inputcodes.h"
#include "core/twips.h"
#include "dialogs/frmbrowsedir.h"
#include "dialogs/frmset.h"
#include "dialogs/frmshowversion.h"
#include "doors/busdoors.h"
#include "picture/artworkicon.h"
#include "picture/rasterpicture.h"
#include "platform/programfile.h"
#include "resources/resourcepaths.h"
#include "rollsign/rollsignbox.h"
#include "rollsign/rollsigndeck.h"
#include "signboard/signboardbox.h"
#include "signboard/signboardcontroller.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QSessionManager>

namespace {

// The element of the control array `Image1` that is the front door's leaf.
constexpr int FrontDoorImage = 2;

} // namespace

Form1::Form1(const Services &services, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint)
    , m_services(services)
    // The bus repaints under the door leaves many times while a door moves: it is drawn from a
    // raster copy made at the screen's pixel ratio (on a worker thread while the windows are being
    // set up), not from its vectors each time.
    , m_busPicture(prerenderedSvgPicture(ResourcePaths::bus(), QSize(776, 216)))
    , m_doorControls([this] { return settingsPanel(); })
    , m_doors(new BusDoors(this, m_doorControls, services.pacer, services.sound))
    , m_rollSign(new RollSignDeck(this, services.messages, [this] { return settingsPanel(); }))
    , m_panelStart(new PanelStart(
          this, [this] { return settingsPanel(); }, services.sound))
    , m_signboard(new SignboardController(
          this, [this](const QRegion &dirty) { repaint(dirty); }, services.openFile, [this] { return dialogOwner(); }))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ポルカノ　-　KT41A0001"));
    setWindowIcon(artworkIcon(ResourcePaths::icon(), ResourcePaths::iconSizes()));
    setFixedSize(Twips::toPixels(ClientWidth), Twips::toPixels(ClientHeight));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleDescription(tr("路線バスの側面の絵。前扉と中扉、方向幕、看板があります"));

    RollSignBox *picture1 = m_rollSign->box();
    connect(picture1, &RollSignBox::keyDown, this, &Form1::Picture1_KeyDown);
    connect(picture1, &RollSignBox::boxClicked, this, &Form1::Picture1_Click);
    connect(picture1, &RollSignBox::imageClicked, this, &Form1::ImgDesiMaku_Click);

    SignboardBox *picKanban = m_signboard->box();
    connect(picKanban, &SignboardBox::mouseDown, this, &Form1::PicKanban_MouseDown);
    connect(picKanban, &SignboardBox::doubleClicked, this, &Form1::PicKanban_DblClick);

    auto picSlideBase1 = new DecorationBox(this);

    setTabOrder(picture1, picKanban);
    setTabOrder(picKanban, picSlideBase1);

    // When the session ends, the settings are written at once: the session may then end the
    // program without a close.
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        // A session manager that does not let the program interact gets no message box: the
        // failure goes to the standard error, and the close says it again if it still fails.
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &manager) {
            saveSettings([&manager] { return manager.allowsInteraction(); });
        });
    }
}

Form1::~Form1()
{
    delete m_frmSet;
}

frmSet *Form1::settingsPanel()
{
    if (!m_frmSet) {
        m_frmSet = new frmSet;
        connectPanel(m_frmSet);
    }
    return m_frmSet;
}

void Form1::connectPanel(frmSet *panel)
{
    connect(panel, &frmSet::frontDoorToggled, this, &Form1::Check1_Click);
    connect(panel, &frmSet::middleDoorToggled, this, &Form1::Check2_Click);
    connect(panel, &frmSet::frontSpeedChanged, this, &Form1::HScroll1_Change);
    connect(panel, &frmSet::middleSpeedChanged, this, &Form1::HScroll2_Change);
    connect(panel, &frmSet::folderChooserRequested, this, &Form1::MnuEditHkPic_Click);
    connect(panel, &frmSet::versionWindowRequested, this, &Form1::MnuHelpVer_Click);
    connect(panel, &frmSet::faceJumpRequested, this, [this] { m_rollSign->jump(settingsPanel()->Label1()->text()); });
}

QWidget *Form1::dialogOwner()
{
    // The panel stays above every other window, and a window it owns is kept above it: a dialog
    // owned by the bus window would open under the panel.
    return settingsPanel();
}

void Form1::Form_Load()
{
    LoadIni();
    settingsPanel();
    setWindowTitle(QStringLiteral("ポルカノ　-　") + ProgramFile::baseName());
    m_panelStart->request();
}

// ---- Doors ----

void Form1::Check1_Click()
{
    m_doors->runFrontDoor();
}

void Form1::Check2_Click()
{
    m_doors->runMiddleDoor();
}

void Form1::HScroll1_Change()
{
    settingsPanel()->showFrontSpeed();
}

void Form1::HScroll2_Change()
{
    settingsPanel()->showMiddleSpeed();
}

void Form1::Image1_Click(int)
{
    m_rollSign->focus();
}

// ---- Roll sign ----

void Form1::MnuEditHkPic_Click()
{
    m_rollSign->chooseFolder([this](const QString &current) { return runFolderChooser(current); });
}

std::optional<QString> Form1::runFolderChooser(const QString &current)
{
    // The chooser (and the message after it) belongs to the settings panel, so the modal dialog
    // is never hidden behind the panel. A fresh one for every opening.
    frmBrowseDir dialog(m_services.folders, dialogOwner());
    dialog.Text1()->setText(current);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Text1()->text();
}

void Form1::picDir()
{
    if (m_rollSign->switchFolderAndReport()) {
        MnuEditHkPic_Click();
    }
}

void Form1::Picture1_KeyDown(int keyCode, int)
{
    m_rollSign->keyDown(keyCode);
}

void Form1::Picture1_Click()
{
    m_rollSign->focus();
}

void Form1::ImgDesiMaku_Click()
{
    m_rollSign->focus();
}

// ---- Signboard ----

void Form1::PicKanban_MouseDown(int button, int, double, double)
{
    m_signboard->boxMouseDown(button);
}

void Form1::PicKanban_DblClick()
{
    m_signboard->placeFrame();
}

void Form1::PicKanban_Resize()
{
    m_signboard->followResize();
}

void Form1::MnuViewKanban_Click()
{
    m_signboard->toggleBoxShown();
}

void Form1::MnuViewWaku_Click()
{
    m_signboard->toggleFrameShown();
}

void Form1::MnuSetKanban_Click()
{
    m_signboard->choosePicture();
}

void Form1::MnuKanbanReset_Click()
{
    m_signboard->reset();
}

// ---- Version window ----

void Form1::MnuHelpVer_Click()
{
    // A fresh window for every opening; exec() returns when it has closed.
    frmShowVersion window(m_services.urls, m_services.messages, ProgramFile::folder(), dialogOwner());
    window.exec();
}

// ---- The window ----

void Form1::Form_MouseDown(int button, int, double, double)
{
    // Only the right button opens the menu; the test is for that button alone, not a bit test.
    if (button == InputCodes::RightButton) {
        m_signboard->popUpMenu();
    }
}

void Form1::Form_Unload(int &)
{
    SaveIni();
}

void Form1::requestClose()
{
    m_doors->whenStill([this] { close(); });
}

void Form1::closeEvent(QCloseEvent *event)
{
    // A close asked for again while the first runs (a second termination signal during the
    // failed-save message) or after it neither saves again nor ends anything early.
    if (std::exchange(m_closing, true)) {
        event->ignore();
        return;
    }
    int cancel = 0;
    Form_Unload(cancel);
    event->accept();
    // The program ends with the bus window; the panel and any dialog go with it.
    if (m_frmSet) {
        m_frmSet->hide();
    }
    // A settings file that could not be written ends the program with a failure exit code.
    QCoreApplication::exit(m_settingsSaveFailed ? 1 : 0);
}

void Form1::mousePressEvent(QMouseEvent *event)
{
    const QPoint twips = event->position().toPoint() * Twips::PerPixel;
    if (m_doors->takePress(twips, event->button() == Qt::LeftButton)) {
        return;
    }
    Form_MouseDown(InputCodes::button(event->button()),
        InputCodes::shift(event->modifiers()),
        event->position().x() * Twips::PerPixel,
        event->position().y() * Twips::PerPixel);
}

void Form1::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint twips = event->position().toPoint() * Twips::PerPixel;
    if (m_doors->isFrontDoorClick(twips, event->button() == Qt::LeftButton)) {
        Image1_Click(FrontDoorImage);
    }
}

void Form1::paintEvent(QPaintEvent *event)
{
    // A door step repaints a few columns of the window: only what lies in the repainted area is
    // drawn, so a frame costs in proportion to what changed, not to the whole bus.
    const QRect exposed = event->rect();
    QPainter painter(this);
    painter.setClipRect(exposed);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(exposed, palette().color(QPalette::Window));
    m_busPicture.drawUnscaled(&painter, QPointF(0, 0));
    m_signboard->paintFrame(&painter);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setRenderHint(QPainter::Antialiasing, true);
    m_doors->paint(&painter, exposed);
}
