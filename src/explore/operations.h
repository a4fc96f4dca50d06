#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "explore/playability.h"
#include "explore/tone_groups.h"
#include "tone/decoded_tone.h"
#include "tone/tone_record.h"

// Growing tones from tones: pure functions of records, an amount (thousandths: 0 nothing, 1000
// anything within each parameter's range) and a seed. The same inputs give the same bytes on every
// machine. Each result that can be drawn again is drawn until it plays (see playability.h), at
// most kAttempts times.
namespace voxtane::explore {

inline constexpr int kAttempts = 32;
// The small mutation a child gets after its crossover, unless told otherwise.
inline constexpr int kBreedMutation = 100;

// An amount or a position given as a fraction 0 to 1, in thousandths (clamped; NaN is 0).
[[nodiscard]] int ToPermille(double fraction);

// Each unlocked parameter changes with a chance that grows with the amount, by a distance drawn
// up to the amount's share of its range. A choice (waveform, line select, wave) switches with
// half that chance. An envelope changes as a shape: all its rates by one offset (its pace), each
// step as a point (rate and level in one draw), its sustain and end steps by one step at a time,
// the end's level moving with the end, the sustain step never past the end.
void MutateTone(DecodedTone& tone, int amount, std::uint64_t seed, const GroupLocks& locks);

// The source itself at amount 0; else a mutated tone written over the source's record, so that
// every locked group keeps its bytes.
[[nodiscard]] Explored Mutate(const ToneRecord& source, int amount, std::uint64_t seed,
                              const GroupLocks& locks = {});

// A fresh tone within musical bounds (see randomise.cpp).
[[nodiscard]] DecodedTone RandomTone(std::uint64_t seed);
[[nodiscard]] Explored Randomise(std::uint64_t seed);

// A at 0, B at 1000, byte for byte. Between, every number moves from A's value to B's, rounded;
// every choice (line select, octave, detune sign, vibrato wave, modulation, each waveform, each
// envelope's sustain and end steps together) switches to B's at a point of its own, spread
// evenly between the ends. Not drawn again: the result is marked when it does not play.
[[nodiscard]] Explored Morph(const ToneRecord& a, const ToneRecord& b, int at);

// Each unlocked group from a parent drawn for it; each locked group from the first parent.
[[nodiscard]] DecodedTone Crossover(std::span<const DecodedTone> parents, std::uint64_t seed,
                                    const GroupLocks& locks);
// A crossover, then a mutation of `mutation` thousandths, written over the first parent's record.
[[nodiscard]] Explored Breed(std::span<const ToneRecord> parents, std::uint64_t seed,
                             const GroupLocks& locks = {}, int mutation = kBreedMutation);

// One generation for the explorer: `count` mutations of a single parent, or children of two or
// more (their mutation a quarter of the amount). Candidate i is drawn from DeriveSeed(seed, i).
struct GenerationRequest {
    std::vector<ToneRecord> parents;
    int amount = 300;
    GroupLocks locks;
    std::uint64_t seed = 0;
    int count = 16;
};
[[nodiscard]] std::vector<Explored> GrowGeneration(const GenerationRequest& request);

}  // namespace voxtane::explore
