#include "rollsign/rollsigndeck.h"

#include "core/twips.h"
#include "picture/pictureloader.h"
#include "picture/rasterpicture.h"
#include "platform/messageboxes.h"
#include "resources/resourcepaths.h"
#include "rollsign/rollsignbox.h"

RollSignDeck::RollSignDeck(QWidget *busWindow, MessageBoxes *messages, std::function<QWidget *()> messageOwner)
    : QObject(busWindow)
    , m_box(new RollSignBox(busWindow))
    , m_messages(messages)
    , m_messageOwner(std::move(messageOwner))
{
    setObjectName(QStringLiteral("rollSignDeck"));
    m_box->setObjectName(QStringLiteral("Picture1"));
    m_box->setAccessibleName(tr("方向幕"));
    m_box->setAccessibleDescription(tr("行き先を表示する方向幕の絵。上下の矢印キーで切り替わります"));
    m_box->setGeometry(Twips::toPixels(QRect(7005, 480, 780, 480)));
    m_box->setFace(prerenderedSvgPicture(ResourcePaths::defaultFace(), QSize(52, 32)));
}

void RollSignDeck::keyDown(int keyCode)
{
    showIfAny(m_rollSign.keyDown(keyCode));
}

void RollSignDeck::jump(const QString &display)
{
    showIfAny(m_rollSign.jump(display));
}

void RollSignDeck::focus()
{
    m_box->setFocus(Qt::MouseFocusReason);
}

bool RollSignDeck::showFace(const QString &file)
{
    const Result<Picture> loaded = loadPicture(file, m_box->size());
    if (!loaded) {
        return false;
    }
    m_box->setFace(*loaded);
    return true;
}

bool RollSignDeck::showStoredFolder()
{
    // An empty folder text lists no faces and succeeds, as does a folder without faces; the face
    // shown then stays the default one.
    if (!m_rollSign.switchFolder().ok()) {
        return false;
    }
    const std::optional<QString> first = m_rollSign.firstFace();
    return !first || showFace(*first);
}

bool RollSignDeck::switchFolderAndReport()
{
    const FileList::SetPathResult result = m_rollSign.switchFolder();
    if (result.ok()) {
        return false;
    }
    const bool notFound = result.error().status == FileList::Status::NotFound;
    const QString text =
        notFound ? tr("指定したパスが見つかりません。再度指定しなおしてください。") : result.error().description;
    if (m_messages) {
        m_messages->show(m_messageOwner(), MessageBoxes::DefaultTitle, text, MessageBoxes::Icon::None);
    }
    return notFound;
}

void RollSignDeck::chooseFolder(const FolderChooser &choose)
{
    while (const std::optional<QString> folder = choose(m_rollSign.DesiMakuPath())) {
        m_rollSign.setDesiMakuPath(*folder);
        if (!switchFolderAndReport()) {
            return;
        }
    }
}

void RollSignDeck::showIfAny(const std::optional<QString> &face)
{
    if (face) {
        showFace(*face);
    }
}
