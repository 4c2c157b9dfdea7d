#include "dialogs/frmshowversion.h"

#include "core/twips.h"
#include "platform/fonts.h"
#include "platform/messageboxes.h"
#include "platform/programfile.h"
#include "platform/urlopener.h"
#include "resources/resourcepaths.h"

#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace {

const QColor PlateGrey(78, 78, 78);
const QColor Yellow(255, 255, 0);
const QColor LinkBlue(0, 0, 255);

void placeTwips(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(Twips::toPixels(QRect(left, top, width, height)));
}

QLabel *makeLabel(
    QWidget *parent, const QString &objectName, const QString &text, const QColor &background, const QColor &foreground)
{
    auto label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, foreground);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAccessibleName(text);
    return label;
}

QFont gothicFont(qreal pointSize, bool bold)
{
    QFont font(Fonts::proportionalGothic());
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace

frmShowVersion::frmShowVersion(
    UrlOpener *urls, MessageBoxes *messages, const QString &makerLibraryFolder, QWidget *parent)
    // Not on top of other programs' windows: the caller gives the window an owner that keeps it
    // above the always-on-top settings panel.
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
            | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_urls(urls)
    , m_messages(messages)
    , m_makerLibrary(makerLibraryFolder)
{
    setObjectName(QStringLiteral("frmShowVersion"));
    setWindowTitle(tr("ポルカノのバージョン情報"));
    setModal(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    setFixedSize(Twips::toPixels(ClientWidth), Twips::toPixels(ClientHeight));

    m_image1 = new QLabel(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setPixmap(QIcon(ResourcePaths::versionIcon()).pixmap(QSize(32, 32)));
    m_image1->setAccessibleName(tr("バスの正面"));
    m_image1->setAccessibleDescription(tr("バスを正面から見た絵"));
    placeTwips(m_image1, 285, 165, 480, 480);

    m_label1_0 = makeLabel(this, QStringLiteral("Label1_0"), tr("ポルカノ"), PlateGrey, Yellow);
    m_label1_0->setFont(gothicFont(14.25, true));
    placeTwips(m_label1_0, 900, 240, 3840, 330);

    m_label1_1 = makeLabel(this, QStringLiteral("Label1_1"), tr("型番・製造番号："), PlateGrey, Yellow);
    m_label1_1->setFont(gothicFont(9.75, true));
    placeTwips(m_label1_1, 165, 720, 4605, 270);

    m_label2 = makeLabel(this, QStringLiteral("Label2"), tr("Varsion　1.0.0"), PlateGrey, Yellow);
    placeTwips(m_label2, 165, 1035, 3225, 225);

    const QString credits[3] = {
        tr("製造　ロバンダ模型製作所　2026"),
        tr("開発　ソラミネ工房　2024-2026"),
        tr("このソフトウェアはロバンダ模型製作所の許諾を受けて配布されています。\n"
           "個人で楽しむ範囲で自由にお使いください。\n"
           "無断での再配布・販売を禁じます。"),
    };
    const QRect creditPlaces[3] = {
        QRect(165, 1290, 3225, 240), QRect(165, 1545, 3225, 240), QRect(150, 1860, 4650, 885)};
    for (int index = 0; index < 3; ++index) {
        m_label3[index] = makeLabel(this, QStringLiteral("Label3_%1").arg(index), credits[index], PlateGrey, Qt::white);
        m_label3[index]->setGeometry(Twips::toPixels(creditPlaces[index]));
    }
    m_label3[2]->setWordWrap(true);

    m_label4 = new QLabel(this);
    m_label4->setObjectName(QStringLiteral("Label4"));
    m_label4->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    m_label4->setAccessibleName(tr("区切り線"));
    placeTwips(m_label4, 15, 2835, 4965, 60);

    m_label5 = makeLabel(
        this, QStringLiteral("Label5"), tr("ここをクリックするとロバンダHPが開きます。"), Qt::white, LinkBlue);
    QFont linkFont = gothicFont(9, false);
    linkFont.setUnderline(true);
    m_label5->setFont(linkFont);
    m_label5->setCursor(Qt::PointingHandCursor);
    m_label5->installEventFilter(this);
    placeTwips(m_label5, 240, 2985, 3315, 225);

    m_command1 = new QPushButton(tr("OK"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setAccessibleName(tr("OK"));
    m_command1->setDefault(true);
    m_command1->setAutoDefault(true);
    placeTwips(m_command1, 3570, 2940, 1230, 345);
    m_command1->setFocus();
    connect(m_command1, &QPushButton::clicked, this, &frmShowVersion::Command1_Click);

    Form_Load();
}

void frmShowVersion::Form_Load()
{
    m_label1_1->setText(tr("型番・製造番号：") + ProgramFile::baseName());
    m_label1_1->setAccessibleName(m_label1_1->text());
}

void frmShowVersion::Label5_Click()
{
    const Result<QUrl> address = m_makerLibrary.homePage();
    if (!address) {
        if (m_messages) {
            m_messages->show(this,
                tr("Zozevezu.dllのエラー"),
                address.error() + QStringLiteral("\r\n\r\n") + tr(" 上記内容をロバンダHP関係者まで報告してください。"),
                MessageBoxes::Icon::Critical);
        }
        return;
    }
    // Whether the browser could be started is not reported.
    if (m_urls) {
        m_urls->open(*address);
    }
}

void frmShowVersion::Command1_Click()
{
    hide();
    accept();
}

void frmShowVersion::reject()
{
    Command1_Click();
}

bool frmShowVersion::eventFilter(QObject *watched, QEvent *event)
{
    // A click is a left press and release both on the link line.
    if (watched == m_label5) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto mouse = static_cast<QMouseEvent *>(event);
            m_label5Pressed = mouse->button() == Qt::LeftButton;
            if (m_label5Pressed) {
                return true;
            }
        } else if (event->type() == QEvent::MouseButtonRelease) {
            auto mouse = static_cast<QMouseEvent *>(event);
            const bool clicked = m_label5Pressed && mouse->button() == Qt::LeftButton
                && m_label5->rect().contains(mouse->position().toPoint());
            m_label5Pressed = false;
            if (clicked) {
                Label5_Click();
            }
            return clicked;
        }
    }
    return QDialog::eventFilter(watched, event);
}
