// The signboard and frame operations of the bus window.
#include "app/form1.h"
#include "core/inputcodes.h"
#include "picture/pictureloader.h"
#include "platform/openfiledialog.h"
#include "core/twips.h"
#include "signboard/signboardbox.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QRegion>

namespace {

// The file-type filters of the signboard's Open-file dialog. The first is the signboard's own
// pattern list; it names no ".jpg", the usual JPEG ending, so the second lets any file be chosen
// and the loader decides by the content.
QStringList kanbanFilters()
{
    return {QStringLiteral("*.bmp;*.jpeg;*.gif;*.wmf;*.emf"), QObject::tr("すべてのファイル (*)")};
}

} // namespace

void Form1::PicKanban_MouseDown(int button, int, double, double)
{
    // Tests for equality, not bits: a press reports one button.
    if (button == InputCodes::LeftButton) {
        m_picKanban->startDrag();
    } else if (button == InputCodes::RightButton) {
        m_mnuTempMenu1->exec(QCursor::pos());
    }
}

void Form1::PicKanban_DblClick()
{
    changeWaku([this] { m_shpK_Waku.placeAround(m_signboard.rect()); });
}

void Form1::PicKanban_Resize()
{
    changeWaku([this] { m_shpK_Waku.followResize(m_signboard.rect()); });
}

void Form1::MnuViewKanban_Click()
{
    setKanbanVisible(!m_mnuViewKanban->isChecked());
    m_mnuViewKanban->setChecked(!m_mnuViewKanban->isChecked());
}

void Form1::MnuViewWaku_Click()
{
    changeWaku([this] {
        for (int index = 0; index < 3; ++index) {
            m_shpK_Waku.setShapeVisible(index, !m_mnuViewWaku->isChecked());
        }
    });
    PicKanban_DblClick();
    m_mnuViewWaku->setChecked(!m_mnuViewWaku->isChecked());
}

void Form1::MnuSetKanban_Click()
{
    // Any failure ends here silently: a cancelled dialog, a missing file or one that is not a
    // picture leaves the picture, `KanbanPath` and the frame as they were.
    if (!m_services.openFile) {
        return;
    }
    const QString file = m_services.openFile->getOpenFileName(dialogOwner(), kanbanFilters());
    if (file.isEmpty()) {
        return;
    }
    const Result<Picture> loaded = loadPicture(file);
    if (!loaded) {
        return;
    }
    assignKanbanPicture(*loaded);
    m_signboard.setPath(file);
    PicKanban_DblClick();
}

void Form1::MnuKanbanReset_Click()
{
    const bool resized = m_signboard.reset();
    m_picKanban->setPicture(m_signboard.picture());
    syncKanbanWidget();
    if (resized) {
        PicKanban_Resize();
    }
    PicKanban_DblClick();
}

void Form1::setKanbanLeft(int twips)
{
    m_signboard.setLeft(twips);
    syncKanbanWidget();
}

void Form1::setKanbanTop(int twips)
{
    m_signboard.setTop(twips);
    syncKanbanWidget();
}

void Form1::setKanbanVisible(bool visible)
{
    m_signboard.setVisible(visible);
    syncKanbanWidget();
}

void Form1::setWakuVisible(bool visible)
{
    changeWaku([this, visible] {
        for (int index = 0; index < 3; ++index) {
            m_shpK_Waku.setShapeVisible(index, visible);
        }
    });
}

bool Form1::setKanbanPicture(const QString &path)
{
    const Result<Picture> loaded = loadPicture(path);
    if (!loaded) {
        return false;
    }
    assignKanbanPicture(*loaded);
    return true;
}

void Form1::assignKanbanPicture(const Picture &picture)
{
    const bool resized = m_signboard.setPicture(picture);
    m_picKanban->setPicture(picture);
    syncKanbanWidget();
    if (resized) {
        PicKanban_Resize();
    }
}

void Form1::syncKanbanWidget()
{
    m_picKanban->setGeometry(Twips::toPixels(m_signboard.rect()));
    m_picKanban->setVisible(m_signboard.isVisible());
}

void Form1::dragKanban(QPoint topLeft)
{
    // A drag moves by whole pixels, so the box lands on a whole pixel in twips too.
    m_signboard.moveTo(topLeft * Twips::PerPixel);
    syncKanbanWidget();
}

template <typename Change> void Form1::changeWaku(Change change)
{
    // The shapes are painted by this window, so it repaints where they were and where they are.
    QRegion dirty;
    const auto addShapes = [this, &dirty] {
        for (int index = 0; index < 3; ++index) {
            dirty += Twips::toPixels(m_shpK_Waku.shape(index)).adjusted(-1, -1, 1, 1);
        }
    };
    addShapes();
    change();
    addShapes();
    repaint(dirty);
}
