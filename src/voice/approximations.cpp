#include "voice/approximations.h"

#include <algorithm>
#include <cmath>

#include "tone/tone_codes.h"

namespace voxtane::voice {

namespace {
constexpr double kSlowestSwingSeconds = 30.0;
constexpr double kFastestSwingSeconds = 0.0015;
constexpr double kNarrowestShape = 1.0 - kMaxDistortion;
constexpr double kOctavesPerHalving = 2.0;
constexpr int kTopKeyFollow = 9;

// The vibrato at value 50; every other value scales from it by its coefficient.
constexpr int kVibratoAnchor = 50;
constexpr double kVibratoDelayAtAnchor = 1.5;
constexpr double kVibratoHzAtAnchor = 6.5;
constexpr double kVibratoAnchorShare = double{kVibratoAnchor} / kTopLevel;
constexpr double kVibratoSemitonesAtAnchor = 3.0 * kVibratoAnchorShare * kVibratoAnchorShare;

// A coefficient of `value` (clamped to 0 to 99) as a multiple of the anchor's.
double CoefficientRatio(Coefficient (*coefficient)(int), int value) {
    const auto units = [](Coefficient c) { return c.low + 256.0 * c.high; };
    return units(coefficient(std::clamp(value, 0, kTopLevel))) / units(coefficient(kVibratoAnchor));
}
}  // namespace

double FullSwingSeconds(double rate) {
    const double r = std::clamp(rate, 0.0, double{kTopLevel}) / kTopLevel;
    return kSlowestSwingSeconds * std::pow(kFastestSwingSeconds / kSlowestSwingSeconds, r);
}

double DcaGain(double level) {
    const double l = std::clamp(level, 0.0, double{kTopLevel}) / kTopLevel;
    return l * l;
}

double DcoBendSemitones(double level) {
    return std::clamp(level, 0.0, double{kTopLevel});
}

double DistortionAmount(double dcwLevel) {
    const double l = std::clamp(dcwLevel, 0.0, double{kTopLevel}) / kTopLevel;
    return 1.0 - std::pow(kNarrowestShape, l);
}

double ResonanceRatio(double amount) {
    return 1.0 / (1.0 - std::clamp(amount, 0.0, kMaxDistortion));
}

double KeyFollowFactor(int keyFollow, int note) {
    const double depth = std::clamp(keyFollow, 0, kTopKeyFollow) / double{kTopKeyFollow};
    const double octavesUp = std::max(0, note - kKeyFollowReferenceNote) / 12.0;
    return std::exp2(-depth * octavesUp / kOctavesPerHalving);
}

double FineDetuneSemitones(int fine) {
    return std::clamp(fine, 0, 60) / 60.0;
}

double VibratoDelaySeconds(int delay) {
    return kVibratoDelayAtAnchor * CoefficientRatio(VibratoDelayCoefficient, delay);
}

double VibratoHz(int rate) {
    return kVibratoHzAtAnchor * CoefficientRatio(VibratoRateCoefficient, rate);
}

double VibratoPeakSemitones(int depth) {
    if (depth <= 0) return 0.0;  // its coefficient is 1, but 0 on the panel is no vibrato
    return kVibratoSemitonesAtAnchor * CoefficientRatio(VibratoDepthCoefficient, depth);
}

}  // namespace voxtane::voice
