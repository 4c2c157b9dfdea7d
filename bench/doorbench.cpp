// Times the real front-door movement in a real (offscreen) bus window with the real sleeping
// pacer, for a range of speeds: wall time against the nominal sum of the pauses, processor time
// against wall time, and how many frames reached the window's backing store.
//
//   QT_QPA_PLATFORM=offscreen doorbench [speed ...]      (default: 1 1000 6000 10000 30000)
//
// Targets: within 3 % of nominal from speed 1000 up, speed 1 done in under 100 ms, processor time
// under 5 % of wall time.
#include "form1.h"
#include "frmset.h"
#include "sleepingpacer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QScrollBar>

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

class PaintCounter final : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
};

double processSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QList<int> speeds;
    for (const QString &argument : QCoreApplication::arguments().mid(1)) {
        speeds.append(argument.toInt());
    }
    if (speeds.isEmpty()) {
        speeds = {1, 1000, 6000, 10000, 30000};
    }

    SleepingPacer pacer;
    Form1::Services services;
    services.pacer = &pacer;
    Form1 form(services);
    form.show();
    frmSet *panel = form.settingsPanel();
    PaintCounter counter;
    form.installEventFilter(&counter);
    QCoreApplication::processEvents();

    std::printf("%7s %6s %11s %11s %8s %9s %7s %7s\n",
        "speed",
        "steps",
        "nominal ms",
        "wall ms",
        "wall/nom",
        "cpu/wall",
        "frames",
        "ms/step");
    for (const int speed : speeds) {
        panel->HScroll1()->setValue(speed);
        panel->Check1()->setChecked(true);
        counter.paints = 0;
        const double cpuBefore = processSeconds();
        const auto before = std::chrono::steady_clock::now();
        form.Check1_Click();
        const auto after = std::chrono::steady_clock::now();
        const double cpu = processSeconds() - cpuBefore;
        const int frames = counter.paints;
        const int steps = 1080 - 70 + 1;
        const double wall = std::chrono::duration<double>(after - before).count();
        const double nominal = steps * speed * 250e-9;
        std::printf("%7d %6d %11.2f %11.2f %8.4f %8.2f%% %7d %7.4f\n",
            speed,
            steps,
            nominal * 1e3,
            wall * 1e3,
            wall / nominal,
            100 * cpu / wall,
            frames,
            wall * 1e3 / steps);
        std::fflush(stdout);

        // Shut the door again at full speed for the next run.
        panel->HScroll1()->setValue(1);
        panel->Check1()->setChecked(false);
        form.Check1_Click();
        QCoreApplication::processEvents();
    }
    return 0;
}
