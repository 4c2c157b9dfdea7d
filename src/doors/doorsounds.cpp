#include "doors/doorsounds.h"

#include "platform/soundoutput.h"
#include "resources/resourcepaths.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QFile>

DoorSounds::DoorSounds(SoundOutput *output, EventPass eventPass)
    : m_output(output)
    , m_eventPass(std::move(eventPass))
{
}

// A sound that cannot be read plays as silence.
void DoorSounds::PlayWave(int id)
{
    m_waveData = loadWave(id).valueOr(QByteArray());
    if (m_output) {
        m_output->play(m_waveData, SoundOutput::Mode::Wait);
    }
}

void DoorSounds::PlayWaveAsync(int id)
{
    m_waveData = loadWave(id).valueOr(QByteArray());
    if (m_output) {
        m_output->play(m_waveData, SoundOutput::Mode::Background);
    }
    if (m_eventPass) {
        m_eventPass();
    }
}

Result<QByteArray> DoorSounds::loadWave(int id)
{
    QFile file(ResourcePaths::doorSound(id));
    if (!file.open(QIODevice::ReadOnly)) {
        return failure(file.fileName() + QStringLiteral(": ") + file.errorString());
    }
    return file.readAll();
}

void DoorSounds::handleWaitingEventsExceptInput()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    // The pass above takes the window system's wake-up call with it but leaves the input it
    // skipped in the queue; without a fresh wake-up the event loop could sleep on that input after
    // the movement until some unrelated event arrived.
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance()) {
        dispatcher->wakeUp();
    }
}
