// The explorer: one generation of 16 candidates, each checked on the software voice, grown from
// one patch (mutations) and from three picked candidates (children). The target is 100 ms.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "explore/operations.h"
#include "tone/default_tone.h"

namespace {

using namespace voxtane;

void GenerationFromOnePatch(benchmark::State& state) {
    explore::GenerationRequest request{{explore::Randomise(11).tone}, 300, {}, 0, 16};
    for (auto _ : state) {
        ++request.seed;
        benchmark::DoNotOptimize(explore::GrowGeneration(request));
    }
}
BENCHMARK(GenerationFromOnePatch)->Unit(benchmark::kMillisecond);

void GenerationFromThreePicks(benchmark::State& state) {
    explore::GenerationRequest request{
        {explore::Randomise(1).tone, explore::Randomise(2).tone, DefaultToneRecord()},
        300,
        {},
        0,
        16};
    for (auto _ : state) {
        ++request.seed;
        benchmark::DoNotOptimize(explore::GrowGeneration(request));
    }
}
BENCHMARK(GenerationFromThreePicks)->Unit(benchmark::kMillisecond);

// The worst single check: a silent tone renders its whole two seconds.
void CheckSilentTone(benchmark::State& state) {
    DecodedTone silent = DefaultDecodedTone();
    for (DecodedEnvelope& envelope : silent.envelopes)
        for (EnvelopeStep& step : envelope.steps) step.level = 0;
    for (auto _ : state) benchmark::DoNotOptimize(explore::Sounds(silent));
}
BENCHMARK(CheckSilentTone)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
