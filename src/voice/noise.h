#pragma once

#include <cstdint>

// White noise from a seeded generator (xorshift32): the same seed gives the same noise, so a
// rendered note is the same every time.
namespace voxtane::voice {

class Noise {
  public:
    explicit Noise(std::uint32_t seed = 1) : state_(seed == 0 ? 1 : seed) {}

    // Uniform in [-1, 1).
    [[nodiscard]] float Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<float>(static_cast<std::int32_t>(state_)) * (1.0f / 2147483648.0f);
    }

  private:
    std::uint32_t state_;
};

}  // namespace voxtane::voice
