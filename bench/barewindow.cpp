// The yardstick for the program's start-up: a bare Qt Widgets program with one fixed-size window
// that paints one picture, reporting its first paint the same way the program does and ending half
// a second later, as the program does.

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>

namespace {

class BareWindow final : public QWidget
{
public:
    explicit BareWindow(const QString &picture)
        : m_picture(picture)
    {
        setFixedSize(775, 215);
        setWindowTitle(QStringLiteral("bare window"));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.drawImage(QPoint(0, 0), m_picture);
        if (!m_reported) {
            m_reported = true;
            QTimer::singleShot(0, this, [] {
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                std::fprintf(stderr,
                    "first-paint %lld\n",
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                std::fflush(stderr);
            });
            QTimer::singleShot(500, this, [] { QCoreApplication::exit(0); });
        }
    }

private:
    QImage m_picture;
    bool m_reported = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    BareWindow window(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    window.show();
    return app.exec();
}
