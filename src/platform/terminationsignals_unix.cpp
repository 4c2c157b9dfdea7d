#include "platform/terminationsignals.h"

#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> Handled = {SIGTERM, SIGINT, SIGHUP};

// The pipe's write end as the handler sees it; -1 while no object is alive.
std::atomic<int> writeEnd{-1};
int readEnd = -1;
std::array<struct sigaction, Handled.size()> previous{};

extern "C" void writeSignalNumber(int signalNumber)
{
    const int savedErrno = errno;
    const int fd = writeEnd.load();
    if (fd >= 0) {
        const char byte = char(signalNumber);
        // A full pipe already holds signals enough to wake the event loop.
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

bool openPipe(int (&ends)[2])
{
    if (::pipe(ends) != 0) {
        return false;
    }
    for (const int fd : ends) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    return true;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    int ends[2];
    if (writeEnd.load() >= 0 || !openPipe(ends)) {
        qWarning("Termination signals are not handled: no pipe");
        return;
    }
    readEnd = ends[0];
    writeEnd.store(ends[1]);
    m_notifier = new QSocketNotifier(readEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPipe);

    struct sigaction action = {};
    action.sa_handler = writeSignalNumber;
    sigemptyset(&action.sa_mask);
    // A system call the signal interrupts carries on, so no other code has to expect EINTR.
    action.sa_flags = SA_RESTART;
    for (std::size_t index = 0; index < Handled.size(); ++index) {
        ::sigaction(Handled[index], &action, &previous[index]);
    }
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier) {
        return;
    }
    for (std::size_t index = 0; index < Handled.size(); ++index) {
        ::sigaction(Handled[index], &previous[index], nullptr);
    }
    ::close(writeEnd.exchange(-1));
    delete m_notifier;
    ::close(std::exchange(readEnd, -1));
}

void TerminationSignals::readPipe()
{
    char numbers[16];
    for (;;) {
        const ssize_t count = ::read(readEnd, numbers, sizeof numbers);
        if (count <= 0) {
            return;
        }
        for (ssize_t index = 0; index < count; ++index) {
            emit received(numbers[index]);
        }
    }
}
