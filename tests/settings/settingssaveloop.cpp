// Saves settings files over and over until it is killed, for the test that kills it at random
// moments. Usage: settings_save_loop <file> atomic|inplace
//   atomic   saves through the settings file store
//   inplace  empties the old file and writes it again, as a careless writer would
// It alternates between the two lines of settingsloopcontent.h and
// prints "saved" once the first save is complete.
#include "settingsfile.h"
#include "settingsloopcontent.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: settings_save_loop <file> atomic|inplace\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const bool inPlace = qstrcmp(argv[2], "inplace") == 0;
    SettingsFile store(path, "UTF-8");
    const QString lines[2] = {SettingsLoopContent::line(0), SettingsLoopContent::line(1)};

    // Bounded so that a test that forgets to kill it does not leave it running for ever.
    for (int round = 0; round < 200000; ++round) {
        const QString &line = lines[round % 2];
        if (inPlace) {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
                return 1;
            }
            file.write(line.toUtf8());
        } else if (!store.write(line)) {
            return 1;
        }
        if (round == 0) {
            std::puts("saved");
            std::fflush(stdout);
        }
    }
    return 0;
}
