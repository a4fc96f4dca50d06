#include "voice/waveform.h"

#include <algorithm>
#include <cmath>

#include "voice/approximations.h"
#include "voice/cosine_table.h"

namespace voxtane::voice {

WaveShape::WaveShape(int waveform, double amount) {
    waveform_ = static_cast<Waveform>(std::clamp(waveform, 1, 8));
    const double a = std::clamp(amount, 0.0, kMaxDistortion);
    const double narrow = 1.0 - a;  // 1 at amount 0: no bend
    double knee = 0.5;
    double width = 1.0;
    switch (waveform_) {
        case Waveform::kSawtooth:
            // Half a cycle of the cosine in the first `knee` of the period, the other half in
            // the rest: a falling edge that steepens toward a sawtooth.
            knee = 0.5 * narrow;
            break;
        case Waveform::kSquare:
        case Waveform::kPulse:
            // Each half (square) or the whole (pulse) of the cosine is read within `width`
            // of its part of the period, then the phase rests at the cosine's extreme.
            width = narrow;
            break;
        case Waveform::kDoubleSine:
            // Each half period reads up to three quarters of a cycle: the cosine dips twice a
            // period, and the fundamental stays strong enough that the pitch does not jump.
            width = 0.5 + 0.25 * a;
            break;
        case Waveform::kSawPulse:
            // A sawtooth bend squeezed into the first `width`, then a rest at the top.
            width = 1.0 - 0.5 * a;
            knee = 0.5 * narrow * width;
            break;
        case Waveform::kResonanceSaw:
        case Waveform::kResonanceTriangle:
        case Waveform::kResonanceTrapezoid:
            ratio_ = static_cast<float>(ResonanceRatio(a));
            break;
    }
    knee_ = static_cast<float>(knee);
    width_ = static_cast<float>(width);
    inverseWidth_ = static_cast<float>(1.0 / width);
    fastSlope_ = static_cast<float>(0.5 / knee);
    if (width > knee) slowSlope_ = static_cast<float>(0.5 / (width - knee));
}

float WaveShape::BentPhase(float phase) const {
    switch (waveform_) {
        case Waveform::kSawtooth:
            return phase < knee_ ? phase * fastSlope_ : 0.5f + (phase - knee_) * slowSlope_;
        case Waveform::kSquare: {
            const float doubled = 2.0f * phase;
            const float half = doubled >= 1.0f ? 1.0f : 0.0f;
            return 0.5f * (half + std::min((doubled - half) * inverseWidth_, 1.0f));
        }
        case Waveform::kPulse:
            return std::min(phase * inverseWidth_, 1.0f);
        case Waveform::kDoubleSine:
            return phase < 0.5f ? 2.0f * width_ * phase : 1.0f - 2.0f * width_ * (1.0f - phase);
        case Waveform::kSawPulse:
            if (phase < knee_) return phase * fastSlope_;
            if (phase < width_) return 0.5f + (phase - knee_) * slowSlope_;
            return 1.0f;
        default:
            return phase;
    }
}

float WaveShape::Window(float phase) const {
    switch (waveform_) {
        case Waveform::kResonanceSaw:
            return 1.0f - phase;
        case Waveform::kResonanceTriangle:
            return 1.0f - std::abs(2.0f * phase - 1.0f);
        default:  // trapezoid: flat for the first half, then falling to zero
            return std::min(1.0f, 2.0f * (1.0f - phase));
    }
}

float WaveShape::operator()(float phase) const {
    if (waveform_ < Waveform::kResonanceSaw) return CosineOfCycles(BentPhase(phase));
    return Window(phase) * CosineOfCycles(ratio_ * phase);
}

}  // namespace voxtane::voice
