// The roll-sign operations of the bus window.
#include "app/form1.h"
#include "dialogs/frmbrowsedir.h"
#include "dialogs/frmset.h"
#include "platform/messageboxes.h"
#include "rollsign/facepicture.h"
#include "rollsign/rollsignbox.h"

#include <QLabel>
#include <QLineEdit>

void Form1::picDir()
{
    if (switchFolderAndReport()) {
        MnuEditHkPic_Click();
    }
}

bool Form1::switchFolderAndReport()
{
    const FileList::SetPathResult result = m_rollSign.switchFolder();
    if (result.ok()) {
        return false;
    }
    const bool notFound = result.error().status == FileList::Status::NotFound;
    const QString text =
        notFound ? tr("指定したパスが見つかりません。再度指定しなおしてください。") : result.error().description;
    if (m_services.messages) {
        m_services.messages->show(settingsPanel(), MessageBoxes::DefaultTitle, text, MessageBoxes::Icon::None);
    }
    return notFound;
}

frmBrowseDir *Form1::openFolderChooser() const
{
    return m_frmBrowseDir;
}

bool Form1::runFolderChooser()
{
    // The chooser (and the message after it) belongs to the settings panel: the panel stays above
    // every other window, and a window it owns is kept above it, so the modal dialog is never
    // hidden behind the panel.
    auto dialog = new frmBrowseDir(m_services.folders, settingsPanel());
    dialog->Text1()->setText(m_rollSign.DesiMakuPath());
    m_frmBrowseDir = dialog;
    const bool accepted = dialog->exec() == QDialog::Accepted;
    const QString text = dialog->Text1()->text();
    // OK and Cancel have hidden the dialog; it goes now, so the next opening starts afresh.
    delete dialog;
    if (accepted) {
        m_rollSign.setDesiMakuPath(text);
    }
    return accepted;
}

bool Form1::showFace(const QString &file)
{
    const Result<Picture> loaded = loadFacePicture(file, m_picture1->size());
    if (!loaded) {
        return false;
    }
    m_picture1->setFace(*loaded);
    return true;
}

void Form1::Picture1_KeyDown(int keyCode, int)
{
    // A face that cannot be read is stepped past quietly: the position has moved, the face stays.
    if (const std::optional<QString> face = m_rollSign.keyDown(keyCode)) {
        showFace(*face);
    }
}

void Form1::jumpToTypedFace()
{
    if (const std::optional<QString> face = m_rollSign.jump(settingsPanel()->Label1()->text())) {
        showFace(*face);
    }
}

void Form1::Picture1_Click()
{
    m_picture1->setFocus(Qt::MouseFocusReason);
}

void Form1::ImgDesiMaku_Click()
{
    m_picture1->setFocus(Qt::MouseFocusReason);
}

void Form1::Image1_Click(int)
{
    m_picture1->setFocus(Qt::MouseFocusReason);
}
