#include "voice/approximations.h"

#include <algorithm>
#include <cmath>

namespace voxtane::voice {

namespace {
constexpr double kSlowestSwingSeconds = 30.0;
constexpr double kFastestSwingSeconds = 0.0015;
constexpr double kNarrowestShape = 1.0 - kMaxDistortion;
constexpr double kOctavesPerHalving = 2.0;
constexpr int kTopKeyFollow = 9;
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

double VibratoHz(int rate) {
    return 0.5 + 0.12 * std::clamp(rate, 0, kTopLevel);
}

double VibratoPeakSemitones(int depth) {
    const double d = std::clamp(depth, 0, kTopLevel) / double{kTopLevel};
    return 3.0 * d * d;
}

double VibratoDelaySeconds(int delay) {
    return 0.03 * std::clamp(delay, 0, kTopLevel);
}

}  // namespace voxtane::voice
