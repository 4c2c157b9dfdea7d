#include "signboard/signboardcontroller.h"

#include "core/inputcodes.h"
#include "core/twips.h"
#include "picture/pictureloader.h"
#include "platform/openfiledialog.h"
#include "signboard/signboardbox.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QPainter>
#include <QRegion>

namespace {

const QColor FrameOutline(128, 128, 128);
const QColor FrameFill(224, 224, 224);

// The file-type filters of the signboard's Open-file dialog. The first is the signboard's own
// pattern list; it names no ".jpg", the usual JPEG ending, so the second lets any file be chosen
// and the loader decides by the content.
QStringList pictureFilters()
{
    return {QStringLiteral("*.bmp;*.jpeg;*.gif;*.wmf;*.emf"), QObject::tr("すべてのファイル (*)")};
}

} // namespace

SignboardController::SignboardController(
    QWidget *busWindow, Repaint repaint, OpenFileDialog *openFile, std::function<QWidget *()> dialogOwner)
    : QObject(busWindow)
    , m_box(new SignboardBox(busWindow))
    , m_repaint(std::move(repaint))
    , m_openFile(openFile)
    , m_dialogOwner(std::move(dialogOwner))
{
    setObjectName(QStringLiteral("signboardController"));
    m_box->setObjectName(QStringLiteral("PicKanban"));
    m_box->setAccessibleName(tr("看板"));
    m_box->setAccessibleDescription(tr("看板の絵。右クリックでメニューが開きます"));
    m_box->setGeometry(Twips::toPixels(m_signboard.rect()));
    connect(m_box, &SignboardBox::dragged, this, &SignboardController::dragTo);
    createMenu(busWindow);
}

void SignboardController::createMenu(QWidget *busWindow)
{
    m_mnuTempMenu1 = new QMenu(QStringLiteral("MnuTempMenu1"), busWindow);
    m_mnuTempMenu1->setObjectName(QStringLiteral("MnuTempMenu1"));

    m_mnuViewKanban = m_mnuTempMenu1->addAction(tr("看板の表示"));
    m_mnuViewKanban->setObjectName(QStringLiteral("MnuViewKanban"));
    m_mnuViewKanban->setCheckable(true);
    m_mnuViewKanban->setChecked(true);

    m_mnuViewWaku = m_mnuTempMenu1->addAction(tr("枠の表示"));
    m_mnuViewWaku->setObjectName(QStringLiteral("MnuViewWaku"));
    m_mnuViewWaku->setCheckable(true);
    m_mnuViewWaku->setChecked(true);

    QAction *mnuSetKanban = m_mnuTempMenu1->addAction(tr("看板の画像を設定..."));
    mnuSetKanban->setObjectName(QStringLiteral("MnuSetKanban"));

    m_mnuTempMenu1->addSeparator()->setObjectName(QStringLiteral("MnuBdr1"));

    QAction *mnuKanbanReset = m_mnuTempMenu1->addAction(tr("看板のリセット"));
    mnuKanbanReset->setObjectName(QStringLiteral("MnuKanbanReset"));

    // A checkable action flips its own tick before `triggered` arrives; the switches apply the
    // opposite of the tick and flip it themselves, so the tick is put back first.
    connect(m_mnuViewKanban, &QAction::triggered, this, [this](bool checked) {
        m_mnuViewKanban->setChecked(!checked);
        toggleBoxShown();
    });
    connect(m_mnuViewWaku, &QAction::triggered, this, [this](bool checked) {
        m_mnuViewWaku->setChecked(!checked);
        toggleFrameShown();
    });
    connect(mnuSetKanban, &QAction::triggered, this, &SignboardController::choosePicture);
    connect(mnuKanbanReset, &QAction::triggered, this, &SignboardController::reset);
}

void SignboardController::popUpMenu()
{
    m_mnuTempMenu1->exec(QCursor::pos());
}

void SignboardController::boxMouseDown(int button)
{
    // Tests for equality, not bits: a press reports one button.
    if (button == InputCodes::LeftButton) {
        m_box->startDrag();
    } else if (button == InputCodes::RightButton) {
        popUpMenu();
    }
}

void SignboardController::toggleBoxShown()
{
    setBoxShown(!m_mnuViewKanban->isChecked());
    m_mnuViewKanban->setChecked(!m_mnuViewKanban->isChecked());
}

void SignboardController::toggleFrameShown()
{
    setFrameShown(!m_mnuViewWaku->isChecked());
    placeFrame();
    m_mnuViewWaku->setChecked(!m_mnuViewWaku->isChecked());
}

bool SignboardController::isBoxTicked() const
{
    return m_mnuViewKanban->isChecked();
}

bool SignboardController::isFrameTicked() const
{
    return m_mnuViewWaku->isChecked();
}

bool SignboardController::restore(bool boxShown, bool frameShown, int left, int top)
{
    setBoxShown(boxShown);
    m_mnuViewKanban->setChecked(boxShown);
    setFrameShown(frameShown);
    m_mnuViewWaku->setChecked(frameShown);
    setLeft(left);
    setTop(top);
    if (!setPicture(m_signboard.path())) {
        return false;
    }
    placeFrame();
    return true;
}

void SignboardController::placeFrame()
{
    changeFrame([this] { m_frame.placeAround(m_signboard.rect()); });
}

void SignboardController::followResize()
{
    changeFrame([this] { m_frame.followResize(m_signboard.rect()); });
}

void SignboardController::setLeft(int twips)
{
    m_signboard.setLeft(twips);
    syncBox();
}

void SignboardController::setTop(int twips)
{
    m_signboard.setTop(twips);
    syncBox();
}

void SignboardController::dragTo(QPoint topLeft)
{
    // A drag moves by whole pixels, so the box lands on a whole pixel in twips too.
    m_signboard.moveTo(topLeft * Twips::PerPixel);
    syncBox();
}

void SignboardController::setBoxShown(bool shown)
{
    m_signboard.setVisible(shown);
    syncBox();
}

void SignboardController::setFrameShown(bool shown)
{
    changeFrame([this, shown] {
        for (int index = 0; index < SignboardFrame::ShapeCount; ++index) {
            m_frame.setShapeVisible(index, shown);
        }
    });
}

bool SignboardController::setPicture(const QString &path)
{
    const Result<Picture> loaded = loadPicture(path);
    if (!loaded) {
        return false;
    }
    assignPicture(*loaded);
    return true;
}

void SignboardController::choosePicture()
{
    if (!m_openFile) {
        return;
    }
    const QString file = m_openFile->getOpenFileName(m_dialogOwner(), pictureFilters());
    if (file.isEmpty()) {
        return;
    }
    const Result<Picture> loaded = loadPicture(file);
    if (!loaded) {
        return;
    }
    assignPicture(*loaded);
    m_signboard.setPath(file);
    placeFrame();
}

void SignboardController::reset()
{
    const bool resized = m_signboard.reset();
    m_box->setPicture(m_signboard.picture());
    syncBox();
    if (resized) {
        followResize();
    }
    placeFrame();
}

void SignboardController::paintFrame(QPainter *painter) const
{
    for (int index = 0; index < SignboardFrame::ShapeCount; ++index) {
        if (!m_frame.isShapeVisible(index)) {
            continue;
        }
        // A 1-pixel outline inside the shape's rectangle, filled inside the outline.
        const QRect shape = Twips::toPixels(m_frame.shape(index));
        painter->fillRect(shape, FrameOutline);
        painter->fillRect(shape.adjusted(1, 1, -1, -1), FrameFill);
    }
}

void SignboardController::assignPicture(const Picture &picture)
{
    const bool resized = m_signboard.setPicture(picture);
    m_box->setPicture(picture);
    syncBox();
    if (resized) {
        followResize();
    }
}

void SignboardController::syncBox()
{
    m_box->setGeometry(Twips::toPixels(m_signboard.rect()));
    m_box->setVisible(m_signboard.isVisible());
}

void SignboardController::changeFrame(const std::function<void()> &change)
{
    QRegion dirty;
    const auto addShapes = [this, &dirty] {
        for (int index = 0; index < SignboardFrame::ShapeCount; ++index) {
            dirty += Twips::toPixels(m_frame.shape(index)).adjusted(-1, -1, 1, 1);
        }
    };
    addShapes();
    change();
    addShapes();
    m_repaint(dirty);
}
