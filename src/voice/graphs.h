#pragma once

#include <limits>
#include <vector>

#include "tone/decoded_tone.h"

// What the window draws, made by the same code that makes the sound: an envelope's breakpoints
// from the voice's own rate model, and cycles of a line's waveform.
namespace voxtane::voice {

enum class PointRole {
    kStart,    // note-on, level 0
    kStep,     // a step reached its level
    kSustain,  // the sustain step reached its level: it holds there while the key is held
    kRelease,  // the key was released here
    kEnd,      // the end step reached its level: the envelope stays there
};

struct EnvelopePoint {
    double seconds = 0.0;  // since note-on
    double level = 0.0;    // 0 to 99
    int step = 0;          // 1 to 8: the step that ends here (0 for the start)
    PointRole role = PointRole::kStep;
};

// The envelope `id` of `tone` for `note` with the key held `holdSeconds` (infinity: never
// released, the graph stops at the sustain point). Key follow is applied as the voice applies
// it, to the note that sounds (SoundingNote). Straight lines between the points are exactly the
// envelope's course.
[[nodiscard]] std::vector<EnvelopePoint> EnvelopeBreakpoints(
    const DecodedTone& tone, EnvelopeId id, int note,
    double holdSeconds = std::numeric_limits<double>::infinity());

// One cycle of `waveform` (1 to 8) at DCW level `dcwLevel` (0 to 99), `points` samples at
// evenly spaced phases from 0.
[[nodiscard]] std::vector<float> WaveformCycle(int waveform, double dcwLevel, int points);

// What `line` (1 or 2) of `tone` plays `seconds` after note-on of `note`, key held: a cycle of
// waveform 1 then a cycle of waveform 2 (the line alternates them), `pointsPerCycle` samples
// each, at the DCW envelope's level then, with key follow.
[[nodiscard]] std::vector<float> LineCycles(const DecodedTone& tone, int line, int note,
                                            double seconds, int pointsPerCycle);

}  // namespace voxtane::voice
