#include "app/form1.h"

#include "app/decorationbox.h"
#include "app/firstpaintwatch.h"
#include "dialogs/frmset.h"
#include "picture/rasterpicture.h"
#include "core/inputcodes.h"
#include "platform/programfile.h"
#include "platform/soundoutput.h"
#include "core/twips.h"
#include "resources/resourcepaths.h"
#include "rollsign/rollsignbox.h"
#include "signboard/signboardbox.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

namespace {

const QColor FrameOutline(128, 128, 128);
const QColor FrameFill(224, 224, 224);

// How long the panel waits for the bus window's first paint at most.
constexpr int PanelLatestMs = 500;

} // namespace

Form1::Form1(const Services &services, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint)
    , m_services(services)
    // The bus and the door leaves repaint many times while a door moves: they are drawn from raster
    // copies made at the screen's pixel ratio, not from their vectors each time. The copies are
    // made on worker threads while the windows are being set up.
    , m_busPicture(prerenderedSvgPicture(ResourcePaths::bus(), QSize(776, 216)))
    , m_frontDoorPicture(prerenderedSvgPicture(ResourcePaths::frontDoor(), QSize(69, 152)))
    , m_middleDoorPictures{prerenderedSvgPicture(ResourcePaths::middleLeft(), QSize(56, 152)),
          prerenderedSvgPicture(ResourcePaths::middleRight(), QSize(56, 152))}
    , m_doorControls([this] { return settingsPanel(); })
    , m_doorSounds(services.sound)
    , m_doorAnimation(m_doorLeaves, m_doorControls, services.pacer, m_doorSounds, [this](const QRect &changed) {
        repaintTwips(changed);
    })
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("ポルカノ　-　KT41A0001"));
    setWindowIcon(QIcon(ResourcePaths::icon()));
    setFixedSize(Twips::toPixels(ClientWidth), Twips::toPixels(ClientHeight));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleDescription(tr("路線バスの側面の絵。前扉と中扉、方向幕、看板があります"));

    m_picture1 = new RollSignBox(this);
    m_picture1->setObjectName(QStringLiteral("Picture1"));
    m_picture1->setAccessibleName(tr("方向幕"));
    m_picture1->setAccessibleDescription(tr("行き先を表示する方向幕の絵。上下の矢印キーで切り替わります"));
    m_picture1->setGeometry(Twips::toPixels(QRect(7005, 480, 780, 480)));
    m_picture1->setFace(prerenderedSvgPicture(ResourcePaths::defaultFace(), QSize(52, 32)));
    connect(m_picture1, &RollSignBox::keyDown, this, &Form1::Picture1_KeyDown);
    connect(m_picture1, &RollSignBox::boxClicked, this, &Form1::Picture1_Click);
    connect(m_picture1, &RollSignBox::imageClicked, this, &Form1::ImgDesiMaku_Click);

    m_picKanban = new SignboardBox(this);
    m_picKanban->setObjectName(QStringLiteral("PicKanban"));
    m_picKanban->setAccessibleName(tr("看板"));
    m_picKanban->setAccessibleDescription(tr("看板の絵。右クリックでメニューが開きます"));
    m_picKanban->setGeometry(Twips::toPixels(m_signboard.rect()));
    connect(m_picKanban, &SignboardBox::mouseDown, this, &Form1::PicKanban_MouseDown);
    connect(m_picKanban, &SignboardBox::doubleClicked, this, &Form1::PicKanban_DblClick);
    connect(m_picKanban, &SignboardBox::dragged, this, &Form1::dragKanban);

    m_picSlideBase1 = new DecorationBox(this);
    m_picSlideBase1->setObjectName(QStringLiteral("picSlideBase1"));
    m_picSlideBase1->setAccessibleName(tr("車内"));
    m_picSlideBase1->setAccessibleDescription(tr("座席と手すりの見える車内の絵"));
    m_picSlideBase1->setGeometry(Twips::toPixels(QRect(10875, 765, 1140, 2115)));

    setTabOrder(m_picture1, m_picKanban);
    setTabOrder(m_picKanban, m_picSlideBase1);

    createMenu();

    // When the session ends, the settings are written at once: the session may then end the
    // program without a close.
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, [this] { SaveIni(); });
    }
}

Form1::~Form1()
{
    delete m_frmSet;
}

void Form1::createMenu()
{
    m_mnuTempMenu1 = new QMenu(QStringLiteral("MnuTempMenu1"), this);
    m_mnuTempMenu1->setObjectName(QStringLiteral("MnuTempMenu1"));

    m_mnuViewKanban = m_mnuTempMenu1->addAction(tr("看板の表示"));
    m_mnuViewKanban->setObjectName(QStringLiteral("MnuViewKanban"));
    m_mnuViewKanban->setCheckable(true);
    m_mnuViewKanban->setChecked(true);

    m_mnuViewWaku = m_mnuTempMenu1->addAction(tr("枠の表示"));
    m_mnuViewWaku->setObjectName(QStringLiteral("MnuViewWaku"));
    m_mnuViewWaku->setCheckable(true);
    m_mnuViewWaku->setChecked(true);

    m_mnuSetKanban = m_mnuTempMenu1->addAction(tr("看板の画像を設定..."));
    m_mnuSetKanban->setObjectName(QStringLiteral("MnuSetKanban"));

    m_mnuTempMenu1->addSeparator()->setObjectName(QStringLiteral("MnuBdr1"));

    m_mnuKanbanReset = m_mnuTempMenu1->addAction(tr("看板のリセット"));
    m_mnuKanbanReset->setObjectName(QStringLiteral("MnuKanbanReset"));

    // A checkable action flips its own tick before `triggered` arrives; the handlers apply the
    // opposite of the tick and flip it themselves, so the tick is put back first.
    connect(m_mnuViewKanban, &QAction::triggered, this, [this](bool checked) {
        m_mnuViewKanban->setChecked(!checked);
        MnuViewKanban_Click();
    });
    connect(m_mnuViewWaku, &QAction::triggered, this, [this](bool checked) {
        m_mnuViewWaku->setChecked(!checked);
        MnuViewWaku_Click();
    });
    connect(m_mnuSetKanban, &QAction::triggered, this, &Form1::MnuSetKanban_Click);
    connect(m_mnuKanbanReset, &QAction::triggered, this, &Form1::MnuKanbanReset_Click);
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
    connect(panel, &frmSet::faceJumpRequested, this, &Form1::jumpToTypedFace);
}

void Form1::Form_Load()
{
    LoadIni();
    settingsPanel();
    setWindowTitle(QStringLiteral("ポルカノ　-　") + ProgramFile::baseName());
    m_panelPending = true;
    if (m_painted) {
        showSettingsPanel();
    }
}

void Form1::showSettingsPanel()
{
    if (!std::exchange(m_panelPending, false)) {
        return;
    }
    frmSet *panel = settingsPanel();
    // Shown after the bus window, the panel must not take the activation from it.
    panel->setAttribute(Qt::WA_ShowWithoutActivating);
    // The sound output comes up once the panel is on the screen too.
    if (SoundOutput *sound = m_services.sound) {
        new FirstPaintWatch(panel, [panel, sound] {
            QMetaObject::invokeMethod(panel, [sound] { sound->prepare(); }, Qt::QueuedConnection);
        });
    }
    panel->show();
    panel->raise();
}

void Form1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Should this window not be painted soon (covered by another one that stays on top), the
    // panel comes anyway.
    if (m_panelPending) {
        QTimer::singleShot(PanelLatestMs, this, &Form1::showSettingsPanel);
    }
}

void Form1::Form_MouseDown(int button, int, double, double)
{
    // Only the right button opens the menu; the test is for that button alone, not a bit test.
    if (button == InputCodes::RightButton) {
        m_mnuTempMenu1->exec(QCursor::pos());
    }
}

void Form1::Form_Unload(int &)
{
    SaveIni();
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
    // The door leaves are images: they take their own presses, so a press on them never reaches
    // the bus picture. Only the front door has a click handler.
    if (m_doorLeaves.frontLeaf().contains(twips)) {
        m_pressedImage = event->button() == Qt::LeftButton ? 2 : -1;
        return;
    }
    if (m_doorLeaves.middleLeaf(0).contains(twips) || m_doorLeaves.middleLeaf(1).contains(twips)) {
        m_pressedImage = -1;
        return;
    }
    m_pressedImage = -1;
    Form_MouseDown(InputCodes::button(event->button()),
        InputCodes::shift(event->modifiers()),
        event->position().x() * Twips::PerPixel,
        event->position().y() * Twips::PerPixel);
}

void Form1::mouseReleaseEvent(QMouseEvent *event)
{
    const int pressed = std::exchange(m_pressedImage, -1);
    if (pressed == 2 && event->button() == Qt::LeftButton
        && m_doorLeaves.frontLeaf().contains(event->position().toPoint() * Twips::PerPixel)) {
        Image1_Click(2);
    }
}

void Form1::paintEvent(QPaintEvent *event)
{
    if (!std::exchange(m_painted, true)) {
        // Once this paint has been handled and is on its way to the screen.
        QMetaObject::invokeMethod(this, &Form1::showSettingsPanel, Qt::QueuedConnection);
    }
    // A door step repaints a few columns of the window: only what lies in the repainted area is
    // drawn, so a frame costs in proportion to what changed, not to the whole bus.
    const QRect exposed = event->rect();
    QPainter painter(this);
    painter.setClipRect(exposed);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(exposed, palette().color(QPalette::Window));
    m_busPicture.drawUnscaled(&painter, QPointF(0, 0));

    for (int index = 0; index < 3; ++index) {
        if (!m_shpK_Waku.isShapeVisible(index)) {
            continue;
        }
        // A 1-pixel outline inside the shape's rectangle, filled inside the outline.
        const QRect shape = Twips::toPixels(m_shpK_Waku.shape(index));
        painter.fillRect(shape, FrameOutline);
        painter.fillRect(shape.adjusted(1, 1, -1, -1), FrameFill);
    }

    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const auto drawLeaf = [&](const Picture &picture, const QRect &leafTwips) {
        const QRectF leaf = Twips::toPixelsF(leafTwips);
        if (leaf.intersects(exposed)) {
            picture.draw(&painter, leaf);
        }
    };
    drawLeaf(m_frontDoorPicture, m_doorLeaves.frontLeaf());
    for (int index = 0; index < 2; ++index) {
        drawLeaf(m_middleDoorPictures[index], m_doorLeaves.middleLeaf(index));
    }
}

void Form1::repaintTwips(const QRect &twips)
{
    repaint(Twips::toPixels(twips).adjusted(-1, -1, 1, 1));
}
