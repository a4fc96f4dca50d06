// Get Bank from the simulated synth through a JACK server of this program's own (dummy driver,
// 256 frames at 48 kHz), through the program's own JACK client and the exchange machines as the
// command line drives them; once with the answers as fast as JACK carries them, once paced at
// the wire's 31,250 baud.
//
// Floors: with JACK, each hop of a message (the request to the synth, the answer back) waits for
// a process cycle, so a tone takes at least two periods and the bank 32. On the wire, the 16
// answers of 263 bytes at 3,125 bytes a second take 1.35 s, whatever else happens.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

#include "devices/quiet_libraries.h"
#include "devices/system_midi_backend.h"
#include "jack_server.h"
#include "midi/bank_exchange.h"
#include "midi/synth_connection.h"
#include "simulated_synth.h"

namespace {

using namespace voxtane;
using Steady = std::chrono::steady_clock;

constexpr double kPeriodMs = 256.0 * 1000.0 / 48000.0;
constexpr double kHopsPerTone = 2;
constexpr double kWireFloorMs = 16 * 263 / 3125.0 * 1000.0;

struct Rig {
    std::string whyNot;
    std::unique_ptr<testing::JackServer> server;
    std::unique_ptr<testing::SimulatedSynth> synth;
    std::unique_ptr<devices::SystemMidiBackend> backend;
    std::int32_t output = -2;

    Rig() {
        devices::QuietMidiLibraries();
        server = testing::JackServer::Start(whyNot);
        if (!server) return;
        synth = testing::SimulatedSynth::Open("voxtane-bench-synth");
        backend = std::make_unique<devices::SystemMidiBackend>(
            std::vector<devices::MidiSystem>{devices::MidiSystem::Jack});
        if (!synth || backend->SystemNames().empty()) {
            whyNot = "the simulated synth or the program's JACK client could not start";
            return;
        }
        const std::size_t count = backend->ListDevices();
        for (std::size_t i = 0; i < count; ++i)
            if (backend->NameOf(i).name == "JACK: " + synth->InputPortName())
                output = static_cast<std::int32_t>(i);
        if (output < 0) whyNot = "the synth's input is not listed";
    }
    ~Rig() {
        backend.reset();
        synth.reset();
        server.reset();
    }
};

std::unique_ptr<Rig> rig;

void GetBank(benchmark::State& state, bool wireSpeed) {
    if (!rig) rig = std::make_unique<Rig>();
    if (!rig->whyNot.empty()) {
        state.SkipWithError(("no JACK server for this benchmark: " + rig->whyNot).c_str());
        return;
    }
    rig->synth->SetWireSpeed(wireSpeed);
    rig->synth->SetWholeAnswers(!wireSpeed);
    for (auto _ : state) {
        auto opened = midi::SynthConnection::Open(*rig->backend, rig->output,
                                                  "JACK: " + rig->synth->OutputPortName());
        if (!opened.connection) {
            state.SkipWithError(opened.status.reason.c_str());
            return;
        }
        midi::ToneExchange exchange(*opened.connection);
        midi::BankExchange bank(exchange);
        const auto start = Steady::now();
        (void)bank.StartGet(1, start);
        std::optional<midi::BankResult> result;
        while (!result) {
            for (const auto& message : opened.connection->Received())
                if ((result = bank.Receive(message, Steady::now()))) break;
            if (!result) result = bank.Tick(Steady::now());
            if (!result) std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        state.SetIterationTime(std::chrono::duration<double>(Steady::now() - start).count());
        if (result->outcome != midi::BankOutcome::Completed) {
            state.SkipWithError(result->Describe().c_str());
            return;
        }
    }
    state.counters["floor_ms"] = wireSpeed ? kWireFloorMs : 16 * kHopsPerTone * kPeriodMs;
}

void GetBankJack(benchmark::State& state) {
    GetBank(state, false);
}
void GetBankWireSpeed(benchmark::State& state) {
    GetBank(state, true);
}

BENCHMARK(GetBankJack)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(GetBankWireSpeed)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
