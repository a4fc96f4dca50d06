#include <vector>

#include "explore/draw_playable.h"
#include "explore/explore_random.h"
#include "explore/operations.h"
#include "tone/default_tone.h"
#include "tone/encode_tone.h"

namespace voxtane::explore {

DecodedTone Crossover(std::span<const DecodedTone> parents, std::uint64_t seed,
                      const GroupLocks& locks) {
    DecodedTone child = parents.front();
    ExploreRandom random(seed);
    for (int index = 0; index < kToneGroupCount; ++index) {
        // Drawn for locked groups too, so that a lock never changes the other groups' parents.
        const auto parent =
            static_cast<std::size_t>(random.Below(static_cast<int>(parents.size())));
        if (!locks.Locked(ToneGroupAt(index)))
            CopyGroup(parents[parent], child, ToneGroupAt(index));
    }
    return child;
}

Explored Breed(std::span<const ToneRecord> parents, std::uint64_t seed, const GroupLocks& locks,
               int mutation) {
    std::vector<DecodedTone> decoded;
    decoded.reserve(parents.size());
    for (const ToneRecord& parent : parents)
        decoded.push_back(DecodeTone(parent, DefaultDecodedTone()).tone);
    return DrawPlayable(seed, [&](std::uint64_t attemptSeed) {
        DecodedTone child = Crossover(decoded, attemptSeed, locks);
        MutateTone(child, mutation, DeriveSeed(attemptSeed, 1), locks);
        return EncodeTone(child, parents.front());
    });
}

std::vector<Explored> GrowGeneration(const GenerationRequest& request) {
    std::vector<Explored> generation;
    if (request.parents.empty()) return generation;
    generation.reserve(static_cast<std::size_t>(request.count));
    for (int i = 0; i < request.count; ++i) {
        const std::uint64_t seed = DeriveSeed(request.seed, static_cast<std::uint64_t>(i));
        generation.push_back(
            request.parents.size() == 1
                ? Mutate(request.parents.front(), request.amount, seed, request.locks)
                : Breed(request.parents, seed, request.locks, request.amount / 4));
    }
    return generation;
}

}  // namespace voxtane::explore
