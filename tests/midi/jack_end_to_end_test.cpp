// The editor's MIDI output to a real JACK server started by the test.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "devices/quiet_libraries.h"
#include "devices/system_midi_backend.h"
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

    devices::SystemMidiBackend backend({devices::MidiSystem::Jack});
    ASSERT_THAT(backend.SystemNames(), ElementsAre("JACK"));
    editor::ScriptedPlatform platform;
    midi::ScriptedDeviceWindow window;
    window.QueueClickOn("JACK: " + sink->PortName());
    midi::SteadyClock clock;
    editor::EditorRun run(platform, backend, window, clock);
    run.Start();
    // The program's own clients offer no inputs, so the sink is the only device.
    ASSERT_THAT(window.Showings().at(0).entries,
                ElementsAre("Device not enabled", "JACK: voxtane-sink:in"));
    EXPECT_EQ(run.midi.vbsyxgbl.MidiDeviceChoice, " 1");

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
    run.midi.vbsyxgbl.MidiDeviceChoice = " 0";
    run.form1.cmdSendOutSysex_Click();
    ASSERT_TRUE(platform.Messages().empty()) << platform.Messages().front().text;
    const std::string ownPort = std::string(devices::SystemMidiBackend::kDefaultPortName) + ":" +
                                devices::SystemMidiBackend::kDefaultPortName;
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

    devices::SystemMidiBackend backend({devices::MidiSystem::Jack});
    editor::ScriptedPlatform platform;
    midi::ScriptedDeviceWindow window;
    window.QueueClick(1);
    midi::SteadyClock clock;
    editor::EditorRun run(platform, backend, window, clock);
    run.Start();
    sink.reset();

    run.form1.cmdSendOutSysex_Click();
    ASSERT_EQ(platform.Messages().size(), 1u);
    EXPECT_EQ(platform.Messages()[0].text,
              "Operation: Open\r\nThere is no MIDI output device with this number (JACK: "
              "voxtane-gone:in is no longer there).");
}

}  // namespace
}  // namespace voxtane::testing
