#include "qtsoundoutput.h"

#include "wavefile.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QSemaphore>
#include <QTimer>

#include <atomic>
#include <memory>
#include <thread>

namespace {

constexpr int PaddingMs = 250;
constexpr int StartTimeoutMs = 1000;
constexpr unsigned long StopTimeoutMs = 3000;

} // namespace

// The audio thread's side: owns the sink playing now and the buffer it reads.
class AudioPlayer final : public QObject
{
public:
    // Stops what plays and starts `clip`; false when nothing could be started.
    bool start(const WaveClip &clip);
    void stop();

private:
    QAudioSink *m_sink = nullptr;
    QBuffer *m_buffer = nullptr;
    quint64 m_generation = 0;
};

bool AudioPlayer::start(const WaveClip &clip)
{
    stop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        return false;
    }
    QAudioFormat format;
    format.setSampleRate(clip.sampleRate);
    format.setChannelCount(clip.channels);
    format.setSampleFormat(clip.bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);

    const qsizetype padding = qsizetype(clip.sampleRate) * PaddingMs / 1000 * clip.bytesPerFrame();
    m_buffer = new QBuffer(this);
    m_buffer->setData(clip.samples + QByteArray(padding, clip.silence()));
    m_buffer->open(QIODevice::ReadOnly);

    m_sink = new QAudioSink(device, format, this);
    const quint64 generation = ++m_generation;
    connect(m_sink, &QAudioSink::stateChanged, this, [this, generation](QAudio::State state) {
        // The sink has read everything: let it go once this signal has returned, unless a newer
        // sound has replaced it meanwhile.
        if (state == QAudio::IdleState) {
            QTimer::singleShot(0, this, [this, generation] {
                if (generation == m_generation) {
                    stop();
                }
            });
        }
    });
    m_sink->start(m_buffer);
    if (m_sink->error() != QAudio::NoError || m_sink->state() == QAudio::StoppedState) {
        stop();
        return false;
    }
    return true;
}

void AudioPlayer::stop()
{
    ++m_generation;
    // The sink goes before the buffer it reads.
    if (m_sink) {
        m_sink->disconnect(this);
        m_sink->stop();
        delete m_sink;
        m_sink = nullptr;
    }
    delete m_buffer;
    m_buffer = nullptr;
}

QtSoundOutput::QtSoundOutput()
{
    // Bring the audio backend up on this thread, so its objects belong to the thread that lives
    // longest; the audio thread only creates sinks.
    QMediaDevices::defaultAudioOutput();
    m_thread.setObjectName(QStringLiteral("audio"));
    m_player = new AudioPlayer;
    m_player->moveToThread(&m_thread);
    m_thread.start();
}

QtSoundOutput::~QtSoundOutput()
{
    AudioPlayer *player = m_player;
    QMetaObject::invokeMethod(player, [player] {
        player->stop();
        delete player;
    });
    m_thread.quit();
    if (!m_thread.wait(StopTimeoutMs)) {
        // A backend that hangs keeps its thread; the program must still be able to end.
        qWarning("The audio thread did not stop in time");
    }
}

void QtSoundOutput::play(const QByteArray &wave, Mode mode)
{
    struct Start
    {
        QSemaphore done;
        std::atomic<bool> started = false;
    };
    auto start = std::make_shared<Start>();
    const std::optional<WaveClip> clip = parseWave(wave);
    AudioPlayer *player = m_player;
    // Also a sound that cannot be played cuts off the one still playing.
    QMetaObject::invokeMethod(player, [player, clip, start] {
        start->started = clip && clip->frames() > 0 && player->start(*clip);
        start->done.release();
    });
    if (mode == Mode::Background) {
        return;
    }
    if (!start->done.tryAcquire(1, StartTimeoutMs) || !start->started) {
        return;
    }
    std::this_thread::sleep_until(std::chrono::steady_clock::now() + clip->duration());
}
