#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "explore/operations.h"

// The "pick what you like, get more like it" loop: generations of candidates, each grown from
// the picks of the one before, walked back and forward. Nothing here touches a bank.
namespace voxtane::explore {

class Exploration {
  public:
    static constexpr int kCandidates = 16;

    // Starts over: generation 1 is grown from `start` (the current patch).
    void Start(const ToneRecord& start, std::uint64_t seed);
    // Starts over from two or more tones: generation 1 is their children.
    void Start(std::vector<ToneRecord> parents, std::uint64_t seed);
    // A new generation after the one shown, grown from the candidates picked (indices 0 to 15;
    // from the parents of the one shown when none is). Generations after the shown one go.
    void Next(std::span<const int> picked);
    // Walks the generations; false at either end.
    bool Back();
    bool Forward();

    [[nodiscard]] bool Started() const { return !generations_.empty(); }
    [[nodiscard]] const std::vector<Explored>& Candidates() const;
    [[nodiscard]] int Shown() const { return static_cast<int>(shown_) + 1; }  // 1-based
    [[nodiscard]] int Count() const { return static_cast<int>(generations_.size()); }

    int amount = 300;
    GroupLocks locks;

  private:
    struct Generation {
        std::vector<ToneRecord> parents;
        std::vector<Explored> candidates;
    };
    void Grow(std::vector<ToneRecord> parents);

    std::vector<Generation> generations_;
    std::size_t shown_ = 0;
    std::uint64_t seed_ = 0;
    std::uint64_t grown_ = 0;  // generations grown since the start
};

}  // namespace voxtane::explore
