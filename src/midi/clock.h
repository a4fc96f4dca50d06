#pragma once

#include <chrono>

namespace voxtane::midi {

// A monotonic clock that the test note waits on. The program sleeps on the steady clock; tests
// use a clock of their own that only counts the time asked for.
class Clock {
  public:
    using Duration = std::chrono::steady_clock::duration;
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~Clock() = default;
    [[nodiscard]] virtual TimePoint Now() const = 0;
    virtual void SleepFor(Duration duration) = 0;
};

class SteadyClock : public Clock {
  public:
    [[nodiscard]] TimePoint Now() const override;
    void SleepFor(Duration duration) override;
};

// Sleeps until the clock reaches `end`: it neither spins on the clock nor ends early when a
// sleep returns early.
void SleepUntil(Clock& clock, Clock::TimePoint end);

}  // namespace voxtane::midi
