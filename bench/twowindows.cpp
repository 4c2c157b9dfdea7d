// The second yardstick for the program's start-up: a plain two-window Qt Widgets program with the
// program's content and nothing else. A fixed-size 775 x 215 window paints one picture; a
// 263 x 171 tool window that stays on top, owned by it, holds twelve keypad buttons, two toggles,
// two scroll bars, two labels, three option buttons in a group box and two more buttons, all with
// Japanese captions in IPAGothic. Both windows are made and shown straight away, the tool window
// without taking the activation, as a Qt program would do it.
//
// It reports its paints to standard error as the program's probe does, as readings of the steady
// clock in nanoseconds:
//   first-paint <ns>           once the picture window has painted for the first time,
//   window-paint panel <ns>    once the tool window has,
// and ends half a second after the first paint.

#include "paintreport.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QWidget>

namespace {

class ToolWindow final : public QWidget
{
public:
    explicit ToolWindow(QWidget *owner)
        : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint)
    {
        setWindowTitle(QStringLiteral("設定パネル"));
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFixedSize(263, 171);

        // The digits in a larger size, as on the program's keypad.
        QFont digitFont = font();
        digitFont.setPointSize(12);
        const char *keys[12] = {"7", "8", "9", "4", "5", "6", "1", "2", "3", "0", "C", "設定"};
        for (int index = 0; index < 12; ++index) {
            auto key = new QPushButton(QString::fromUtf8(keys[index]), this);
            key->setGeometry(156 + index % 3 * 33, 40 + index / 3 * 26, 34, 26);
            if (index < 10) {
                key->setFont(digitFont);
            }
        }
        const char *toggles[2] = {"前扉", "中扉"};
        for (int index = 0; index < 2; ++index) {
            auto toggle = new QPushButton(QString::fromUtf8(toggles[index]), this);
            toggle->setCheckable(true);
            toggle->setGeometry(7, 13 + index * 45, 49, 34);
            auto bar = new QScrollBar(Qt::Horizontal, this);
            bar->setRange(1, 30000);
            bar->setValue(6000);
            bar->setGeometry(59, 15 + index * 45, 84, 16);
            auto label = new QLabel(QStringLiteral("0"), this);
            label->setGeometry(61, 32 + index * 45, 81, 16);
        }
        auto modes = new QGroupBox(QStringLiteral("中扉動作"), this);
        modes->setGeometry(6, 96, 139, 32);
        const char *captions[3] = {"両方", "左", "右"};
        for (int index = 0; index < 3; ++index) {
            auto option = new QRadioButton(QString::fromUtf8(captions[index]), modes);
            option->setGeometry(4 + index * 46, 12, 46, 18);
        }
        auto folderButton = new QPushButton(QStringLiteral("方向幕フォルダー"), this);
        folderButton->setGeometry(156, 146, 102, 18);
        auto versionButton = new QPushButton(QStringLiteral("バージョン情報"), this);
        versionButton->setGeometry(48, 143, 101, 24);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!std::exchange(m_reported, true)) {
            PaintReport::reportAfterThisEvent(this, "window-paint panel");
        }
    }

private:
    bool m_reported = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QFont font(QStringLiteral("IPAGothic"));
    font.setPointSize(9);
    QApplication::setFont(font);

    PaintReport::PictureWindow window(
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString(), QStringLiteral("バスの窓"));
    ToolWindow panel(&window);
    panel.move(0, 215);
    window.show();
    panel.show();
    return app.exec();
}
