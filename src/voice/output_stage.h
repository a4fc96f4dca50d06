#pragma once

#include <span>

// What happens to the mixed voices on their way out: a fixed gain that keeps the full
// polyphony within [-1, 1], a DC-blocking high-pass like an analog output's coupling
// capacitor, and a limiter for the rare peak that the high-pass pushes past full scale.
namespace voxtane::voice {

class OutputStage {
  public:
    OutputStage(double sampleRate, float gain);

    // Processes `block` in place and gives its peak magnitude.
    [[nodiscard]] float Process(std::span<float> block);

  private:
    float gain_;
    float highPassPole_;
    float limiterRecovery_;
    float previousInput_ = 0.0f;
    float previousOutput_ = 0.0f;
    float limiterGain_ = 1.0f;
};

}  // namespace voxtane::voice
