#pragma once

#include "tone/decoded_tone.h"

// Between an envelope step's numbers and its place in time, on the voice's own rate model: what
// a dragged point's time means as a rate.
namespace voxtane::qt {

// The note the envelope graphs and waveform views are drawn for: middle C.
inline constexpr int kGraphNote = 60;

// How much longer than at key follow 0 each step of envelope `id` takes for `note`: the DCA and
// DCW envelopes follow the key, the DCO envelope does not.
[[nodiscard]] double StepTimeScale(const DecodedTone& tone, EnvelopeId id, int note);

// The rate (0 to 99) at which a step that moves `levels` levels takes closest to `seconds`,
// each step's time multiplied by `timeScale`. A move of no levels takes no time at any rate:
// then nothing can be told and the answer is `unchanged`.
[[nodiscard]] int RateForMove(double levels, double seconds, double timeScale, int unchanged);

// The seconds a step that moves `levels` levels takes at `rate`: the inverse of RateForMove.
[[nodiscard]] double SecondsForMove(double levels, int rate, double timeScale);

}  // namespace voxtane::qt
