// "Play Note": middle C for one second, its note-off sent by the timer so that nothing waits.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "midi_test_support.h"

namespace voxtane::testing {
namespace {

using namespace std::chrono_literals;
using midi::MidiCall;
using Kind = midi::RecordedEvent::Kind;
using ::testing::ElementsAre;

const std::vector<std::uint8_t> kNoteOn{0x90, 0x3C, 0x7F};
const std::vector<std::uint8_t> kNoteOff{0x80, 0x3C, 0x7F};

struct TestNote : ::testing::Test {
    TestNote() { editor.StartChoosing(1); }
    // Moves the clock on and lets the timer tick, as the window's event loop does.
    void After(midi::Clock::Duration duration) {
        editor.clock.SleepFor(duration);
        editor.run.manualTicker.Tick();
    }
    MidiEditor editor{{"JACK: synth:in"}};
};

TEST_F(TestNote, TheNoteOffComesFromTheTimerOneSecondAfterTheNoteOn) {
    editor.form.cmdPLayANot_Click();
    EXPECT_THAT(editor.backend.Sent(), ElementsAre(kNoteOn));
    EXPECT_TRUE(editor.clock.sleeps.empty()) << "the click returns at once";
    EXPECT_TRUE(editor.run.manualTicker.Running());
    After(999ms);
    EXPECT_THAT(editor.backend.Sent(), ElementsAre(kNoteOn));
    After(1ms);
    EXPECT_THAT(editor.backend.Sent(), ElementsAre(kNoteOn, kNoteOff));
    EXPECT_THAT(editor.EventKinds(),
                ElementsAre(Kind::Open, Kind::SendShort, Kind::SendShort, Kind::Close));
    EXPECT_FALSE(editor.run.manualTicker.Running());
    EXPECT_TRUE(editor.platform.Messages().empty());
}

TEST_F(TestNote, ASecondClickWhileTheNoteSoundsPlaysItAgainForAFullSecond) {
    editor.form.cmdPLayANot_Click();
    After(600ms);
    editor.form.cmdPLayANot_Click();
    EXPECT_THAT(editor.backend.Sent(), ElementsAre(kNoteOn, kNoteOff, kNoteOn));
    After(999ms);
    EXPECT_EQ(editor.backend.Sent().size(), 3u);
    After(1ms);
    EXPECT_THAT(editor.backend.Sent(), ElementsAre(kNoteOn, kNoteOff, kNoteOn, kNoteOff));
    EXPECT_EQ(editor.backend.Count(Kind::Open), 1u);
    EXPECT_EQ(editor.backend.Count(Kind::Close), 1u);
}

TEST_F(TestNote, AFailingNoteMessageIsNotReportedAndTheNoteStillEnds) {
    editor.backend.FailCall(MidiCall::SendShort, midi::MIDIERR_NOTREADY);
    editor.form.cmdPLayANot_Click();
    editor.LetNoteEnd();
    EXPECT_TRUE(editor.platform.Messages().empty());
    EXPECT_EQ(editor.backend.Count(Kind::SendShort), 2u);
    EXPECT_EQ(editor.backend.Count(Kind::Close), 1u);
}

TEST_F(TestNote, AFailedOpenIsReportedOnceAndNothingIsHeld) {
    editor.backend.FailCall(MidiCall::Open, midi::MMSYSERR_NODRIVER);
    editor.form.cmdPLayANot_Click();
    EXPECT_THAT(editor.MessageTexts(),
                ElementsAre("Operation: Open\r\nNo MIDI system is running."));
    EXPECT_FALSE(editor.run.midiCommands.NoteEnd());
    EXPECT_FALSE(editor.run.manualTicker.Running());
    EXPECT_THAT(editor.EventKinds(), ElementsAre(Kind::Open));
}

TEST_F(TestNote, AFailedCloseIsReportedAsCloseWhenTheNoteEnds) {
    editor.backend.FailCall(MidiCall::Close, midi::MMSYSERR_ERROR);
    editor.form.cmdPLayANot_Click();
    EXPECT_TRUE(editor.platform.Messages().empty());
    editor.LetNoteEnd();
    EXPECT_THAT(editor.MessageTexts(),
                ElementsAre("Operation: Close\r\nThe MIDI system reported an error."));
}

}  // namespace
}  // namespace voxtane::testing
