#pragma once

// The eight waveforms as phase distortion: a cosine read through a bent phase. For the first
// five the bend narrows with the distortion amount and vanishes at amount 0, leaving a plain
// cosine; the three resonance waveforms are a cosine restarted every cycle, running faster with
// the amount, under a window.
namespace voxtane::voice {

enum class Waveform {
    kSawtooth = 1,
    kSquare,
    kPulse,
    kDoubleSine,
    kSawPulse,
    kResonanceSaw,
    kResonanceTriangle,
    kResonanceTrapezoid,
};

// One waveform at one distortion amount, with the divisions done once so that reading a sample
// costs a few multiplications.
class WaveShape {
  public:
    WaveShape() = default;
    // waveform 1 to 8 (clamped); amount 0 to kMaxDistortion (clamped).
    WaveShape(int waveform, double amount);

    // The sample at `phase`, 0 <= phase < 1, within [-1, 1].
    [[nodiscard]] float operator()(float phase) const;

  private:
    // The bent phase (0 to 1) of the five phase-distortion waveforms.
    [[nodiscard]] float BentPhase(float phase) const;
    [[nodiscard]] float Window(float phase) const;

    Waveform waveform_ = Waveform::kSawtooth;
    float knee_ = 0.5f;   // phase where the fast part of the bend ends
    float width_ = 1.0f;  // phase where the bend reaches its end (pulse-like shapes)
    float inverseWidth_ = 1.0f;
    float fastSlope_ = 1.0f;
    float slowSlope_ = 1.0f;
    float ratio_ = 1.0f;  // resonance: cycles of the restarted cosine per cycle
};

}  // namespace voxtane::voice
