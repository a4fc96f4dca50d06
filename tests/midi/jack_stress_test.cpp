// Opening a chosen JACK device on a loaded machine: both cores busy and the server's request
// thread kept busy by a client that connects and disconnects ports without pause. Every open
// must connect and every dump must arrive, in order.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <jack/jack.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#include "devices/quiet_libraries.h"
#include "editor_on_jack.h"
#include "jack_core_load.h"
#include "jack_midi_sink.h"
#include "jack_server.h"
#include "midi_test_support.h"

namespace voxtane::testing {
namespace {

using namespace std::chrono_literals;

// A JACK client that connects and disconnects two ports of its own in a loop: each request
// waits in the server's request thread, where the editor's connection requests wait too.
class GraphChurn {
  public:
    GraphChurn() {
        jack_status_t status{};
        client_ = jack_client_open("voxtane-churn", JackNoStartServer, &status);
        if (client_ == nullptr) return;
        out_ = jack_port_register(client_, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        in_ = jack_port_register(client_, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
        if (out_ == nullptr || in_ == nullptr || jack_activate(client_) != 0) return;
        thread_ = std::thread([this] {
            const std::string from = jack_port_name(out_);
            const std::string to = jack_port_name(in_);
            while (!stop_.load(std::memory_order_relaxed)) {
                (void)jack_connect(client_, from.c_str(), to.c_str());
                (void)jack_disconnect(client_, from.c_str(), to.c_str());
                requests_.fetch_add(2, std::memory_order_relaxed);
            }
        });
    }
    ~GraphChurn() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (client_ != nullptr) jack_client_close(client_);
    }
    [[nodiscard]] bool Running() const { return thread_.joinable(); }
    [[nodiscard]] std::uint64_t Requests() const { return requests_.load(); }

  private:
    jack_client_t* client_ = nullptr;
    jack_port_t* out_ = nullptr;
    jack_port_t* in_ = nullptr;
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> requests_{0};
    std::thread thread_;
};

TEST(JackStress, EveryOpenOfAChosenDeviceConnectsUnderLoad) {
    constexpr int kSends = 200;
    devices::QuietMidiLibraries();
    std::string whyNot;
    const std::unique_ptr<JackServer> server = JackServer::Start(whyNot);
    if (!server) GTEST_SKIP() << "No JACK server for this test: " << whyNot;
    const std::unique_ptr<JackMidiSink> sink = JackMidiSink::Open("voxtane-sink");
    ASSERT_TRUE(sink);

    EditorOnJack jack("JACK: " + sink->PortName());
    auto& [backend, platform, window, clock, run] = jack;

    GraphChurn churn;
    ASSERT_TRUE(churn.Running());
    CoreLoad load;
    std::vector<std::vector<std::uint8_t>> expected;
    for (int i = 0; i < kSends; ++i) {
        // Each dump differs from the one before, so a lost or repeated one shows.
        run.form1.hsDelay.SetValue(i % 100);
        run.form1.hsDepth.SetValue(i / 100);
        expected.push_back(ExpectedToneDump(run.module1.ScratchRecord));
        run.form1.cmdSendOutSysex_Click();
        ASSERT_TRUE(platform.Messages().empty())
            << "send " << i << ": " << platform.Messages().front().text;
        // Every other send waits for its dump, so that its close disconnects the port and the
        // next open connects anew; in between, an open takes over a port still closing.
        if (i % 2 == 0) {
            ASSERT_EQ(sink->WaitFor(expected.size(), 10s).size(), expected.size());
        }
    }
    EXPECT_GT(churn.Requests(), 0u);
    EXPECT_EQ(backend.TakeNotice(), std::nullopt);

    const std::vector<JackMidiSink::Message> received = sink->WaitFor(kSends, 10s);
    ASSERT_EQ(received.size(), expected.size());
    for (std::size_t i = 0; i < received.size(); ++i)
        ASSERT_TRUE(received[i] == expected[i]) << "dump " << i << " differs";
}

}  // namespace
}  // namespace voxtane::testing
