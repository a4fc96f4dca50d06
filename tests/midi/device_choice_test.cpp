// The device list shown at start-up and the device id each choice opens.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "midi_test_support.h"

namespace voxtane::testing {
namespace {

using midi::RecordedEvent;
using Kind = midi::RecordedEvent::Kind;
using ::testing::ElementsAre;

// The device id the next operation opens, seen by the backend.
std::int32_t OpenedDevice(MidiEditor& editor) {
    editor.form.cmdSendOutSysex_Click();
    for (const RecordedEvent& event : editor.backend.Events())
        if (event.kind == Kind::Open) return event.device;
    ADD_FAILURE() << "nothing was opened; messages: "
                  << ::testing::PrintToString(editor.MessageTexts());
    return 0;
}

TEST(DeviceList, WithoutDevicesOffersOnlyDeviceNotEnabledWhichOpensTheDefaultOutput) {
    MidiEditor editor;
    editor.StartChoosing(0);
    ASSERT_EQ(editor.window.Showings().size(), 1u);
    EXPECT_EQ(editor.window.Showings()[0].caption, "MIDI Output Devices");
    EXPECT_THAT(editor.window.Showings()[0].entries, ElementsAre("Device not enabled"));
    EXPECT_EQ(editor.form.midiCommands.NumMidiDevs, 0);
    EXPECT_EQ(editor.state.MidiDeviceChoice.Text(), " 0");
    EXPECT_FALSE(editor.run.midi.vbsyxmid.Visible());
    EXPECT_EQ(OpenedDevice(editor), -1);
}

TEST(DeviceList, ListsDevicesInDeviceOrderAndEntryTwoOpensDeviceOne) {
    MidiEditor editor({"ALSA: Synth A", "JACK: synth:in", "JACK: other:in"});
    editor.StartChoosing(2);
    EXPECT_THAT(
        editor.window.Showings()[0].entries,
        ElementsAre("Device not enabled", "ALSA: Synth A", "JACK: synth:in", "JACK: other:in"));
    EXPECT_EQ(editor.form.midiCommands.NumMidiDevs, 3);
    EXPECT_EQ(editor.state.MidiDeviceChoice.Text(), " 2");
    EXPECT_EQ(OpenedDevice(editor), 1);
    EXPECT_EQ(editor.state.MidiDeviceId, 1);
}

TEST(DeviceList, ACapabilitiesErrorStopsTheListButTheWindowIsStillShown) {
    MidiEditor editor({"d0", "d1", "d2", "d3"});
    editor.backend.FailDeviceName(2, midi::MMSYSERR_NOMEM);
    editor.Start();
    ASSERT_EQ(editor.platform.Messages().size(), 1u);
    EXPECT_EQ(editor.platform.Messages()[0].text, "midiOutGetDevCaps Error: 7");
    EXPECT_EQ(editor.platform.Messages()[0].title, "Voxtane");
    EXPECT_EQ(editor.platform.Messages()[0].buttons, editor::MessageButtons::Ok);
    ASSERT_EQ(editor.window.Showings().size(), 1u);
    EXPECT_THAT(editor.window.Showings()[0].entries, ElementsAre("Device not enabled", "d0", "d1"));
}

TEST(DeviceList, AClickOnNoEntryKeepsTheWindowOpenAndItsChoiceFailsToOpen) {
    MidiEditor editor({"d0"});
    editor.window.QueueClick(-1);
    editor.window.QueueClick(-1);  // still open: the second click reaches it too
    editor.Start();
    EXPECT_EQ(editor.state.MidiDeviceChoice.Text(), "-1");

    editor.form.cmdSendOutSysex_Click();
    EXPECT_EQ(editor.state.MidiDeviceId, -2);
    EXPECT_THAT(editor.MessageTexts(),
                ElementsAre("Operation: Open\r\nThere is no MIDI output device with this number "
                            "(device id -2)."));
    EXPECT_TRUE(editor.backend.Events().empty());
}

TEST(DeviceList, ClosedWithoutAChoiceTheDefaultOutputIsUsed) {
    MidiEditor editor({"d0", "d1"});
    editor.Start();
    EXPECT_EQ(editor.state.MidiDeviceChoice.Text(), "");
    EXPECT_FALSE(editor.run.midi.vbsyxmid.Visible());
    EXPECT_EQ(OpenedDevice(editor), -1);
}

TEST(DeviceList, EachChoiceOpensItsValueMinusOne) {
    struct Case {
        const char* choice;
        std::int32_t id;
    };
    for (const Case& c : {Case{" 3", 2}, Case{"", -1}, Case{" 0", -1}, Case{"3", 2}}) {
        MidiEditor editor({"d0", "d1", "d2"});
        editor.Start();
        editor.state.MidiDeviceChoice = midi::MidiOutputChoice::FromText(c.choice);
        EXPECT_EQ(OpenedDevice(editor), c.id) << "choice \"" << c.choice << '"';
    }
}

TEST(DeviceList, AChoiceReadsBackFromItsTextFormAsItWasWritten) {
    using Choice = midi::MidiOutputChoice;
    struct Case {
        const char* text;
        const char* written;
        std::int32_t entry;
        bool sendsNothing;
    };
    for (const Case& c :
         {Case{"", "", 0, false}, Case{"N", "N", 0, true}, Case{" 2", " 2", 2, false},
          Case{"-1", "-1", -1, false}, Case{"3", " 3", 3, false}, Case{"Nx", " 0", 0, false},
          Case{" 99999999999", " 2147483647", 2147483647, false},
          Case{"-99999999999", "-2147483647", -2147483647, false}}) {
        const Choice choice = Choice::FromText(c.text);
        EXPECT_EQ(choice.Text(), c.written) << '"' << c.text << '"';
        EXPECT_EQ(choice.ListEntry(), c.entry) << '"' << c.text << '"';
        EXPECT_EQ(choice.DeviceId(), c.entry - 1) << '"' << c.text << '"';
        EXPECT_EQ(choice.SendsNothing(), c.sendsNothing) << '"' << c.text << '"';
    }
    std::mt19937 random(20);
    std::uniform_int_distribution<int> index(-1000, 1000);
    for (int i = 0; i < 500; ++i) {
        const Choice choice = i % 50 == 0   ? Choice::NoOutput()
                              : i % 50 == 1 ? Choice()
                                            : Choice::Entry(index(random));
        EXPECT_EQ(Choice::FromText(choice.Text()), choice) << choice.Text();
    }
}

TEST(DeviceList, TheChoiceNMakesBothSendersDoNothing) {
    MidiEditor editor({"d0"});
    editor.Start();
    editor.state.MidiDeviceChoice = midi::MidiOutputChoice::NoOutput();
    editor.form.cmdSendOutSysex_Click();
    editor.form.cmdPLayANot_Click();
    EXPECT_TRUE(editor.backend.Events().empty());
    EXPECT_TRUE(editor.platform.Messages().empty());
    EXPECT_TRUE(editor.clock.sleeps.empty());
    EXPECT_TRUE(editor.state.SysexMessage.empty());
}

TEST(DeviceList, ARunWithoutMidiStartsQuietlyAndSendsNowhere) {
    editor::ScriptedPlatform platform;
    editor::EditorRun run(platform);
    run.Start();
    EXPECT_EQ(run.midi.vbsyxgbl.MidiDeviceChoice.Text(), "");
    EXPECT_EQ(run.form1.midiCommands.NumMidiDevs, 0);
    EXPECT_EQ(run.midi.vbsyxmid.List1.Entries(), std::vector<std::string>{"Device not enabled"});
    EXPECT_TRUE(platform.Messages().empty());
}

}  // namespace
}  // namespace voxtane::testing
