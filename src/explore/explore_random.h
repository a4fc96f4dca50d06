#pragma once

#include <cstdint>

// The one source of chance in exploring: SplitMix64, whose output is defined bit for bit, so the
// same seed grows the same tones with every compiler and standard library. Draws are made with
// integer arithmetic only (the standard distributions differ between libraries).
namespace voxtane::explore {

// Chances and amounts are given in thousandths: 0 never, 1000 always.
inline constexpr int kPermille = 1000;

class ExploreRandom {
  public:
    explicit ExploreRandom(std::uint64_t seed) : state_(seed) {}

    [[nodiscard]] std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 to count - 1 (count > 0). The slight bias of a remainder is the same everywhere.
    [[nodiscard]] int Below(int count) {
        return static_cast<int>(Next() % static_cast<std::uint64_t>(count));
    }
    [[nodiscard]] int Between(int low, int high) { return low + Below(high - low + 1); }
    [[nodiscard]] bool Chance(int permille) { return Below(kPermille) < permille; }

  private:
    std::uint64_t state_;
};

// A seed of its own for each (seed, a, b): streams that do not overlap in practice, so that one
// group's draws never depend on whether another group was drawn.
[[nodiscard]] inline std::uint64_t DeriveSeed(std::uint64_t seed, std::uint64_t a,
                                              std::uint64_t b = 0) {
    ExploreRandom mix(seed ^ (a * 0xD6E8FEB86659FD93ull) ^ (b * 0xA0761D6478BD642Full));
    (void)mix.Next();
    return mix.Next();
}

}  // namespace voxtane::explore
