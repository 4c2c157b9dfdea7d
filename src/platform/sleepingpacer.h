#pragma once

#include "platform/pacer.h"

// The real pacer: pause units are wall-clock time. The deadline is counted from the start of a
// movement rather than from the moment a wait begins, so the time the steps take and any
// oversleeping do not add up over a movement. It never spins: the processor stays idle while a
// door moves.
class SleepingPacer final : public Pacer
{
public:
    void start() override;
    void pause(int units) override { m_deadline += units * Unit; }
    Clock::time_point deadline() const override { return m_deadline; }
    Clock::time_point now() const override { return Clock::now(); }
    void waitUntil(Clock::time_point time) override;

private:
    Clock::time_point m_deadline = Clock::now();
};
