#include "platform/sleepingpacer.h"

#include <thread>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <ctime>
#include <sys/prctl.h>
#endif

namespace {

#ifdef Q_OS_LINUX
// The default timer slack of 50 us would make every wait, the last of a movement too, late by up
// to that much.
constexpr unsigned long TimerSlackNs = 1000;
#endif

void sleepUntil(std::chrono::steady_clock::time_point deadline)
{
#ifdef Q_OS_LINUX
    // The steady clock is CLOCK_MONOTONIC here; an absolute sleep ends at the deadline itself,
    // however long the call took to get going.
    const auto sinceEpoch = std::chrono::duration_cast<std::chrono::nanoseconds>(deadline.time_since_epoch());
    timespec until{};
    until.tv_sec = time_t(sinceEpoch.count() / 1000000000);
    until.tv_nsec = long(sinceEpoch.count() % 1000000000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) { }
#else
    std::this_thread::sleep_until(deadline);
#endif
}

} // namespace

void SleepingPacer::start()
{
#ifdef Q_OS_LINUX
    prctl(PR_SET_TIMERSLACK, TimerSlackNs, 0, 0, 0);
#endif
    m_deadline = Clock::now();
}

void SleepingPacer::waitUntil(Clock::time_point time)
{
    // Steps that took longer than their pauses go straight on: the deadlines catch up by themselves.
    if (Clock::now() < time) {
        sleepUntil(time);
    }
}
