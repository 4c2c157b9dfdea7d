#include "dialogs/frmset.h"

#include "core/inputcodes.h"
#include "core/twips.h"
#include "dialogs/picturetoggle.h"
#include "platform/fonts.h"
#include "resources/resourcepaths.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include <utility>

namespace {

const QColor PanelGrey(64, 64, 64);
const QColor LightGrey(224, 224, 224);
const QColor SpeedText(255, 192, 128);
const QColor KeypadOrange(255, 128, 0);

void placeTwips(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(Twips::toPixels(QRect(left, top, width, height)));
}

void setBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

QFrame *makeFrame(QWidget *parent, const QString &objectName, const QColor &background)
{
    auto frame = new QFrame(parent);
    frame->setObjectName(objectName);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    setBackground(frame, background);
    return frame;
}

PictureToggle *makePictureToggle(
    QWidget *parent, const QString &objectName, const QString &picture, const QString &accessibleName)
{
    auto button = new PictureToggle(svgPicture(picture, QSize(50, 20)).valueOr(Picture()), parent);
    button->setObjectName(objectName);
    button->setAccessibleName(accessibleName);
    return button;
}

// A horizontal scroll bar that takes the keys as the platform's scroll-bar controls do: Left steps
// down, Right up, Page Up and Page Down page down and up, Home and End go to the ends. (QScrollBar
// turns Left/Right the other way round.)
class SpeedBar final : public QScrollBar
{
public:
    using QScrollBar::QScrollBar;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        static constexpr std::pair<int, SliderAction> Actions[] = {{Qt::Key_Left, SliderSingleStepSub},
            {Qt::Key_Right, SliderSingleStepAdd},
            {Qt::Key_PageUp, SliderPageStepSub},
            {Qt::Key_PageDown, SliderPageStepAdd},
            {Qt::Key_Home, SliderToMinimum},
            {Qt::Key_End, SliderToMaximum}};
        for (const auto &[key, action] : Actions) {
            if (event->key() == key) {
                triggerAction(action);
                event->accept();
                return;
            }
        }
        QScrollBar::keyPressEvent(event);
    }
};

QScrollBar *makeSpeedBar(QWidget *parent, const QString &objectName, int value, const QString &accessibleName)
{
    auto bar = new SpeedBar(Qt::Horizontal, parent);
    bar->setObjectName(objectName);
    bar->setRange(frmSet::SpeedMin, frmSet::SpeedMax);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->setValue(value);
    bar->setAccessibleName(accessibleName);
    // A tab stop that a click focuses too, as the platform's scroll-bar controls are: Left/Right
    // and Page Up/Page Down step by 1, Home/End go to the ends.
    bar->setFocusPolicy(Qt::StrongFocus);
    return bar;
}

// A label that shows a value: with no fixed accessible name, a screen reader reads its text (the
// value), and the description says what the value is.
void describeValueLabel(QLabel *label, const QString &purpose)
{
    label->setAccessibleDescription(purpose);
}

QLabel *makeSpeedLabel(QWidget *parent, const QString &objectName, const QString &purpose)
{
    auto label = new QLabel(QStringLiteral("0"), parent);
    label->setObjectName(objectName);
    setBackground(label, Qt::black);
    setTextColour(label, SpeedText);
    describeValueLabel(label, purpose);
    return label;
}

} // namespace

frmSet::frmSet(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmSet"));
    setWindowTitle(tr("設定パネル"));
    // On macOS a tool window hides while another application is active; the panel stays above
    // all windows.
    setAttribute(Qt::WA_MacAlwaysShowToolWindow);
    setBackground(this, PanelGrey);
    setFixedSize(Twips::toPixels(3945), Twips::toPixels(2565));

    m_frameA = makeFrame(this, QStringLiteral("FrameA"), Qt::black);
    placeTwips(m_frameA, 30, 30, 2190, 1965);

    m_check1 = makePictureToggle(m_frameA, QStringLiteral("Check1"), ResourcePaths::toggleFront(), tr("前扉"));
    placeTwips(m_check1, 75, 165, 735, 510);
    m_hScroll1 = makeSpeedBar(m_frameA, QStringLiteral("HScroll1"), 6000, tr("前扉の速さ"));
    placeTwips(m_hScroll1, 855, 195, 1260, 240);
    m_lblMaeSpeed = makeSpeedLabel(m_frameA, QStringLiteral("lblMaeSpeed"), tr("前扉の速さの値"));
    placeTwips(m_lblMaeSpeed, 885, 450, 1215, 240);

    m_check2 = makePictureToggle(m_frameA, QStringLiteral("Check2"), ResourcePaths::toggleMiddle(), tr("中扉"));
    placeTwips(m_check2, 60, 840, 735, 525);
    m_hScroll2 = makeSpeedBar(m_frameA, QStringLiteral("HScroll2"), 10000, tr("中扉の速さ"));
    placeTwips(m_hScroll2, 840, 840, 1230, 240);
    m_lblNakaSpeed = makeSpeedLabel(m_frameA, QStringLiteral("lblNakaSpeed"), tr("中扉の速さの値"));
    placeTwips(m_lblNakaSpeed, 870, 1110, 1200, 240);

    // The caption comes when the panel is first shown (see showEvent()).
    m_frame2 = new QGroupBox(m_frameA);
    m_frame2->setObjectName(QStringLiteral("Frame2"));
    setBackground(m_frame2, LightGrey);
    placeTwips(m_frame2, 60, 1410, 2085, 480);
    const QString modeCaptions[3] = {tr("両方"), tr("左"), tr("右")};
    const QRect modePlaces[3] = {QRect(60, 180, 735, 270), QRect(795, 180, 570, 270), QRect(1470, 165, 555, 270)};
    for (int index = 0; index < 3; ++index) {
        auto option = new QRadioButton(modeCaptions[index], m_frame2);
        option->setObjectName(QStringLiteral("Option1_%1").arg(index));
        setBackground(option, LightGrey);
        option->setGeometry(Twips::toPixels(modePlaces[index]));
        m_option1.at(index) = option;
    }
    m_option1[0]->setChecked(true);
    // Only the selected mode is a tab stop; the arrow keys move among the three.
    for (QRadioButton *option : m_option1) {
        connect(option, &QRadioButton::toggled, this, [option](bool checked) {
            option->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
        });
        option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    }

    m_frame1 = makeFrame(this, QStringLiteral("Frame1"), PanelGrey);
    placeTwips(m_frame1, 2265, 0, 1620, 2505);

    m_label1 = new QLabel(m_frame1);
    m_label1->setObjectName(QStringLiteral("Label1"));
    setBackground(m_label1, Qt::black);
    setTextColour(m_label1, KeypadOrange);
    QFont displayFont(Fonts::gothic());
    displayFont.setPointSizeF(14.25);
    m_label1->setFont(displayFont);
    describeValueLabel(m_label1, tr("方向幕の番号"));
    placeTwips(m_label1, 90, 240, 1455, 315);

    // Keypad grid: rows from the top 7 8 9 / 4 5 6 / 1 2 3 / 0 C 設定.
    const int lefts[3] = {75, 570, 1065};
    const int tops[4] = {600, 990, 1380, 1770};
    const int grid[4][3] = {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}, {0, 10, 11}};
    QFont digitFont(Fonts::proportionalGothic());
    digitFont.setPointSize(12);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 3; ++column) {
            const int index = grid[row][column];
            const QString caption = index < 10     ? QString::number(index)
                : index == InputCodes::KeypadClear ? tr("C")
                                                   : tr("設定");
            auto button = new QPushButton(caption, m_frame1);
            button->setObjectName(QStringLiteral("Command2_%1").arg(index));
            button->setAccessibleName(caption);
            if (index == InputCodes::KeypadClear) {
                button->setAccessibleDescription(tr("番号を消す"));
            } else if (index == InputCodes::KeypadJump) {
                button->setAccessibleDescription(tr("入力した番号の方向幕を出す"));
            }
            placeTwips(button, lefts[column], tops[row], 510, 390);
            if (index < 10) {
                button->setFont(digitFont);
            } else {
                QPalette palette = button->palette();
                palette.setColor(QPalette::Button, KeypadOrange);
                button->setPalette(palette);
                button->setAutoFillBackground(true);
            }
            connect(button, &QPushButton::clicked, this, [this, index] { Command2_Click(index); });
            m_command2.at(index) = button;
        }
    }

    m_command1 = new QPushButton(tr("方向幕フォルダー"), m_frame1);
    m_command1->setObjectName(QStringLiteral("Command1"));
    placeTwips(m_command1, 75, 2190, 1530, 270);

    m_command3 = new QPushButton(tr("バージョン情報"), this);
    m_command3->setObjectName(QStringLiteral("Command3"));
    placeTwips(m_command3, 720, 2145, 1515, 360);

    // Focus order: the keypad first, as the panel's first focusable control is Command2(0).
    QWidget *order[] = {m_command2[0],
        m_command2[1],
        m_command2[2],
        m_command2[3],
        m_command2[4],
        m_command2[5],
        m_command2[6],
        m_command2[7],
        m_command2[8],
        m_command2[9],
        m_command2[10],
        m_command2[11],
        m_option1[2],
        m_option1[1],
        m_option1[0],
        m_check1,
        m_check2,
        m_hScroll2,
        m_hScroll1,
        m_command3,
        m_command1};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    connect(m_check1, &QAbstractButton::clicked, this, &frmSet::Check1_Click);
    connect(m_check2, &QAbstractButton::clicked, this, &frmSet::Check2_Click);
    connect(m_hScroll1, &QScrollBar::valueChanged, this, &frmSet::frontSpeedChanged);
    connect(m_hScroll2, &QScrollBar::valueChanged, this, &frmSet::middleSpeedChanged);
    connect(m_command1, &QPushButton::clicked, this, &frmSet::folderChooserRequested);
    connect(m_command3, &QPushButton::clicked, this, &frmSet::versionWindowRequested);
}

MiddleDoorMode frmSet::middleDoorMode() const
{
    if (m_option1[0]->isChecked()) {
        return MiddleDoorMode::Both;
    }
    if (m_option1[1]->isChecked()) {
        return MiddleDoorMode::LeftLeaf;
    }
    return MiddleDoorMode::RightLeaf;
}

void frmSet::Command2_Click(int index)
{
    if (index >= 0 && index <= 9) {
        const QString display = m_label1->text();
        if (display.size() < KeypadDigits) {
            m_label1->setText(display + QString::number(index));
        }
    } else if (index == InputCodes::KeypadClear) {
        m_label1->clear();
    } else if (index == InputCodes::KeypadJump) {
        emit faceJumpRequested();
    }
}

void frmSet::showFrontSpeed()
{
    m_lblMaeSpeed->setText(QString::number(m_hScroll1->value()));
}

void frmSet::showMiddleSpeed()
{
    m_lblNakaSpeed->setText(QString::number(m_hScroll2->value()));
}

void frmSet::Check1_Click()
{
    // The toggle shows its new state while the door moves, not only after it: the movement holds
    // the event loop.
    m_check1->repaint();
    emit frontDoorToggled();
}

void frmSet::Check2_Click()
{
    // The mode cannot change while the middle door is open, so the door shuts with the leaves that
    // opened it. The frame is repainted at once: the door's movement holds the event loop.
    m_frame2->setEnabled(!m_check2->isChecked());
    m_frame2->repaint();
    m_check2->repaint();
    emit middleDoorToggled();
}

void frmSet::showEvent(QShowEvent *event)
{
    // Placing a group box's caption measures it, which loads the fonts: the slowest step of the
    // program's start. It waits until the panel is shown.
    if (m_frame2->title().isEmpty()) {
        m_frame2->setTitle(tr("中扉動作"));
    }
    QWidget::showEvent(event);
}

void frmSet::closeEvent(QCloseEvent *event)
{
    event->ignore();
}
