#pragma once

#include <array>
#include <vector>

#include "tone/decoded_tone.h"

// What a tone sounds like, in a few numbers: the software voice plays middle C for a fixed time
// at a low sample rate, and the sound is measured at fixed moments (loudness, brightness, the
// share of five frequency bands, pitch as zero crossings) and as a whole (attack and decay).
// Numbers are scaled so that a plain Euclidean distance weighs them alike: tones a step apart
// in one parameter lie close, tones of another character far.
namespace voxtane::library {

inline constexpr int kFeatureMoments = 8;
inline constexpr int kFeaturesPerMoment = 8;
inline constexpr int kFeatureCount = kFeatureMoments * kFeaturesPerMoment + 2;
// Bumped whenever the measurement changes, so that stored vectors are computed again.
inline constexpr int kFeatureVersion = 1;

using SoundFeatures = std::array<float, kFeatureCount>;

[[nodiscard]] SoundFeatures MeasureSound(const DecodedTone& tone);
[[nodiscard]] float FeatureDistance(const SoundFeatures& a, const SoundFeatures& b);

}  // namespace voxtane::library
