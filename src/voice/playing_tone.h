#pragma once

#include <array>

#include "tone/decoded_tone.h"
#include "voice/vibrato.h"

// A tone made ready to play: every value clamped into the range the editor shows, what the line
// select means, and the step times of each envelope worked out once.
namespace voxtane::voice {

inline constexpr int kMaxVoices = 8;
inline constexpr int kMaxLines = 2;

// The envelope of one EnvelopeId with each step's full-swing time (FullSwingSeconds).
struct EnvelopeRule {
    DecodedEnvelope envelope;
    std::array<double, kEnvelopeSteps> fullSwingSeconds{};
};

// One sounding line of a voice: which of the tone's lines it plays (0 or 1) and its detune.
struct SoundingLine {
    int line = 0;
    double detuneSemitones = 0.0;
};

struct PlayingTone {
    DecodedTone tone;  // clamped
    int lineCount = 1;
    std::array<SoundingLine, kMaxLines> sounding{};
    int polyphony = kMaxVoices;
    double octaveSemitones = 0.0;
    VibratoRule vibrato;
    std::array<EnvelopeRule, kEnvelopeCount> rules{};

    [[nodiscard]] const EnvelopeRule& Rule(EnvelopeKind kind, int line) const {
        return rules[EnvelopeOf(kind, line + 1)];
    }
};

// The tone with every value moved into its range: odd records never reach the voice as such.
[[nodiscard]] DecodedTone ClampTone(const DecodedTone& tone);

[[nodiscard]] PlayingTone PrepareTone(const DecodedTone& tone);

}  // namespace voxtane::voice
