#include "platform/modulesoundoutput.h"

#include "platform/programfile.h"
#include "platform/soundmodule.h"

#include <QDir>
#include <QThread>

ModuleSoundOutput::ModuleSoundOutput(QString modulePath)
    : m_modulePath(std::move(modulePath))
{
}

ModuleSoundOutput::~ModuleSoundOutput()
{
    if (m_loading) {
        m_loading->wait();
    }
}

QString ModuleSoundOutput::besideProgram()
{
    return QDir(ProgramFile::folder()).filePath(QStringLiteral(PORUKANO_SOUND_MODULE));
}

void ModuleSoundOutput::prepareInBackground()
{
    if (m_tried || m_loading || QDir::isRelativePath(m_modulePath)) {
        prepare();
        return;
    }
    m_loader.setFileName(m_modulePath);
    // Loading Qt Multimedia and the sound server's libraries is the slow part; the output itself
    // is made on this thread, whose event loop outlives the worker.
    m_loading.reset(QThread::create([this] { m_loader.load(); }));
    QObject::connect(m_loading.get(), &QThread::finished, &m_context, [this] { prepare(); });
    m_loading->start();
}

void ModuleSoundOutput::prepare()
{
    if (m_loading) {
        m_loading->wait();
        m_loading.reset();
    }
    if (std::exchange(m_tried, true)) {
        return;
    }
    if (QDir::isRelativePath(m_modulePath)) {
        qWarning("No sound: the sound module's path %s is not absolute", qPrintable(m_modulePath));
        return;
    }
    // (Named already where the worker has loaded it.)
    if (m_loader.fileName().isEmpty()) {
        m_loader.setFileName(m_modulePath);
    }
    // Qt refuses a library that is no plugin or was built for another Qt before running its code.
    QObject *const plugin = m_loader.instance();
    auto *const factory = qobject_cast<SoundOutputFactory *>(plugin);
    if (!factory) {
        qWarning("No sound: %s",
            qPrintable(plugin ? m_modulePath + QLatin1String(" is not the sound module") : m_loader.errorString()));
        return;
    }
    m_output = factory->createOutput();
}

void ModuleSoundOutput::play(const QByteArray &wave, Mode mode)
{
    prepare();
    if (m_output) {
        m_output->play(wave, mode);
    }
}

bool ModuleSoundOutput::shutDown()
{
    // No module is loaded from here on.
    m_tried = true;
    return m_output ? m_output->shutDown() : true;
}
