// Plays the door sounds through the real audio output, as a script on the command line says, so a
// test can record and check what reaches the sound server:
//   playdoorsounds wait:101 sleep:500 async:102 ...
// wait:ID blocks like the opening sound, async:ID starts a sound in the background, sleep:MS waits.
// Each step is printed with the time it began, in milliseconds from the start.
#include "doors/doorsounds.h"
#include "platform/modulesoundoutput.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The program's own way to its audio output: the sound module beside it.
    ModuleSoundOutput output(ModuleSoundOutput::besideProgram());
    DoorSounds sounds(&output, [] {});
    QElapsedTimer clock;
    clock.start();
    for (const QString &step : QCoreApplication::arguments().mid(1)) {
        const QStringList parts = step.split(u':');
        const int value = parts.value(1).toInt();
        std::printf("%lld %s\n", clock.elapsed(), qPrintable(step));
        std::fflush(stdout);
        if (parts.value(0) == u"wait") {
            sounds.PlayWave(value);
        } else if (parts.value(0) == u"async") {
            sounds.PlayWaveAsync(value);
        } else if (parts.value(0) == u"sleep") {
            std::this_thread::sleep_for(std::chrono::milliseconds(value));
        } else {
            std::fprintf(stderr, "unknown step %s\n", qPrintable(step));
            return 2;
        }
    }
    std::printf("%lld end\n", clock.elapsed());
    std::fflush(stdout);
    // As the program ends: an output that a sound server keeps waiting is left to the end of the
    // process, whose exit handlers would wait for it.
    if (!output.shutDown()) {
        std::_Exit(0);
    }
    return 0;
}
