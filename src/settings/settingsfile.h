#pragma once

#include "core/result.h"

#include <QByteArray>
#include <QString>

// Where the settings file is and how its text is stored: the file beside the program, read and
// written whole in one encoding. What the text says is the settings line's business.
class SettingsFile
{
public:
    // The longest file read; the settings line is far shorter, and a larger file is read only up
    // to here.
    static constexpr qint64 MaxBytes = 1024 * 1024;

    // The settings file of a program file: its folder, the folder separator only if the folder's
    // text does not already end in one, the program file's base name and ".ini".
    // ("/opt/bus", "KT41A0001") gives "/opt/bus/KT41A0001.ini", ("/", "KT41A0001") "/KT41A0001.ini".
    static QString pathFor(const QString &folder, const QString &baseName);

    // `encoding` names a text encoding Qt knows ("UTF-8", "CP932", ...); an empty name is the
    // system's own: the ANSI code page on Windows, UTF-8 elsewhere.
    explicit SettingsFile(QString path, QByteArray encoding = {});

    const QString &path() const { return m_path; }

    // Reads and decodes the file: its text, or why there is none. A missing or unreadable file, or
    // bytes that are not text in the file's encoding, is a failure.
    Result<QString> read() const;

    // Replaces the file with `text`, whole or not at all: the text goes to a temporary file in
    // the same folder, which is then renamed over the old file, so a crash or a full disk leaves
    // the old file as it was. Returns whether the file was replaced; errorString() then says why
    // not.
    bool write(const QString &text);

    // Why the last write failed: the file's path and the system's description of the failure.
    const QString &errorString() const { return m_errorString; }

private:
    QString m_path;
    QByteArray m_encoding;
    QString m_errorString;
};
