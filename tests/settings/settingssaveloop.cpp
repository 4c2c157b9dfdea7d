// Saves the settings file through the store over and over until it is killed, for the test that
// kills it at random moments. Usage: settings_save_loop <file>
// It alternates between the two lines of settingsloopcontent.h and prints "saved" once the first
// save is complete.
#include "settings/settingsfile.h"
#include "settingsloopcontent.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: settings_save_loop <file>\n");
        return 2;
    }
    SettingsFile store(QString::fromLocal8Bit(argv[1]), "UTF-8");
    const QString lines[2] = {SettingsLoopContent::line(0), SettingsLoopContent::line(1)};

    // Bounded so that a test that forgets to kill it does not leave it running for ever.
    for (int round = 0; round < 200000; ++round) {
        if (!store.write(lines[round % 2])) {
            return 1;
        }
        if (round == 0) {
            std::puts("saved");
            std::fflush(stdout);
        }
    }
    return 0;
}
