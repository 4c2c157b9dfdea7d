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
#include <deque>
#include <memory>
#include <optional>
#include <thread>

namespace {

constexpr int PaddingMs = 250;
constexpr int StartTimeoutMs = 1000;
constexpr unsigned long StopTimeoutMs = 3000;

// One request to play, answered through `done` once the sound has started or failed to.
struct PlayRequest
{
    std::optional<WaveClip> clip;
    struct Answer
    {
        QSemaphore done;
        std::atomic<bool> started = false;
    };
    std::shared_ptr<Answer> answer = std::make_shared<Answer>();
};

} // namespace

// The audio thread's side: owns the sink playing now and the buffer it reads.
//
// Deleting a sink runs the audio thread's event loop once (the backend does so to finish its
// stream), and with it any play request already queued. Requests therefore go through a queue
// that only the outermost call works off, and a sink and its buffer are taken out of the members
// before they are deleted.
class AudioPlayer final : public QObject
{
public:
    ~AudioPlayer() override;

    void request(PlayRequest request);

private:
    // Stops what plays and starts `clip`; false when nothing could be started.
    bool start(const WaveClip &clip);
    void stop();

    QAudioSink *m_sink = nullptr;
    QBuffer *m_buffer = nullptr;
    quint64 m_generation = 0;
    std::deque<PlayRequest> m_pending;
    bool m_working = false;
    bool m_closing = false;
};

AudioPlayer::~AudioPlayer()
{
    m_closing = true;
    stop();
    for (PlayRequest &pending : m_pending) {
        pending.answer->done.release();
    }
}

void AudioPlayer::request(PlayRequest request)
{
    if (m_closing) {
        request.answer->done.release();
        return;
    }
    m_pending.push_back(std::move(request));
    if (m_working) {
        return;
    }
    m_working = true;
    while (!m_pending.empty() && !m_closing) {
        PlayRequest next = std::move(m_pending.front());
        m_pending.pop_front();
        // Also a sound that cannot be played cuts off the one still playing.
        if (next.clip && next.clip->frames() > 0) {
            next.answer->started = start(*next.clip);
        } else {
            stop();
        }
        next.answer->done.release();
    }
    m_working = false;
}

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
    m_buffer = new QBuffer;
    m_buffer->setData(clip.samples + QByteArray(padding, clip.silence()));
    m_buffer->open(QIODevice::ReadOnly);

    m_sink = new QAudioSink(device, format);
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
    QAudioSink *sink = std::exchange(m_sink, nullptr);
    QBuffer *buffer = std::exchange(m_buffer, nullptr);
    // The sink goes before the buffer it reads.
    if (sink) {
        sink->disconnect(this);
        sink->stop();
        delete sink;
    }
    delete buffer;
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
    QMetaObject::invokeMethod(player, [player] { delete player; });
    m_thread.quit();
    if (!m_thread.wait(StopTimeoutMs)) {
        // A backend that hangs keeps its thread; the program must still be able to end.
        qWarning("The audio thread did not stop in time");
    }
}

void QtSoundOutput::play(const QByteArray &wave, Mode mode)
{
    PlayRequest request;
    request.clip = parseWave(wave);
    const std::shared_ptr<PlayRequest::Answer> answer = request.answer;
    const std::chrono::nanoseconds length = request.clip ? request.clip->duration() : std::chrono::nanoseconds();
    AudioPlayer *player = m_player;
    QMetaObject::invokeMethod(
        player, [player, request = std::move(request)]() mutable { player->request(std::move(request)); });
    if (mode == Mode::Background) {
        return;
    }
    if (!answer->done.tryAcquire(1, StartTimeoutMs) || !answer->started) {
        return;
    }
    std::this_thread::sleep_until(std::chrono::steady_clock::now() + length);
}
