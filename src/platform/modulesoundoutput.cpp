#include "modulesoundoutput.h"

#include "programfile.h"
#include "soundmodule.h"

#include <QDir>

ModuleSoundOutput::ModuleSoundOutput(QString modulePath)
    : m_modulePath(std::move(modulePath))
{
}

ModuleSoundOutput::~ModuleSoundOutput() = default;

QString ModuleSoundOutput::besideProgram()
{
    return QDir(ProgramFile::folder()).filePath(QStringLiteral(PORUKANO_SOUND_MODULE));
}

void ModuleSoundOutput::prepare()
{
    if (std::exchange(m_tried, true)) {
        return;
    }
    if (QDir::isRelativePath(m_modulePath)) {
        qWarning("No sound: the sound module's path %s is not absolute", qPrintable(m_modulePath));
        return;
    }
    m_library.setFileName(m_modulePath);
    const auto create = reinterpret_cast<SoundModule::CreateOutput>(m_library.resolve(SoundModule::CreateOutputSymbol));
    if (!create) {
        qWarning("No sound: %s", qPrintable(m_library.errorString()));
        return;
    }
    m_output.reset(create());
}

void ModuleSoundOutput::play(const QByteArray &wave, Mode mode)
{
    prepare();
    if (m_output) {
        m_output->play(wave, mode);
    }
}
