// "Play Note": middle C held for one second between its note-on and note-off.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "midi_test_support.h"

namespace voxtane::testing {
namespace {

using midi::MidiCall;
using Kind = midi::RecordedEvent::Kind;
using ::testing::ElementsAre;

const std::vector<std::uint8_t> kNoteOn{0x90, 0x3C, 0x7F};
const std::vector<std::uint8_t> kNoteOff{0x80, 0x3C, 0x7F};

TEST(TestNote, SendsNoteOnHoldsOneSecondThenNoteOff) {
    MidiEditor editor({"JACK: synth:in"});
    editor.StartChoosing(1);
    std::vector<std::size_t> sentWhileHolding;
    editor.clock.onSleep = [&] { sentWhileHolding.push_back(editor.backend.Sent().size()); };

    editor.form.cmdPLayANot_Click();
    EXPECT_THAT(editor.backend.Sent(), ElementsAre(kNoteOn, kNoteOff));
    EXPECT_THAT(editor.EventKinds(),
                ElementsAre(Kind::Open, Kind::SendShort, Kind::SendShort, Kind::Close));
    EXPECT_EQ(editor.clock.Slept(), std::chrono::seconds(1));
    ASSERT_FALSE(sentWhileHolding.empty());
    for (std::size_t sent : sentWhileHolding) EXPECT_EQ(sent, 1u) << "only the note-on is out";
    EXPECT_TRUE(editor.platform.Messages().empty());
}

TEST(TestNote, AFailingNoteMessageIsNotReportedAndTheNoteStillEnds) {
    MidiEditor editor({"JACK: synth:in"});
    editor.StartChoosing(1);
    editor.backend.FailCall(MidiCall::SendShort, midi::MIDIERR_NOTREADY);
    editor.form.cmdPLayANot_Click();
    EXPECT_TRUE(editor.platform.Messages().empty());
    EXPECT_EQ(editor.clock.Slept(), std::chrono::seconds(1));
    EXPECT_EQ(editor.backend.Count(Kind::SendShort), 2u);
    EXPECT_EQ(editor.backend.Count(Kind::Close), 1u);
}

TEST(TestNote, AFailedOpenIsReportedOnceAndNothingIsHeld) {
    MidiEditor editor({"JACK: synth:in"});
    editor.StartChoosing(1);
    editor.backend.FailCall(MidiCall::Open, midi::MMSYSERR_NODRIVER);
    editor.form.cmdPLayANot_Click();
    EXPECT_THAT(editor.MessageTexts(),
                ElementsAre("Operation: Open\r\nNo MIDI system is running."));
    EXPECT_TRUE(editor.clock.sleeps.empty());
    EXPECT_THAT(editor.EventKinds(), ElementsAre(Kind::Open));
}

TEST(TestNote, AFailedCloseIsReportedAsClose) {
    MidiEditor editor({"JACK: synth:in"});
    editor.StartChoosing(1);
    editor.backend.FailCall(MidiCall::Close, midi::MMSYSERR_ERROR);
    editor.form.cmdPLayANot_Click();
    EXPECT_THAT(editor.MessageTexts(),
                ElementsAre("Operation: Close\r\nThe MIDI system reported an error."));
}

}  // namespace
}  // namespace voxtane::testing
