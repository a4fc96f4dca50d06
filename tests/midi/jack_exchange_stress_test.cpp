// Exchanges with a simulated synth on a JACK server while every core is busy, each run of the
// command line a process of its own, as owners script them: Get Bank and confirmed writes in
// turn. What reaches the synth is counted: each message exactly once, in order.
//
// VOXTANE_JACK_STRESS_ROUNDS sets the number of rounds (a Get Bank and a write each); the
// default keeps the test short. scripts/jack-stress.sh runs the long variant and prints the
// figures.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <thread>

#include "devices/quiet_libraries.h"
#include "exchange_test_support.h"
#include "jack_core_load.h"
#include "jack_server.h"
#include "midi/synth_messages.h"
#include "simulated_synth.h"
#include "syx_runner.h"
#include "test_support.h"

namespace voxtane::testing {
namespace {

using namespace std::chrono_literals;
using midi::SynthMemory;

int Rounds() {
    const char* set = std::getenv("VOXTANE_JACK_STRESS_ROUNDS");
    const int rounds = set == nullptr ? 0 : std::atoi(set);
    return rounds > 0 ? rounds : 4;
}

// The synth's input cut into messages: from an F0 to the F7 that closes it, and any bytes
// outside a message each as a piece of their own.
std::vector<Bytes> Messages(const Bytes& heard) {
    std::vector<Bytes> messages;
    for (const std::uint8_t byte : heard) {
        const bool open = !messages.empty() && messages.back().front() == kSysexStart &&
                          messages.back().back() != kSysexEnd;
        if (byte == kSysexStart || !open)
            messages.push_back({byte});
        else
            messages.back().push_back(byte);
    }
    return messages;
}

Bytes BankRequest(int internal) {
    Bytes request = AsBytes(midi::BuildFetchRequest(1, SynthMemory::Internal(internal)));
    request.push_back(kSysexEnd);
    return request;
}

// How often some message reached the synth right after an identical one: never twice in a row
// in this test's sequence, unless a message arrived twice.
int Repeats(const std::vector<Bytes>& messages) {
    int repeats = 0;
    for (std::size_t i = 1; i < messages.size(); ++i)
        if (messages[i] == messages[i - 1]) ++repeats;
    return repeats;
}

TEST(JackExchangeStress, SeparateRunsOfGetBankAndConfirmedWritesInTurnEachArriveOnce) {
    devices::QuietMidiLibraries();
    std::string whyNot;
    const std::unique_ptr<JackServer> server = JackServer::Start(whyNot);
    if (!server) GTEST_SKIP() << "No JACK server for this test: " << whyNot;
    const std::unique_ptr<SimulatedSynth> synth = SimulatedSynth::Open("voxtane-synth");
    ASSERT_TRUE(synth);
    for (int n = 1; n <= 16; ++n) synth->Store(SynthMemory::Internal(n), TestTone(n));
    synth->SetWireSpeed(true);
    TempFolder folder;
    const std::string bank = folder.File("bank.syx");
    const std::vector<std::string> ports{"--in", "JACK: " + synth->OutputPortName(), "--out",
                                         "JACK: " + synth->InputPortName()};
    const auto syx = [&ports](std::vector<std::string> args) {
        args.insert(args.end(), ports.begin(), ports.end());
        return RunSyx(args);
    };

    const int rounds = Rounds();
    int gets = 0;
    int writes = 0;
    std::vector<Bytes> expected;
    {
        const CoreLoad load;
        for (int round = 0; round < rounds; ++round) {
            const RunResult got = syx({"get", bank, "--bank"});
            EXPECT_EQ(got.exitCode, 0) << "round " << round << ": " << got.err;
            if (got.exitCode == 0) ++gets;
            for (int n = 1; n <= 16; ++n) expected.push_back(BankRequest(n));
            if (got.exitCode != 0) continue;  // no file to write from
            // Each write takes another patch into another memory, so that every dump differs.
            const int patch = 1 + round % 16;
            const int memory = 1 + (round + 5) % 16;
            const RunResult put = syx({"put", bank, "--patch", std::to_string(patch), "--to",
                                       "internal:" + std::to_string(memory)});
            EXPECT_EQ(put.exitCode, 0) << "round " << round << ": " << put.err;
            if (put.exitCode == 0) ++writes;
            expected.push_back(
                AsBytes(midi::BuildToneWrite(1, SynthMemory::Internal(memory), TestTone(patch))));
            synth->Store(SynthMemory::Internal(memory), TestTone(memory));
        }
    }
    std::size_t expectedBytes = 0;
    for (const Bytes& message : expected) expectedBytes += message.size();
    Bytes heard = synth->Heard();
    for (const auto limit = std::chrono::steady_clock::now() + 5s;
         heard.size() < expectedBytes && std::chrono::steady_clock::now() < limit;
         heard = synth->Heard())
        std::this_thread::sleep_for(5ms);

    const std::vector<Bytes> messages = Messages(heard);
    std::cout << "JACK exchange stress, " << rounds << " rounds: Get Bank " << gets << " of "
              << rounds << ", confirmed writes " << writes << " of " << rounds << "; the synth got "
              << messages.size() << " messages for " << expected.size() << " sent, "
              << Repeats(messages) << " right after an identical one\n";
    EXPECT_EQ(gets, rounds);
    EXPECT_EQ(writes, rounds);
    EXPECT_EQ(Repeats(messages), 0);
    EXPECT_EQ(messages.size(), expected.size());
    EXPECT_TRUE(messages == expected) << "the synth got other messages than were sent";
}

}  // namespace
}  // namespace voxtane::testing
