#include "dialogs/frmbrowsedir.h"

#include "core/twips.h"
#include "platform/folderbrowser.h"

#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

void placeTwips(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(Twips::toPixels(QRect(left, top, width, height)));
}

QPushButton *makeButton(QWidget *parent, const QString &objectName, const QString &caption, const QString &accessible)
{
    auto button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setAccessibleName(accessible);
    // Neither button answers Enter: there is no default button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

frmBrowseDir::frmBrowseDir(FolderBrowser *browser, QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
            | Qt::WindowCloseButtonHint)
    , m_browser(browser)
{
    // Modal for the whole program: while it is open it alone takes input.
    setObjectName(QStringLiteral("frmBrowseDir"));
    setWindowTitle(tr("画像の位置"));
    setWindowIcon(QIcon());
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(Twips::toPixels(ClientWidth), Twips::toPixels(ClientHeight));
    setSizeGripEnabled(false);

    auto label2 = new QLabel(tr("方向幕のあるフォルダを指定してください"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    placeTwips(label2, 135, 60, 3945, 225);

    m_label1 = new QLabel(tr("位置："), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    placeTwips(m_label1, 75, 465, 885, 210);

    m_text1 = new QLineEdit(this);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setAccessibleName(tr("位置"));
    placeTwips(m_text1, 555, 405, 5070, 300);
    m_label1->setBuddy(m_text1);

    m_command1 = makeButton(this, QStringLiteral("Command1"), tr("参照(&B)..."), tr("参照"));
    placeTwips(m_command1, 5655, 405, 1020, 345);
    m_command2[0] = makeButton(this, QStringLiteral("Command2_0"), tr("OK"), tr("OK"));
    placeTwips(m_command2[0], 4200, 825, 1230, 345);
    m_command2[1] = makeButton(this, QStringLiteral("Command2_1"), tr("キャンセル"), tr("キャンセル"));
    placeTwips(m_command2[1], 5520, 825, 1230, 345);

    setTabOrder(m_text1, m_command1);
    setTabOrder(m_command1, m_command2[0]);
    setTabOrder(m_command2[0], m_command2[1]);
    m_text1->setFocus(Qt::OtherFocusReason);

    connect(m_command1, &QPushButton::clicked, this, &frmBrowseDir::Command1_Click);
    connect(m_command2[0], &QPushButton::clicked, this, [this] { Command2_Click(0); });
    connect(m_command2[1], &QPushButton::clicked, this, [this] { Command2_Click(1); });
}

bool frmBrowseDir::namesIgnoreCase()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return true;
#else
    return false;
#endif
}

QString frmBrowseDir::browsedText(const QString &folder, bool caseInsensitiveNames)
{
    return caseInsensitiveNames ? folder.toLower() : folder;
}

void frmBrowseDir::Command1_Click()
{
    if (!m_browser) {
        return;
    }
    // The browser belongs to this dialog, so it opens above it (the dialog stays on top).
    const QString folder = m_browser->browse(this, tr("方向幕のあるフォルダを選択してください"));
    if (!folder.isEmpty()) {
        m_text1->setText(browsedText(folder, namesIgnoreCase()));
    }
}

void frmBrowseDir::Command2_Click(int index)
{
    hide();
    done(index == 0 ? Accepted : Rejected);
}

void frmBrowseDir::keyPressEvent(QKeyEvent *event)
{
    // Enter and Esc press neither button and do not close the dialog.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
