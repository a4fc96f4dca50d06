#pragma once

#include <cstdint>

#include "explore/explore_random.h"
#include "explore/operations.h"

namespace voxtane::explore {

// The resonance waveforms (6 to 8) share one code and differ by the line's one resonance type:
// a line holds two of them only when they are the same, so the second follows the first.
inline void MakeWaveformsHoldable(DecodedLine& line) {
    constexpr int kFirstResonance = 6;
    if (line.waveform1 >= kFirstResonance && line.waveform2 >= kFirstResonance)
        line.waveform2 = line.waveform1;
}

// Makes a record from attempt seeds until one plays; the last attempt is given, marked, when
// none did. Attempt n uses DeriveSeed(seed, n, kAttemptStream).
template <typename Make>
[[nodiscard]] Explored DrawPlayable(std::uint64_t seed, Make&& make) {
    constexpr std::uint64_t kAttemptStream = 0xA77E;
    Explored result;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        result.tone = make(DeriveSeed(seed, static_cast<std::uint64_t>(attempt), kAttemptStream));
        result.playability = CheckPlayable(result.tone);
        if (result.playability == Playability::Plays) break;
    }
    return result;
}

}  // namespace voxtane::explore
