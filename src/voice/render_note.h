#pragma once

#include <vector>

#include "tone/decoded_tone.h"

// One note of a tone rendered offline, as the instrument plays a key held for holdSeconds.
namespace voxtane::voice {

// `totalSeconds` of sound (cut to at most ten minutes); the key is released after
// `holdSeconds`. Output of one voice with the gain of a one-voice synth, within [-1, 1].
[[nodiscard]] std::vector<float> RenderNote(const DecodedTone& tone, int note, double holdSeconds,
                                            double totalSeconds, double sampleRate);

}  // namespace voxtane::voice
