#include "settings/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cerrno>

namespace {

QStringDecoder decoderFor(const QByteArray &encoding)
{
    return encoding.isEmpty() ? QStringDecoder(QStringConverter::System) : QStringDecoder(encoding.constData());
}

QStringEncoder encoderFor(const QByteArray &encoding)
{
    return encoding.isEmpty() ? QStringEncoder(QStringConverter::System) : QStringEncoder(encoding.constData());
}

// Makes `folder` and the missing folders above it, each for the user alone (0700, as the XDG base
// directory rules ask). Returns the system's description of a failure, or nothing.
QString makeFolder(const QString &folder)
{
    const QFileInfo info(folder);
    if (info.exists()) {
        return {};
    }
    if (info.path() != folder) {
        if (QString problem = makeFolder(info.path()); !problem.isEmpty()) {
            return problem;
        }
    }
    if (!QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        return QDir::toNativeSeparators(folder) + QLatin1String(": ") + qt_error_string(errno);
    }
    return {};
}

} // namespace

SettingsFile::Surroundings SettingsFile::Surroundings::system()
{
    return {&SettingsFile::isFolderWritable, qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath()};
}

QString SettingsFile::pathFor(const QString &folder, const QString &baseName)
{
#ifdef Q_OS_WIN
    return besideProgram(folder, baseName);
#else
    return pathFor(folder, baseName, Surroundings::system());
#endif
}

QString SettingsFile::pathFor(const QString &folder, const QString &baseName, const Surroundings &surroundings)
{
    const QString beside = besideProgram(folder, baseName);
    if (QFileInfo::exists(beside) || surroundings.isWritable(folder)) {
        return beside;
    }
    return besideProgram(configFolder(surroundings), baseName);
}

QString SettingsFile::besideProgram(const QString &folder, const QString &baseName)
{
    QString path = QDir::toNativeSeparators(folder);
    if (!path.endsWith(QDir::separator())) {
        path += QDir::separator();
    }
    return path + baseName + QLatin1String(".ini");
}

QString SettingsFile::configFolder(const Surroundings &surroundings)
{
    const QString base = QDir::isAbsolutePath(surroundings.xdgConfigHome)
        ? surroundings.xdgConfigHome
        : surroundings.home + QLatin1String("/.config");
    return QDir::cleanPath(base + QLatin1String("/porukano"));
}

bool SettingsFile::isFolderWritable(const QString &folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

SettingsFile::SettingsFile(QString path, QByteArray encoding)
    : m_path(std::move(path))
    , m_encoding(std::move(encoding))
{
}

Result<QString> SettingsFile::read() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        return failure(m_path + QLatin1String(": ") + file.errorString());
    }
    const QByteArray bytes = file.read(MaxBytes);
    if (file.error() != QFileDevice::NoError) {
        return failure(m_path + QLatin1String(": ") + file.errorString());
    }
    QStringDecoder decoder = decoderFor(m_encoding);
    if (!decoder.isValid()) {
        return failure(QLatin1String("unknown text encoding ") + QString::fromLatin1(m_encoding));
    }
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        return failure(m_path + QLatin1String(": not text in the file's encoding"));
    }
    return text;
}

bool SettingsFile::write(const QString &text)
{
    m_errorString.clear();
    QStringEncoder encoder = encoderFor(m_encoding);
    if (!encoder.isValid()) {
        m_errorString = m_path + QLatin1String(": unknown text encoding ") + QString::fromLatin1(m_encoding);
        return false;
    }
    // A character the encoding cannot hold is written as the encoding's substitute; the rest of
    // the settings are still worth keeping.
    const QByteArray bytes = encoder.encode(text);

    // A save file never falls back to writing over the old file in place. It is unbuffered and
    // written to the last byte here: the buffered write of Qt 6.4 loses the error of a write cut
    // short at the final flush (a full disk), and the cut file would then replace the old one.
    if (QString problem = makeFolder(QFileInfo(m_path).absolutePath()); !problem.isEmpty()) {
        m_errorString = QDir::toNativeSeparators(m_path) + QLatin1String(": ") + problem;
        return false;
    }
    QSaveFile file(m_path);
    const auto giveUp = [this, &file] {
        m_errorString = QDir::toNativeSeparators(m_path) + QLatin1String(": ") + file.errorString();
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return giveUp();
    }
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
        if (count <= 0) {
            return giveUp();
        }
        written += count;
    }
    if (!file.commit()) {
        return giveUp();
    }
    return true;
}
