#pragma once

#include "voice/note_range.h"

// Every number the voice has to choose because the instrument's own figures are not published.
// Each is written once, here, with what it stands for; docs/voice.md lists them with their
// values. Change a sound by changing one of these, never by a constant somewhere else.
namespace voxtane::voice {

inline constexpr int kTopLevel = 99;  // rates and levels run 0 to 99

// Seconds an envelope step at `rate` takes to cross the whole level range (0 to 99). A step
// moves linearly, so a shorter move takes proportionally less time. Exponential in the rate,
// like the instrument's wide range of speeds: rate 0 about 30 s, 50 about 0.2 s, 99 1.5 ms.
[[nodiscard]] double FullSwingSeconds(double rate);

// Amplitude (0 to 1) of a DCA level: the square of the level, so that a linear envelope move
// fades out roughly evenly to the ear and level 0 is silence.
[[nodiscard]] double DcaGain(double level);

// How far a DCO envelope level raises the pitch: one semitone per level.
[[nodiscard]] double DcoBendSemitones(double level);

// Distortion amount (0 to kMaxDistortion) of a DCW level. The shaping of every waveform
// narrows its fast part by the factor 1 - amount, which falls exponentially from 1 at level 0
// to 1/20 at level 99: equal DCW steps then brighten the tone by similar amounts.
inline constexpr double kMaxDistortion = 0.95;
[[nodiscard]] double DistortionAmount(double dcwLevel);

// Resonance waveforms: the restarted sine runs at this multiple of the fundamental, the same
// narrowing as the other waveforms (1 at DCW 0, 20 at DCW 99).
[[nodiscard]] double ResonanceRatio(double amount);

// Key follow 0 to 9 of a DCA or DCW envelope. Sounding notes above the lowest one (36) play
// their envelope steps in this fraction of the time, and a DCW envelope's levels are scaled by
// it too (less distortion up the keyboard). At key follow 9 it halves every two octaves; at 0
// it is 1. `note` is a sounding note (SoundingNote); lower numbers behave as 36.
inline constexpr int kKeyFollowReferenceNote = kLowestSoundingNote;
[[nodiscard]] double KeyFollowFactor(int keyFollow, int note);

// Detune: fine 0 to 60 spans one semitone in equal steps.
[[nodiscard]] double FineDetuneSemitones(int fine);

// Vibrato delay, rate and depth, 0 to 99 each, go through the 16-bit coefficients the editor
// writes into the tone beside them (tone/tone_codes.h): the delay before the vibrato starts,
// its frequency and its peak pitch deviation are each proportional to their coefficient. The
// three scales are the voice's own, chosen so that value 50 gives 1.5 s, 6.5 Hz and
// 3 x (50 / 99)^2 semitones. Depth 0 is no vibrato at all, although its coefficient (1) would
// give a swing of about a cent.
[[nodiscard]] double VibratoDelaySeconds(int delay);
[[nodiscard]] double VibratoHz(int rate);
[[nodiscard]] double VibratoPeakSemitones(int depth);

// The output: a high-pass at this frequency stands for the coupling capacitor of an analog
// output, so that the pulse-like waveforms do not thump with their DC offset; the limiter that
// then keeps the signal within [-1, 1] recovers with this time constant.
inline constexpr double kOutputHighPassHz = 5.0;
inline constexpr double kLimiterReleaseSeconds = 0.05;

}  // namespace voxtane::voice
