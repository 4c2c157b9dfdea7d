#include "settingsfile.h"

#include "programfile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

QStringDecoder decoderFor(const QByteArray &encoding)
{
    return encoding.isEmpty() ? QStringDecoder(QStringConverter::System) : QStringDecoder(encoding.constData());
}

QStringEncoder encoderFor(const QByteArray &encoding)
{
    return encoding.isEmpty() ? QStringEncoder(QStringConverter::System) : QStringEncoder(encoding.constData());
}

} // namespace

QString SettingsFile::pathFor(const QString &folder, const QString &baseName)
{
    QString path = QDir::toNativeSeparators(folder);
    if (!path.endsWith(QDir::separator())) {
        path += QDir::separator();
    }
    return path + baseName + QLatin1String(".ini");
}

QString SettingsFile::programDefault()
{
    return pathFor(ProgramFile::folder(), ProgramFile::baseName());
}

SettingsFile::SettingsFile(QString path, QByteArray encoding)
    : m_path(std::move(path))
    , m_encoding(std::move(encoding))
{
}

SettingsFile::ReadResult SettingsFile::read() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {{}, m_path + QLatin1String(": ") + file.errorString()};
    }
    const QByteArray bytes = file.read(MaxBytes);
    if (file.error() != QFileDevice::NoError) {
        return {{}, m_path + QLatin1String(": ") + file.errorString()};
    }
    QStringDecoder decoder = decoderFor(m_encoding);
    if (!decoder.isValid()) {
        return {{}, QLatin1String("unknown text encoding ") + QString::fromLatin1(m_encoding)};
    }
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        return {{}, m_path + QLatin1String(": not text in the file's encoding")};
    }
    return {text, {}};
}

QString SettingsFile::write(const QString &text) const
{
    QStringEncoder encoder = encoderFor(m_encoding);
    if (!encoder.isValid()) {
        return m_path + QLatin1String(": unknown text encoding ") + QString::fromLatin1(m_encoding);
    }
    // A character the encoding cannot hold is written as the encoding's substitute; the rest of
    // the settings are still worth keeping.
    const QByteArray bytes = encoder.encode(text);

    // A save file never falls back to writing over the old file in place.
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return QDir::toNativeSeparators(m_path) + QLatin1String(": ") + reason;
    }
    return {};
}
