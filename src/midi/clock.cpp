#include "midi/clock.h"

#include <thread>

namespace voxtane::midi {

Clock::TimePoint SteadyClock::Now() const {
    return std::chrono::steady_clock::now();
}

void SteadyClock::SleepFor(Duration duration) {
    std::this_thread::sleep_for(duration);
}

void SleepUntil(Clock& clock, Clock::TimePoint end) {
    for (auto now = clock.Now(); now < end; now = clock.Now()) clock.SleepFor(end - now);
}

}  // namespace voxtane::midi
