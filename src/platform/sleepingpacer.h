#pragma once

#include "pacer.h"

#include <chrono>

// The real pacer: one unit is 250 ns of wall-clock time. Each pause sleeps until a deadline on
// the steady clock, counted from the previous deadline rather than from the moment the pause
// begins, so the time a step takes and any oversleeping do not add up over a movement. It never
// spins: the processor stays idle while a door moves.
class SleepingPacer final : public Pacer
{
public:
    static constexpr std::chrono::nanoseconds Unit{250};

    void start() override;
    void pause(int units) override;

private:
    std::chrono::steady_clock::time_point m_deadline = std::chrono::steady_clock::now();
};
