#include "platform/qtsoundoutput.h"

#include "platform/wavefile.h"

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
constexpr unsigned long StopTimeoutMs = 2000;

} // namespace

// One request to play, answered through `done` once the sound has started or failed to.
//
// The caller may give up waiting for the start, and a newer request calls off one still waiting;
// `state` settles who decides: the audio thread takes a queued request over before starting it,
// and the GUI thread calls it off only while it is queued or starting. A request called off in
// the queue is skipped; one called off while it started is stopped at once. So no sound plays
// that its caller no longer waits for, and none plays over a newer one.
struct PlayAnswer
{
    enum State { Queued, Starting, Playing, NotStarted, CalledOff };
    QSemaphore done;
    std::atomic<int> state = Queued;

    // True when this side moved the state from `from` to `to`.
    bool move(int from, int to) { return state.compare_exchange_strong(from, to); }
    // True when the request was called off by this call, before it could start.
    bool callOff() { return move(Queued, CalledOff) || move(Starting, CalledOff); }
};

namespace {

struct PlayRequest
{
    std::optional<WaveClip> clip;
    std::shared_ptr<PlayAnswer> answer = std::make_shared<PlayAnswer>();
};

// The sound through Qt Multimedia: owns the sink playing now and the buffer it reads.
class SinkBackend final
    : public QObject
    , public QtSoundOutput::Backend
{
public:
    ~SinkBackend() override { stop(); }

    bool start(const WaveClip &clip) override;
    void stop() override;

private:
    QAudioSink *m_sink = nullptr;
    QBuffer *m_buffer = nullptr;
    quint64 m_generation = 0;
};

bool SinkBackend::start(const WaveClip &clip)
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

void SinkBackend::stop()
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

} // namespace

// The audio thread's side: works off the play requests with the backend, which it creates on
// this thread when the first request comes.
//
// Deleting a sink runs the audio thread's event loop once (the backend does so to finish its
// stream), and with it any play request already queued. Requests therefore go through a queue
// that only the outermost call works off.
class AudioPlayer final : public QObject
{
public:
    explicit AudioPlayer(QtSoundOutput::BackendFactory makeBackend);
    ~AudioPlayer() override;

    void request(PlayRequest request);

private:
    void play(PlayRequest &request);

    QtSoundOutput::BackendFactory m_makeBackend;
    std::unique_ptr<QtSoundOutput::Backend> m_backend;
    std::deque<PlayRequest> m_pending;
    bool m_working = false;
    bool m_closing = false;
};

AudioPlayer::AudioPlayer(QtSoundOutput::BackendFactory makeBackend)
    : m_makeBackend(std::move(makeBackend))
{
    if (!m_makeBackend) {
        m_makeBackend = [] {
            return std::make_unique<SinkBackend>();
        };
    }
}

AudioPlayer::~AudioPlayer()
{
    m_closing = true;
    if (m_backend) {
        m_backend->stop();
    }
    for (PlayRequest &pending : m_pending) {
        pending.answer->done.release();
    }
    // The backend goes here, with its sink, while the rest of the player is still whole.
    m_backend.reset();
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
        play(next);
        next.answer->done.release();
    }
    m_working = false;
}

void AudioPlayer::play(PlayRequest &request)
{
    PlayAnswer &answer = *request.answer;
    if (!answer.move(PlayAnswer::Queued, PlayAnswer::Starting)) {
        return; // called off while it waited in the queue
    }
    if (!m_backend) {
        m_backend = m_makeBackend();
    }
    // Also a sound that cannot be played cuts off the one still playing.
    bool started = false;
    if (request.clip && request.clip->frames() > 0) {
        started = m_backend->start(*request.clip);
    } else {
        m_backend->stop();
    }
    const auto result = started ? PlayAnswer::Playing : PlayAnswer::NotStarted;
    if (!answer.move(PlayAnswer::Starting, result) && started) {
        m_backend->stop(); // called off while it started
    }
}

QtSoundOutput::QtSoundOutput(BackendFactory makeBackend)
    : m_thread(std::make_unique<QThread>())
{
    const bool qtMultimedia = !makeBackend;
    m_thread->setObjectName(QStringLiteral("audio"));
    m_player = new AudioPlayer(std::move(makeBackend));
    m_player->moveToThread(m_thread.get());
    if (qtMultimedia) {
        // Qt Multimedia and its connection to the sound server come up ahead of the first sound,
        // on the audio thread: a sound server that does not answer keeps the thread that asks
        // waiting, half a minute at a time, and that must not be the user-interface thread.
        QMetaObject::invokeMethod(m_player, [] { QMediaDevices::defaultAudioOutput(); });
    }
    // The player goes on its own thread as the thread finishes, with the play requests still
    // queued for it. (A delete posted to the thread could be left undelivered: quit() may end the
    // loop before it is taken.)
    QObject::connect(m_thread.get(), &QThread::finished, m_player, &QObject::deleteLater);
    m_thread->start();
}

QtSoundOutput::~QtSoundOutput()
{
    shutDown();
}

bool QtSoundOutput::shutDown()
{
    if (!m_thread) {
        return !m_threadLeftRunning;
    }
    m_player = nullptr;
    m_thread->quit();
    if (m_thread->wait(StopTimeoutMs)) {
        m_thread.reset();
        return true;
    }
    // The thread is stuck in the backend (a sound server that does not answer). Destroying a
    // running QThread would end the process, and waiting longer could hang it: the thread is left
    // as it is, its player and backend with it. Should it get free, it ends as usual and deletes
    // them; the QThread object itself is kept to the end of the process.
    qWarning("The audio thread did not stop in time; it is left to end with the program");
    static QList<QThread *> *const leftRunning = new QList<QThread *>;
    leftRunning->append(m_thread.release());
    m_threadLeftRunning = true;
    return false;
}

void QtSoundOutput::play(const QByteArray &wave, Mode mode)
{
    if (!m_player) {
        return; // shut down
    }
    // A sound still waiting to start would play late, over this one or cut off by it.
    if (m_lastAnswer) {
        m_lastAnswer->callOff();
    }
    PlayRequest request;
    if (Result<WaveClip> clip = parseWave(wave)) {
        request.clip = *std::move(clip);
    }
    const std::shared_ptr<PlayAnswer> answer = request.answer;
    m_lastAnswer = answer;
    const std::chrono::nanoseconds length = request.clip ? request.clip->duration() : std::chrono::nanoseconds();
    AudioPlayer *player = m_player;
    QMetaObject::invokeMethod(
        player, [player, request = std::move(request)]() mutable { player->request(std::move(request)); });
    if (mode == Mode::Background) {
        return;
    }
    // Called off when it has not started in time, unless the answer has come just now.
    if (!answer->done.tryAcquire(1, StartTimeoutMs) && answer->callOff()) {
        return;
    }
    if (answer->state != PlayAnswer::Playing) {
        return;
    }
    std::this_thread::sleep_until(std::chrono::steady_clock::now() + length);
}
