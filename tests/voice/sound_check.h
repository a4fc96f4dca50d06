#pragma once

#include <initializer_list>
#include <span>
#include <vector>

#include "tone/decoded_tone.h"

// Tones made for the tests, and measurements of rendered sound as a listener would judge it.
namespace voxtane::voice::testing {

inline constexpr double kRate = 48000.0;

// Both lines alike: `waveform` at a steady DCW level, no pitch envelope, the DCA jumps to 99
// and holds while the key is held, then falls to 0 at rate 50. Line select "1".
[[nodiscard]] DecodedTone HeldTone(int waveform = 1, int dcwLevel = 0);
void SetEnvelope(DecodedTone& tone, EnvelopeId id, std::initializer_list<EnvelopeStep> steps,
                 int sustainStep, int endStep);

// RenderNote at kRate.
[[nodiscard]] std::vector<float> Play(const DecodedTone& tone, int note, double holdSeconds,
                                      double totalSeconds);
[[nodiscard]] std::span<const float> Between(const std::vector<float>& sound, double from,
                                             double to);

// Amplitude of the component at `hz` (a Hann-windowed DFT, scaled so that a sinusoid of
// amplitude A reads A).
[[nodiscard]] double Amplitude(std::span<const float> sound, double hz);
// The strongest component between lowHz and highHz, to a small fraction of a hertz.
[[nodiscard]] double DominantFrequency(std::span<const float> sound, double lowHz, double highHz);
// How closely the sound follows a sinusoid at `hz` of the best amplitude and phase: the
// correlation of the two, 1 for a pure sinusoid.
[[nodiscard]] double SinusoidCorrelation(std::span<const float> sound, double hz);
[[nodiscard]] double Rms(std::span<const float> sound);
[[nodiscard]] double Decibels(double ratio);
// Times (s) where the sound crosses zero going up, interpolated between samples.
[[nodiscard]] std::vector<double> RisingCrossings(std::span<const float> sound);

}  // namespace voxtane::voice::testing
