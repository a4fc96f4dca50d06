#include "voice/output_stage.h"

#include <algorithm>
#include <cmath>

#include "voice/approximations.h"

namespace voxtane::voice {

namespace {
constexpr double kTwoPi = 6.283185307179586;
constexpr float kCeiling = 1.0f;
// Below this the high-pass state is set to zero, so that silence never decays into the slow
// denormal range.
constexpr float kDenormalFloor = 1e-20f;
}  // namespace

OutputStage::OutputStage(double sampleRate, float gain)
    : gain_(gain),
      highPassPole_(static_cast<float>(std::exp(-kTwoPi * kOutputHighPassHz / sampleRate))),
      limiterRecovery_(
          static_cast<float>(1.0 - std::exp(-1.0 / (kLimiterReleaseSeconds * sampleRate)))) {}

float OutputStage::Process(std::span<float> block) {
    float peak = 0.0f;
    for (float& sample : block) {
        const float input = sample * gain_;
        float output = input - previousInput_ + highPassPole_ * previousOutput_;
        if (std::abs(output) < kDenormalFloor) output = 0.0f;
        previousInput_ = input;
        previousOutput_ = output;

        const float magnitude = std::abs(output);
        if (magnitude * limiterGain_ > kCeiling) limiterGain_ = kCeiling / magnitude;
        const float limited = std::clamp(output * limiterGain_, -kCeiling, kCeiling);
        limiterGain_ += (1.0f - limiterGain_) * limiterRecovery_;

        peak = std::max(peak, std::abs(limited));
        sample = limited;
    }
    return peak;
}

}  // namespace voxtane::voice
