// Times the real front-door movement (open, 1011 steps) in a real bus window with the real
// sleeping pacer, for a range of speeds, and prints the medians over several runs: wall time
// against the nominal sum of the pauses, the program's processor time and, under Xvfb, the X
// server's processor time against wall time, the frames that reached the window against wall time
// times the screen's refresh rate (+1 for the last step), and the leaf width the last frame shows.
//
//   QT_QPA_PLATFORM=offscreen doorbench [--runs N] [speed ...]   (offscreen)
//   doorbench --xvfb [--runs N] [speed ...]                      (starts its own Xvfb)
//
// Default speeds 1 1000 6000 10000 30000, 5 runs; QT_SCALE_FACTOR=2 gives the 200 % case.
// Targets: from speed 1000 up wall time within 0.5 % of nominal, program CPU at most 1 % and
// program plus X server at most 2 % of wall time; speed 1 done in at most 10 ms; the last frame
// shows the open width, 70 twips.
#include "app/form1.h"
#include "dialogs/frmset.h"
#include "doors/busdoors.h"
#include "platform/sleepingpacer.h"
#include "support/paintcounter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Steps = 1080 - 70 + 1;

double processSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Processor time of another process in seconds: the sum of its threads' run times from
// /proc/<pid>/task/*/schedstat (nanoseconds), or utime + stime from /proc/<pid>/stat (clock
// ticks) where the scheduler statistics are missing.
double otherProcessSeconds(pid_t pid)
{
    const QString task = QStringLiteral("/proc/%1/task").arg(pid);
    double total = 0;
    bool found = false;
    for (const QString &thread : QDir(task).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (FILE *file = std::fopen(qPrintable(task + QLatin1Char('/') + thread + QStringLiteral("/schedstat")), "r")) {
            unsigned long long ns = 0;
            found = std::fscanf(file, "%llu", &ns) == 1 || found;
            total += double(ns) / 1e9;
            std::fclose(file);
        }
    }
    if (found) {
        return total;
    }
    FILE *file = std::fopen(qPrintable(QStringLiteral("/proc/%1/stat").arg(pid)), "r");
    if (!file) {
        return 0;
    }
    char buffer[1024] = {};
    const size_t length = std::fread(buffer, 1, sizeof buffer - 1, file);
    std::fclose(file);
    // The fields after the command name in parentheses; utime and stime are the 12th and 13th.
    const char *rest = std::strrchr(buffer, ')');
    unsigned long utime = 0, stime = 0;
    if (length == 0 || !rest
        || std::sscanf(rest + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime, &stime) != 2) {
        return 0;
    }
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

// A private Xvfb on a display it picks itself; stopped by its process id.
class Xvfb
{
public:
    Xvfb()
    {
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        m_pid = fork();
        if (m_pid == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb",
                "Xvfb",
                "-displayfd",
                fd.c_str(),
                "-screen",
                "0",
                "1280x800x24",
                "-nolisten",
                "tcp",
                static_cast<char *>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        char number[16] = {};
        ssize_t got = 0;
        while (m_pid > 0 && got < ssize_t(sizeof number - 1)) {
            const ssize_t n = read(fds[0], number + got, sizeof number - 1 - got);
            if (n <= 0) {
                break;
            }
            got += n;
            if (number[got - 1] == '\n') {
                break;
            }
        }
        close(fds[0]);
        if (got > 0) {
            m_display = QStringLiteral(":%1").arg(QString::fromLatin1(number, got).trimmed());
        }
    }
    ~Xvfb()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    Xvfb(const Xvfb &) = delete;
    Xvfb &operator=(const Xvfb &) = delete;

    pid_t pid() const { return m_pid; }
    QString display() const { return m_display; }

private:
    pid_t m_pid = -1;
    QString m_display;
};

struct Run
{
    double wall = 0; // seconds
    double cpu = 0;
    double serverCpu = 0;
    int frames = 0;
    int lastWidth = -1;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

template <typename Field> double medianOf(const std::vector<Run> &runs, Field field)
{
    std::vector<double> values;
    for (const Run &run : runs) {
        values.push_back(field(run));
    }
    return median(values);
}

} // namespace

int main(int argc, char *argv[])
{
    bool underXvfb = false;
    int runCount = 5;
    std::vector<int> speeds;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--xvfb") {
            underXvfb = true;
        } else if (argument == "--runs" && i + 1 < argc) {
            runCount = std::max(1, std::atoi(argv[++i]));
        } else {
            speeds.push_back(std::atoi(argv[i]));
        }
    }
    if (speeds.empty()) {
        speeds = {1, 1000, 6000, 10000, 30000};
    }

    std::unique_ptr<Xvfb> server;
    if (underXvfb) {
        server = std::make_unique<Xvfb>();
        if (server->display().isEmpty()) {
            std::fprintf(stderr, "Xvfb did not start\n");
            return 1;
        }
        qputenv("DISPLAY", server->display().toLatin1());
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication app(argc, argv);

    SleepingPacer pacer;
    Form1::Services services;
    services.pacer = &pacer;
    Form1 form(services);
    form.show();
    frmSet *panel = form.settingsPanel();
    // The window's paints, and the front leaf's width at the last one.
    int lastWidth = -1;
    PaintCounter counter([&] { lastWidth = form.findChild<BusDoors *>()->leaves().frontWidth(); });
    form.installEventFilter(&counter);
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        QGuiApplication::sync();
    }
    const double refreshRate = form.screen()->refreshRate();
    std::printf("%s, %d runs, refresh rate %.2f Hz, pixel ratio %.2f, %d steps, medians\n",
        underXvfb ? "Xvfb" : qPrintable(QGuiApplication::platformName()),
        runCount,
        refreshRate,
        form.devicePixelRatioF(),
        Steps);

    std::map<int, std::vector<Run>> runs;
    for (int round = 0; round < runCount; ++round) {
        for (const int speed : speeds) {
            panel->HScroll1()->setValue(speed);
            panel->Check1()->setChecked(true);
            counter.paints = 0;
            const double serverBefore = server ? otherProcessSeconds(server->pid()) : 0;
            const double cpuBefore = processSeconds();
            const auto before = std::chrono::steady_clock::now();
            form.Check1_Click();
            const auto after = std::chrono::steady_clock::now();
            // The X server has handled everything the movement sent once a round trip returns.
            QGuiApplication::sync();
            Run run;
            run.cpu = processSeconds() - cpuBefore;
            run.serverCpu = server ? otherProcessSeconds(server->pid()) - serverBefore : 0;
            run.wall = std::chrono::duration<double>(after - before).count();
            run.frames = counter.paints;
            run.lastWidth = lastWidth;
            runs[speed].push_back(run);

            // Shut the door again at full speed for the next run.
            panel->HScroll1()->setValue(1);
            panel->Check1()->setChecked(false);
            form.Check1_Click();
            for (int i = 0; i < 5; ++i) {
                QCoreApplication::processEvents();
                QGuiApplication::sync();
            }
        }
    }

    std::printf("%6s %10s %10s %8s %8s %8s %8s %7s %9s %6s\n",
        "speed",
        "nominal ms",
        "wall ms",
        "wall/nom",
        "cpu",
        "X cpu",
        "sum",
        "frames",
        "wall*Hz+1",
        "last w");
    for (const int speed : speeds) {
        const std::vector<Run> &list = runs[speed];
        const double nominal = Steps * speed * 250e-9;
        const double wall = medianOf(list, [](const Run &r) { return r.wall; });
        const auto share = [](double part, double whole) {
            return 100 * part / whole;
        };
        std::printf("%6d %10.2f %10.2f %8.4f %7.2f%% %7.2f%% %7.2f%% %7.0f %9.1f %6d\n",
            speed,
            nominal * 1e3,
            wall * 1e3,
            medianOf(list, [nominal](const Run &r) { return r.wall / nominal; }),
            medianOf(list, [&](const Run &r) { return share(r.cpu, r.wall); }),
            medianOf(list, [&](const Run &r) { return share(r.serverCpu, r.wall); }),
            medianOf(list, [&](const Run &r) { return share(r.cpu + r.serverCpu, r.wall); }),
            medianOf(list, [](const Run &r) { return double(r.frames); }),
            wall * refreshRate + 1,
            // The width every run's last frame showed, or -1 if the runs differ.
            std::all_of(list.begin(), list.end(), [&](const Run &r) { return r.lastWidth == list[0].lastWidth; })
                ? list[0].lastWidth
                : -1);
    }
    return 0;
}
