#pragma once

#include "tone/decoded_tone.h"
#include "tone/tone_record.h"

// Whether a grown tone can be offered: it decodes without a message, and its note sounds.
namespace voxtane::explore {

enum class Playability {
    Plays,
    DecodingMessage,  // the record holds a value the editor cannot show
    Silent,           // middle C stays below the audible peak for the first two seconds
};

// Middle C held for two seconds on the software voice at a low sample rate, stopped at the
// first block that reaches the audible peak (about 34 dB below one voice at full level).
inline constexpr int kCheckNote = 60;
inline constexpr double kCheckSeconds = 2.0;
inline constexpr double kCheckSampleRate = 8000.0;
inline constexpr float kAudiblePeak = 0.01f;

[[nodiscard]] bool Sounds(const DecodedTone& tone);
[[nodiscard]] Playability CheckPlayable(const ToneRecord& record);

// A record and whether it plays: a result that could not be made playable in the attempts
// allowed (every group locked on a silent tone, say) is still given, marked.
struct Explored {
    ToneRecord tone{};
    Playability playability = Playability::Plays;
};

}  // namespace voxtane::explore
