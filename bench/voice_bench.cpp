// The software voice: how many times faster than real time it renders at 48 kHz, for one voice
// and for a full chord (the counter "realtime" is seconds of sound per second of work); the
// worst time of one 256-frame block of a full chord against the block's period, as the audio
// callback renders it; and, through RtAudio on a JACK server of the benchmark's own (dummy
// driver, 256-frame periods), the time from a key press to its first sound at a listener.
#include <benchmark/benchmark.h>

#include <jack/jack.h>

#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <optional>
#include <thread>
#include <vector>

#include "devices/quiet_libraries.h"
#include "devices/rtaudio_output.h"
#include "jack_server.h"
#include "tone/decoded_tone.h"
#include "voice/live_voice.h"
#include "voice/synth.h"

namespace {

using namespace voxtane;

using Steady = std::chrono::steady_clock;
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

// The audio callback's work: one block of the full chord over many blocks. The worst block is
// taken in the thread's own processor time, which a preemption by another program does not
// inflate; the wall-clock 99.9th percentile shows what preemption adds on this machine.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void CallbackWorstBlock(benchmark::State& state) {
    voice::LiveVoice voice(kRate);
    voice.Publish(BusyTone(0));
    for (int i = 0; i < 8; ++i) voice.Press(48 + 5 * i);
    std::vector<float> block(kBlockFrames);
    std::vector<double> wall;
    wall.reserve(static_cast<std::size_t>(state.max_iterations));
    double worstCpu = 0;
    for (auto _ : state) {
        const double cpuStart = ThreadSeconds();
        const auto start = Steady::now();
        voice.Render(block);
        const double seconds = std::chrono::duration<double>(Steady::now() - start).count();
        worstCpu = std::max(worstCpu, ThreadSeconds() - cpuStart);
        wall.push_back(seconds);
        state.SetIterationTime(seconds);
    }
    std::sort(wall.begin(), wall.end());
    state.counters["worst_cpu_ms"] = worstCpu * 1000;
    state.counters["p999_ms"] = wall[wall.size() * 999 / 1000] * 1000;
    state.counters["period_ms"] = kBlockFrames / kRate * 1000;
}

// A JACK client that notes when the first sound arrives.
class FirstSound {
  public:
    FirstSound() {
        jack_status_t status{};
        client_ = jack_client_open("voxtane-bench-ear", JackNoStartServer, &status);
        if (client_ == nullptr) return;
        port_ = jack_port_register(client_, "in", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        jack_set_process_callback(client_, &FirstSound::OnProcess, this);
        jack_activate(client_);
    }
    ~FirstSound() {
        if (client_ != nullptr) jack_client_close(client_);
    }
    [[nodiscard]] bool Listen(const std::string& source) {
        return client_ != nullptr &&
               jack_connect(client_, source.c_str(), jack_port_name(port_)) == 0;
    }
    void Reset() { heard_.store(Steady::time_point{}.time_since_epoch().count()); }
    [[nodiscard]] std::optional<Steady::time_point> Heard() const {
        const auto ticks = heard_.load();
        if (ticks == 0) return std::nullopt;
        return Steady::time_point(Steady::duration(ticks));
    }

  private:
    static int OnProcess(jack_nframes_t frames, void* self) {
        auto& ear = *static_cast<FirstSound*>(self);
        const auto* in = static_cast<const float*>(jack_port_get_buffer(ear.port_, frames));
        if (ear.heard_.load(std::memory_order_relaxed) != 0) return 0;
        for (jack_nframes_t i = 0; i < frames; ++i)
            if (std::abs(in[i]) > 1e-4f) {
                ear.heard_.store(Steady::now().time_since_epoch().count());
                break;
            }
        return 0;
    }

    jack_client_t* client_ = nullptr;
    jack_port_t* port_ = nullptr;
    std::atomic<Steady::duration::rep> heard_{0};
};

void PressToSoundJack(benchmark::State& state) {
    devices::QuietMidiLibraries();
    std::string whyNot;
    const auto server = testing::JackServer::Start(whyNot);
    if (!server) {
        state.SkipWithError(("no JACK server for this benchmark: " + whyNot).c_str());
        return;
    }
    devices::RtAudioOutput output;
    std::string jack;
    for (const std::string& device : output.Devices())
        if (device.rfind("JACK: ", 0) == 0) jack = device;
    FirstSound ear;
    if (jack.empty() || !output.Start(jack).ok ||
        !ear.Listen(std::string(devices::RtAudioOutput::kStreamName) + ":outport 0")) {
        state.SkipWithError("the voice could not play on JACK");
        return;
    }
    voice::LiveVoice& voice = *output.Voice();
    DecodedTone tone = BusyTone(0);
    for (DecodedEnvelope& e : tone.envelopes) e.steps[0] = {99, 99};
    voice.Publish(tone);
    for (auto _ : state) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ear.Reset();
        const auto pressed = Steady::now();
        voice.Press(60);
        while (!ear.Heard()) std::this_thread::sleep_for(std::chrono::microseconds(100));
        state.SetIterationTime(std::chrono::duration<double>(*ear.Heard() - pressed).count());
        voice.Release(60);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    state.counters["period_ms"] = output.PeriodFrames() / 48.0;
    output.Stop();
}

BENCHMARK(OneVoiceOneLine);
BENCHMARK(OneVoiceTwoLines);
BENCHMARK(EightVoicesOneLine);
BENCHMARK(FourVoicesTwoLines);
BENCHMARK(CallbackWorstBlock)->UseManualTime()->Iterations(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(PressToSoundJack)->UseManualTime()->Iterations(21)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
