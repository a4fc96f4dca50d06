#include "explore/exploration.h"

#include "explore/explore_random.h"

namespace voxtane::explore {

void Exploration::Start(const ToneRecord& start, std::uint64_t seed) {
    Start(std::vector<ToneRecord>{start}, seed);
}

void Exploration::Start(std::vector<ToneRecord> parents, std::uint64_t seed) {
    if (parents.empty()) return;
    generations_.clear();
    shown_ = 0;
    seed_ = seed;
    Grow(std::move(parents));
}

void Exploration::Next(std::span<const int> picked) {
    if (!Started()) return;
    std::vector<ToneRecord> parents;
    const std::vector<Explored>& shown = Candidates();
    for (int index : picked)
        if (index >= 0 && index < static_cast<int>(shown.size()))
            parents.push_back(shown[static_cast<std::size_t>(index)].tone);
    if (parents.empty()) parents = generations_[shown_].parents;
    generations_.resize(shown_ + 1);
    Grow(std::move(parents));
}

bool Exploration::Back() {
    if (shown_ == 0) return false;
    --shown_;
    return true;
}

bool Exploration::Forward() {
    if (shown_ + 1 >= generations_.size()) return false;
    ++shown_;
    return true;
}

const std::vector<Explored>& Exploration::Candidates() const {
    static const std::vector<Explored> kNone;
    return Started() ? generations_[shown_].candidates : kNone;
}

void Exploration::Grow(std::vector<ToneRecord> parents) {
    // Each generation has a seed of its own: walking back and growing again gives new ones.
    const std::uint64_t seed = DeriveSeed(seed_, generations_.size(), ++grown_);
    GenerationRequest request{std::move(parents), amount, locks, seed, kCandidates};
    std::vector<Explored> candidates = GrowGeneration(request);
    generations_.push_back({std::move(request.parents), std::move(candidates)});
    shown_ = generations_.size() - 1;
}

}  // namespace voxtane::explore
