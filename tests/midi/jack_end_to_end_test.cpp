// The editor's MIDI output to a real JACK server started by the test.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "devices/quiet_libraries.h"
#include "editor_on_jack.h"
#include "jack_midi_sink.h"
#include "jack_server.h"
#include "midi_test_support.h"

namespace voxtane::testing {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;

const JackMidiSink::Message kNoteOn{0x90, 0x3C, 0x7F};
const JackMidiSink::Message kNoteOff{0x80, 0x3C, 0x7F};

// Lets the test note run its second, as the window's timer does.
void LetNoteEnd(editor::EditorRun& run, midi::Clock& clock) {
    while (const auto end = run.midiCommands.NoteEnd()) {
        midi::SleepUntil(clock, *end);
        run.manualTicker.Tick();
    }
}

TEST(JackEndToEnd, PatchAndNoteReachAChosenPortAndTheProgramsOwnPort) {
    devices::QuietMidiLibraries();
    std::string whyNot;
    const std::unique_ptr<JackServer> server = JackServer::Start(whyNot);
    if (!server) GTEST_SKIP() << "No JACK server for this test: " << whyNot;
    const std::unique_ptr<JackMidiSink> sink = JackMidiSink::Open("voxtane-sink");
    ASSERT_TRUE(sink) << "the test's own JACK client could not start";

    EditorOnJack jack("JACK: " + sink->PortName());
    auto& [backend, platform, window, clock, run] = jack;
    ASSERT_THAT(backend.SystemNames(), ElementsAre("JACK"));
    // The program's own clients offer no inputs, so the sink is the only device.
    ASSERT_THAT(window.Showings().at(0).entries,
                ElementsAre("Device not enabled", "JACK: voxtane-sink:in"));
    EXPECT_EQ(run.midi.vbsyxgbl.MidiDeviceChoice.Text(), " 1");

    // A dump followed at once by the close must arrive whole.
    run.form1.hsFine.SetValue(20);
    const std::vector<std::uint8_t> dump = ExpectedToneDump(run.module1.ScratchRecord);
    run.form1.cmdSendOutSysex_Click();
    run.form1.cmdPLayANot_Click();
    LetNoteEnd(run, clock);
    EXPECT_TRUE(platform.Messages().empty()) << platform.Messages().front().text;
    EXPECT_THAT(sink->WaitFor(3, 5s), ElementsAre(dump, kNoteOn, kNoteOff));

    // "Device not enabled": the program's own port, made on first use. Nothing is connected to
    // it yet, so this dump goes nowhere.
    run.midi.vbsyxgbl.MidiDeviceChoice = midi::MidiOutputChoice::Entry(0);
    run.form1.cmdSendOutSysex_Click();
    ASSERT_TRUE(platform.Messages().empty()) << platform.Messages().front().text;
    const std::string ownPort = std::string(devices::SystemMidiBackend::kDefaultPortName) + ":" +
                                devices::SystemMidiBackend::kDefaultPortName;
    // It is made on the program's JACK worker, which the window does not wait for.
    for (const auto limit = std::chrono::steady_clock::now() + 5s;
         !sink->PortExists(ownPort) && std::chrono::steady_clock::now() < limit;)
        std::this_thread::sleep_for(5ms);
    ASSERT_TRUE(sink->PortExists(ownPort)) << ownPort << " stays after the operation";
    ASSERT_TRUE(sink->ConnectFrom(ownPort));

    // The connection made between operations carries the next ones.
    run.form1.cmdSendOutSysex_Click();
    run.form1.cmdPLayANot_Click();
    LetNoteEnd(run, clock);
    EXPECT_TRUE(platform.Messages().empty()) << platform.Messages().front().text;
    EXPECT_THAT(sink->WaitFor(6, 5s),
                ElementsAre(dump, kNoteOn, kNoteOff, dump, kNoteOn, kNoteOff));
    EXPECT_TRUE(sink->PortExists(ownPort));
}

TEST(JackEndToEnd, APortGoneSinceTheListIsReportedByName) {
    devices::QuietMidiLibraries();
    std::string whyNot;
    const std::unique_ptr<JackServer> server = JackServer::Start(whyNot);
    if (!server) GTEST_SKIP() << "No JACK server for this test: " << whyNot;
    std::unique_ptr<JackMidiSink> sink = JackMidiSink::Open("voxtane-gone");
    ASSERT_TRUE(sink);

    EditorOnJack jack(1);
    auto& [backend, platform, window, clock, run] = jack;
    sink.reset();

    run.form1.cmdSendOutSysex_Click();
    ASSERT_EQ(platform.Messages().size(), 1u);
    EXPECT_EQ(platform.Messages()[0].text,
              "Operation: Open\r\nThere is no MIDI output device with this number (JACK: "
              "voxtane-gone:in is no longer there).");
}

TEST(JackEndToEnd, AServerThatStopsIsToldAndTheNextSendReachesTheNextServer) {
    devices::QuietMidiLibraries();
    std::string whyNot;
    std::unique_ptr<JackServer> server = JackServer::Start(whyNot);
    if (!server) GTEST_SKIP() << "No JACK server for this test: " << whyNot;
    std::unique_ptr<JackMidiSink> sink = JackMidiSink::Open("voxtane-sink");
    ASSERT_TRUE(sink);
    EditorOnJack jack("JACK: " + sink->PortName());
    auto& [backend, platform, window, clock, run] = jack;
    const std::vector<std::uint8_t> dump = ExpectedToneDump(run.module1.ScratchRecord);
    run.form1.cmdSendOutSysex_Click();
    ASSERT_THAT(sink->WaitFor(1, 5s), ElementsAre(dump));

    sink.reset();
    server.reset();
    const std::string told =
        "The JACK server has stopped: its MIDI devices are closed. The next send opens them "
        "again once a JACK server runs.";
    for (const auto limit = std::chrono::steady_clock::now() + 10s;
         run.synthLink.Status() != told && std::chrono::steady_clock::now() < limit;) {
        run.synthLink.WatchDevices();
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(run.synthLink.Status(), told);
    // Without a server a send fails with a message.
    run.form1.cmdSendOutSysex_Click();
    EXPECT_EQ(platform.Messages().size(), 1u);

    server = JackServer::Start(whyNot);
    ASSERT_TRUE(server) << whyNot;
    sink = JackMidiSink::Open("voxtane-sink");
    ASSERT_TRUE(sink);
    platform.ClearRecords();
    run.form1.cmdSendOutSysex_Click();
    EXPECT_TRUE(platform.Messages().empty()) << platform.Messages().front().text;
    EXPECT_THAT(sink->WaitFor(1, 5s), ElementsAre(dump));
}

TEST(JackEndToEnd, SendPatchDoesNotWaitForTheServerAndItsDumpLeavesOnceTheServerGoesOn) {
    devices::QuietMidiLibraries();
    std::string whyNot;
    const std::unique_ptr<JackServer> server = JackServer::Start(whyNot);
    if (!server) GTEST_SKIP() << "No JACK server for this test: " << whyNot;
    const std::unique_ptr<JackMidiSink> sink = JackMidiSink::Open("voxtane-sink");
    ASSERT_TRUE(sink);
    EditorOnJack jack("JACK: " + sink->PortName());
    auto& [backend, platform, window, clock, run] = jack;
    const std::vector<std::uint8_t> first = ExpectedToneDump(run.module1.ScratchRecord);
    run.form1.cmdSendOutSysex_Click();
    ASSERT_THAT(sink->WaitFor(1, 5s), ElementsAre(first));

    // With the server stopped, no connection can be made and nothing can leave: a click that
    // waited for either would return only after the server goes on (a thread of the test lets
    // it go on after a while, so that such a click ends), with the dump delivered.
    server->Pause();
    std::jthread resume([&server](std::stop_token stop) {
        for (int i = 0; i < 300 && !stop.stop_requested(); ++i) std::this_thread::sleep_for(10ms);
        server->Resume();
    });
    run.form1.hsFine.SetValue(30);
    const std::vector<std::uint8_t> second = ExpectedToneDump(run.module1.ScratchRecord);
    run.form1.cmdSendOutSysex_Click();
    run.form1.hsFine.SetValue(31);
    const std::vector<std::uint8_t> third = ExpectedToneDump(run.module1.ScratchRecord);
    run.form1.cmdSendOutSysex_Click();
    const std::size_t arrivedMeanwhile = sink->WaitFor(0, 0ms).size();
    resume.request_stop();
    resume.join();
    EXPECT_EQ(arrivedMeanwhile, 1u) << "the clicks waited for the server";
    EXPECT_TRUE(platform.Messages().empty()) << platform.Messages().front().text;
    EXPECT_THAT(sink->WaitFor(3, 10s), ElementsAre(first, second, third));
}

}  // namespace
}  // namespace voxtane::testing
