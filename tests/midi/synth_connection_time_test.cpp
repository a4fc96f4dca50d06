// The time the exchanges count while a connection is open: the clock less the time the input's
// MIDI system stood still, never going back.
#include <gtest/gtest.h>

#include <chrono>

#include "midi/synth_connection.h"

namespace voxtane::testing {
namespace {

using namespace std::chrono_literals;
using Steady = std::chrono::steady_clock;

struct StallingInput : midi::InputConnection {
    explicit StallingInput(Steady::duration& stalled) : stalled(stalled) {}
    std::vector<std::vector<std::uint8_t>> Received() override { return {}; }
    [[nodiscard]] Steady::duration Stalled(Steady::time_point) const override { return stalled; }
    midi::BackendStatus Close() override { return {}; }
    Steady::duration& stalled;
};

struct StallingOutput : midi::OutputConnection {
    explicit StallingOutput(Steady::duration& stalled) : stalled(stalled) {}
    midi::BackendStatus SendLong(std::span<const std::uint8_t>) override { return {}; }
    midi::BackendStatus SendShort(std::span<const std::uint8_t>) override { return {}; }
    midi::BackendStatus Close() override { return {}; }
    [[nodiscard]] Steady::duration Stalled(Steady::time_point) const override { return stalled; }
    Steady::duration& stalled;
};

struct StallingBackend : midi::MidiBackend {
    std::size_t ListDevices() override { return 1; }
    midi::DeviceName NameOf(std::size_t) override { return {}; }
    midi::OpenedOutput Open(std::size_t) override {
        return {{}, std::make_unique<StallingOutput>(outputStalled)};
    }
    midi::OpenedOutput OpenDefault() override { return {}; }
    midi::OpenedInput OpenInput(const std::string&) override {
        return {{}, std::make_unique<StallingInput>(stalled)};
    }
    Steady::duration stalled{};
    Steady::duration outputStalled{};
};

TEST(SynthConnectionTime, StallsOfTheInputDoNotCountAndTheTimeNeverGoesBack) {
    struct Step {
        Steady::duration now;
        Steady::duration stalled;
        Steady::duration expected;
    };
    const Step steps[] = {
        {0ms, 0ms, 0ms},       {100ms, 0ms, 100ms},     {300ms, 150ms, 150ms},
        {400ms, 300ms, 150ms},  // the stall measured ahead of the clock: the time stands
        {600ms, 300ms, 300ms}, {1600ms, 300ms, 1300ms},
    };
    StallingBackend backend;
    const auto opened = midi::SynthConnection::Open(backend, std::nullopt, "in");
    ASSERT_TRUE(opened.connection);
    const Steady::time_point start = Steady::now();
    for (const Step& step : steps) {
        backend.stalled = step.stalled;
        EXPECT_EQ(opened.connection->Time(start + step.now) - start, step.expected)
            << "at " << std::chrono::duration_cast<std::chrono::milliseconds>(step.now).count();
    }
}

TEST(SynthConnectionTime, TheLongerOfTheOutputsAndTheInputsStallsDoesNotCount) {
    StallingBackend backend;
    const auto opened = midi::SynthConnection::Open(backend, 0, "in");
    ASSERT_TRUE(opened.connection);
    const Steady::time_point start = Steady::now();
    backend.outputStalled = 400ms;  // still connecting, say
    backend.stalled = 100ms;
    EXPECT_EQ(opened.connection->Time(start + 1s) - start, 600ms);
    backend.stalled = 500ms;
    EXPECT_EQ(opened.connection->Time(start + 2s) - start, 1500ms);
}

TEST(SynthConnectionTime, WithoutAnInputItIsTheClocksTime) {
    StallingBackend backend;
    backend.stalled = 5s;
    const auto opened = midi::SynthConnection::Open(backend, std::nullopt, "");
    ASSERT_TRUE(opened.connection);
    const Steady::time_point now = Steady::now();
    EXPECT_EQ(opened.connection->Time(now), now);
}

}  // namespace
}  // namespace voxtane::testing
