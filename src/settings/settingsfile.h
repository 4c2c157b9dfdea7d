#pragma once

#include "core/result.h"

#include <QByteArray>
#include <QString>

#include <functional>

// Where the settings file is and how its text is stored: beside the program, or in the user's
// configuration folder when the program's folder is not the user's to write; read and written
// whole in one encoding. What the text says is the settings line's business.
class SettingsFile
{
public:
    // The longest file read; the settings line is far shorter, and a larger file is read only up
    // to here.
    static constexpr qint64 MaxBytes = 1024 * 1024;

    // What the choice of the file's place looks at. system() gives the running program's; tests
    // give their own, so that the choice is tested whoever runs them (root writes anywhere).
    struct Surroundings
    {
        // Whether the program may make files in a folder.
        std::function<bool(const QString &folder)> isWritable;
        // $XDG_CONFIG_HOME as set (empty when unset) and the user's home folder.
        QString xdgConfigHome;
        QString home;

        static Surroundings system();
    };

    // The settings file of a program file. Beside the program (besideProgram()) when the
    // program's folder is writable or already holds the file: a portable folder, a build folder.
    // Otherwise, as for an installed program whose folder no user can write, the same name in the
    // user's configuration folder (configFolder()). On Windows always beside the program.
    static QString pathFor(const QString &folder, const QString &baseName);
    static QString pathFor(const QString &folder, const QString &baseName, const Surroundings &surroundings);

    // The file beside a program file: its folder, the folder separator only if the folder's text
    // does not already end in one, the program file's base name and ".ini".
    // ("/opt/bus", "KT41A0001") gives "/opt/bus/KT41A0001.ini", ("/", "KT41A0001") "/KT41A0001.ini".
    static QString besideProgram(const QString &folder, const QString &baseName);

    // The program's folder among the user's configuration: "$XDG_CONFIG_HOME/porukano", or
    // "~/.config/porukano" when the variable is unset, empty or not an absolute path (the XDG
    // base directory rules).
    static QString configFolder(const Surroundings &surroundings);

    // Whether this user may make files in `folder`, as the system answers it (access() on Unix):
    // no for a missing folder, and no for root too in a read-only or immutable one.
    static bool isFolderWritable(const QString &folder);

    // `encoding` names a text encoding Qt knows ("UTF-8", "CP932", ...); an empty name is the
    // system's own: the ANSI code page on Windows, UTF-8 elsewhere.
    explicit SettingsFile(QString path, QByteArray encoding = {});

    const QString &path() const { return m_path; }

    // Reads and decodes the file: its text, or why there is none. A missing or unreadable file, or
    // bytes that are not text in the file's encoding, is a failure.
    Result<QString> read() const;

    // Replaces the file with `text`, whole or not at all: the text goes to a temporary file in
    // the same folder, which is then renamed over the old file, so a crash or a full disk leaves
    // the old file as it was. A missing folder (the user's configuration folder at the first
    // save) is made first, for the user alone. Returns whether the file was replaced;
    // errorString() then says why not.
    bool write(const QString &text);

    // Why the last write failed: the file's path and the system's description of the failure.
    const QString &errorString() const { return m_errorString; }

private:
    QString m_path;
    QByteArray m_encoding;
    QString m_errorString;
};
