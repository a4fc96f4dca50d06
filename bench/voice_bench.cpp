// The software voice: how many times faster than real time it renders at 48 kHz, for one voice
// and for a full chord. The counter "realtime" is seconds of sound per second of work.
#include <benchmark/benchmark.h>

#include <vector>

#include "tone/decoded_tone.h"
#include "voice/synth.h"

namespace {

using namespace voxtane;

constexpr double kRate = 48000.0;
constexpr int kBlockFrames = 256;

// A busy tone: both lines sounding ("1+2'"), resonance and saw-pulse waveforms alternating,
// DCW and DCO envelopes moving for seconds, vibrato on, and every envelope held at its sustain
// step so that notes sound for the whole run.
DecodedTone BusyTone(int lineSelect) {
    DecodedTone tone;
    tone.lineSelect = lineSelect;
    tone.detuneFine = 7;
    tone.vibratoDepth = 30;
    tone.vibratoRate = 50;
    tone.lines[0] = {6, 5, 3, 3};
    tone.lines[1] = {1, 8, 3, 3};
    for (DecodedEnvelope& e : tone.envelopes) {
        e.steps[0] = {60, 99};
        e.steps[1] = {20, 10};
        e.steps[2] = {10, 80};
        e.steps[3] = {50, 0};
        e.sustainStep = 2;
        e.endStep = 3;
    }
    return tone;
}

void Render(benchmark::State& state, int lineSelect, int notes) {
    voice::Synth synth(kRate);
    synth.SetTone(BusyTone(lineSelect));
    for (int i = 0; i < notes; ++i) synth.NoteOn(48 + 5 * i, 100);
    std::vector<float> block(kBlockFrames);
    for (auto _ : state) {
        synth.Render(block);
        benchmark::DoNotOptimize(block.data());
    }
    if (synth.Meter().activeVoices != notes) state.SkipWithError("a voice stopped sounding");
    state.counters["realtime"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kBlockFrames / kRate,
                           benchmark::Counter::kIsRate);
}

void OneVoiceOneLine(benchmark::State& state) {
    Render(state, 0, 1);
}
void OneVoiceTwoLines(benchmark::State& state) {
    Render(state, 3, 1);
}
void EightVoicesOneLine(benchmark::State& state) {
    Render(state, 0, 8);
}
void FourVoicesTwoLines(benchmark::State& state) {
    Render(state, 3, 4);
}

BENCHMARK(OneVoiceOneLine);
BENCHMARK(OneVoiceTwoLines);
BENCHMARK(EightVoicesOneLine);
BENCHMARK(FourVoicesTwoLines);

}  // namespace

BENCHMARK_MAIN();
