// "Send Patch": the tone dump sent, and every way the open, send and close can fail.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "midi_test_support.h"

namespace voxtane::testing {
namespace {

using midi::MidiCall;
using Kind = midi::RecordedEvent::Kind;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

struct SendPatch : ::testing::Test {
    SendPatch() { editor.StartChoosing(1); }  // device 0
    MidiEditor editor{{"JACK: synth:in"}};
};

TEST_F(SendPatch, SendsExactlyTheRecordBeingEditedAsOneToneDump) {
    editor.form.hsFine.SetValue(20);  // an edit not yet stored into the bank
    const ToneRecord edited = editor.run.module1.ScratchRecord;
    ASSERT_NE(edited, editor.run.module1.PatchBank[1]);

    editor.form.cmdSendOutSysex_Click();
    EXPECT_THAT(editor.EventKinds(), ElementsAre(Kind::Open, Kind::Prepare, Kind::SendLong,
                                                 Kind::Unprepare, Kind::Close));
    const auto sent = editor.backend.Sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].size(), 264u);
    EXPECT_EQ(sent[0], ExpectedToneDump(edited));
    EXPECT_EQ(std::vector<std::uint8_t>(editor.state.SysexMessage.begin(),
                                        editor.state.SysexMessage.end()),
              sent[0]);
    EXPECT_EQ(editor.backend.Events()[0].device, 0);
    EXPECT_TRUE(editor.platform.Messages().empty());
    EXPECT_EQ(editor.run.module1.ScratchRecord, edited);
}

TEST_F(SendPatch, RefusesARecordWithAnEntryNoDataByteCanCarry) {
    for (const std::int16_t bad : {std::int16_t{128}, std::int16_t{255}, std::int16_t{-1}}) {
        editor.platform.ClearRecords();
        editor.run.module1.ScratchRecord[17] = bad;
        editor.form.cmdSendOutSysex_Click();
        ASSERT_EQ(editor.platform.Messages().size(), 1u) << bad;
        EXPECT_EQ(editor.platform.Messages()[0].title, "Voxtane");
        EXPECT_THAT(editor.platform.Messages()[0].text,
                    HasSubstr("entry 17 holds " + std::to_string(bad)));
        EXPECT_TRUE(editor.backend.Events().empty()) << "nothing is opened for " << bad;
    }
}

TEST_F(SendPatch, EntriesUpTo127GoAsTheyAre) {
    editor.run.module1.ScratchRecord[1] = 127;
    editor.run.module1.ScratchRecord[256] = 0;
    editor.form.cmdSendOutSysex_Click();
    ASSERT_EQ(editor.backend.Sent().size(), 1u);
    EXPECT_EQ(editor.backend.Sent()[0][7], 127);
    EXPECT_EQ(editor.backend.Sent()[0][262], 0);
}

TEST_F(SendPatch, AFailedOpenShowsOneReportAndSendsAndClosesNothing) {
    editor.backend.FailCall(MidiCall::Open, midi::MMSYSERR_ALLOCATED, "JACK: synth:in is busy");
    editor.form.cmdSendOutSysex_Click();
    EXPECT_THAT(editor.MessageTexts(),
                ElementsAre("Operation: Open\r\nThe MIDI output device is in use by another "
                            "program (JACK: synth:in is busy)."));
    EXPECT_EQ(editor.platform.Messages()[0].title, "Voxtane");
    EXPECT_THAT(editor.EventKinds(), ElementsAre(Kind::Open));
    // The message was built before the open.
    EXPECT_EQ(editor.state.SysexMessage.size(), 264u);
}

TEST_F(SendPatch, EachFailingStepOfTheLongMessageIsReportedAndTheDeviceStillCloses) {
    struct Case {
        MidiCall call;
        midi::MMRESULT code;
        const char* text;
        std::vector<Kind> kinds;
    };
    const Case cases[] = {
        {MidiCall::Prepare,
         midi::MMSYSERR_NOMEM,
         "Prepare rc = 7",
         {Kind::Open, Kind::Prepare, Kind::Close}},
        {MidiCall::SendLong,
         midi::MIDIERR_NOTREADY,
         "Send Long Message rc= 67",
         {Kind::Open, Kind::Prepare, Kind::SendLong, Kind::Close}},
        {MidiCall::Unprepare,
         midi::MMSYSERR_INVALPARAM,
         "Unprepare rc= 11",
         {Kind::Open, Kind::Prepare, Kind::SendLong, Kind::Unprepare, Kind::Close}},
    };
    for (const Case& c : cases) {
        MidiEditor failing({"JACK: synth:in"});
        failing.StartChoosing(1);
        failing.backend.FailCall(c.call, c.code);
        failing.form.cmdSendOutSysex_Click();
        EXPECT_THAT(failing.MessageTexts(), ElementsAre(c.text));
        EXPECT_EQ(failing.platform.Messages()[0].title, "Voxtane");
        EXPECT_EQ(failing.EventKinds(), c.kinds) << c.text;
    }
}

TEST_F(SendPatch, AFailedCloseIsReportedAsClose) {
    editor.backend.FailCall(MidiCall::Close, midi::MIDIERR_STILLPLAYING, "JACK: no cycle ran");
    editor.form.cmdSendOutSysex_Click();
    EXPECT_THAT(editor.MessageTexts(),
                ElementsAre("Operation: Close\r\nThe MIDI system has not taken everything sent "
                            "yet (JACK: no cycle ran)."));
    EXPECT_EQ(editor.backend.Sent().size(), 1u);
}

TEST(DefaultOutput, IsMadeOnFirstUseAndStaysForLaterOperations) {
    MidiEditor editor;
    editor.Start();
    editor.form.cmdSendOutSysex_Click();
    editor.form.cmdPLayANot_Click();
    editor.LetNoteEnd();
    EXPECT_EQ(editor.backend.Count(Kind::CreateDefaultPort), 1u);
    EXPECT_EQ(editor.backend.Count(Kind::Open), 2u);
    EXPECT_EQ(editor.backend.Count(Kind::Close), 2u);
    EXPECT_EQ(editor.backend.Events().front().kind, Kind::CreateDefaultPort);
    EXPECT_TRUE(editor.platform.Messages().empty());
}

TEST(DefaultOutput, WhereNoneCanBeMadeTheReportAsksForADevice) {
    MidiEditor editor;
    editor.backend.WithoutDefaultOutput();
    editor.Start();
    editor.form.cmdSendOutSysex_Click();
    ASSERT_EQ(editor.platform.Messages().size(), 1u);
    EXPECT_THAT(editor.platform.Messages()[0].text,
                HasSubstr("Operation: Open\r\nThere is no default MIDI output here: choose a MIDI "
                          "output device"));
    EXPECT_TRUE(editor.backend.Events().empty());
}

}  // namespace
}  // namespace voxtane::testing
