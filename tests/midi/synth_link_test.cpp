// The editor's link with the synth, on the recording backend with a responder standing in for
// the synth: what the Synth menu and "Send Patch" do to the bank, the controls and the synth.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/tone_display.h"
#include "exchange_test_support.h"
#include "midi/synth_messages.h"
#include "midi_test_support.h"
#include "synth_responder.h"

namespace voxtane::testing {
namespace {

using namespace std::chrono_literals;
using midi::SynthMemory;

constexpr const char* kInput = "JACK: synth:out";

struct LinkedEditor : MidiEditor {
    explicit LinkedEditor(int channel = 1) : MidiEditor({"JACK: synth:in"}) {
        backend.SetInputs({kInput}, [this](std::span<const std::uint8_t> sent) {
            std::vector<std::uint8_t> answer;
            for (std::uint8_t byte : sent) synth.Feed(byte, answer);
            return answer.empty() ? std::vector<Bytes>{} : std::vector<Bytes>{answer};
        });
        StartChoosing(1);
        link.ApplySettings({kInput, channel, false});
        for (int n = 1; n <= 16; ++n) {
            synth.Store(SynthMemory::Internal(n), TestTone(n));
            synth.Store(SynthMemory::Preset(n), TestTone(100 + n));
            synth.Store(SynthMemory::Cartridge(n), TestTone(200 + n));
        }
        synth.Store(SynthMemory::Current(), TestTone(300));
    }
    // Lets the ticker run, as the window's event loop does, until the link is idle.
    void Settle() {
        for (int i = 0; i < 2000 && run.manualTicker.Running(); ++i) {
            clock.SleepFor(5ms);
            run.manualTicker.Tick();
        }
    }
    // What the link said in message boxes (decoding notes of the test's tones aside).
    [[nodiscard]] std::vector<std::string> Said() const {
        std::vector<std::string> texts;
        for (const auto& message : platform.Messages())
            if (message.title == "Voxtane") texts.push_back(message.text);
        return texts;
    }
    [[nodiscard]] std::vector<ToneRecord> Bank() const {
        return {run.module1.PatchBank.begin() + 1, run.module1.PatchBank.end()};
    }

    SynthResponder synth;
    editor::SynthLink& link = run.synthLink;
};

TEST(SynthLink, GetPatchTakesTheToneOfEveryKindOfMemoryAsAnEditOfTheCurrentPatch) {
    for (const SynthMemory memory : {SynthMemory::Current(), SynthMemory::Preset(3),
                                     SynthMemory::Internal(16), SynthMemory::Cartridge(1)}) {
        LinkedEditor editor;
        editor.form.cboPatches.SetListIndex(4);
        editor.link.GetPatchFrom(memory);
        editor.Settle();
        EXPECT_EQ(editor.run.module1.ScratchRecord, editor.synth.Stored(memory));
        EXPECT_EQ(editor.form.txtDCA1Rate.Text(0),
                  std::to_string(editor::ShownTone(editor.form).envelopes[kDCA1].steps[0].rate));
        EXPECT_THAT(editor.link.Status(), ::testing::HasSubstr("Got"));
        EXPECT_TRUE(editor.Said().empty()) << editor.Said().front();
    }
}

TEST(SynthLink, GetBankFillsPatchesOneToSixteenWithTheInternalMemories) {
    for (const bool keepNames : {false, true}) {
        LinkedEditor editor;
        editor.form.cboPatches.SetListIndex(2);
        editor.run.module1.PatchCount = 3;
        editor.link.GetBankNamed(keepNames);
        ASSERT_TRUE(editor.link.Progress().has_value());
        editor.Settle();
        for (int n = 1; n <= 16; ++n)
            EXPECT_EQ(editor.run.module1.PatchBank[n], TestTone(n)) << "patch " << n;
        EXPECT_EQ(editor.run.module1.ScratchRecord, TestTone(3)) << "the current patch shows";
        EXPECT_EQ(editor.run.module1.PatchCount, 16);
        EXPECT_EQ(editor.form.cboPatches.List(15), keepNames ? "Patch_16" : "Internal 16");
    }
}

TEST(SynthLink, AFailedOrCancelledExchangeChangesNothingAndSaysWhy) {
    struct Case {
        const char* name;
        SynthFault fault;
        int synthChannel;
        const char* said;
    };
    const Case cases[] = {
        {"silent", SynthFault::Silent, 1, "no answer from the synth to the request for"},
        {"stops", SynthFault::StopAfterAcknowledgement, 1, "stopped after acknowledging"},
        {"short", SynthFault::ShortAnswer, 1, "short answer: 120 of 256"},
        {"other channel", SynthFault::None, 2, "no answer"},
    };
    for (const Case& c : cases) {
        for (const bool bank : {false, true}) {
            LinkedEditor editor;
            editor.synth.SetBehaviour({c.synthChannel, c.fault, 120});
            const std::vector<ToneRecord> before = editor.Bank();
            const ToneRecord shown = editor.run.module1.ScratchRecord;
            if (bank)
                editor.link.GetBankNamed(false);
            else
                editor.link.GetPatchFrom(SynthMemory::Internal(2));
            editor.Settle();
            EXPECT_EQ(editor.Bank(), before) << c.name;
            EXPECT_EQ(editor.run.module1.ScratchRecord, shown) << c.name;
            ASSERT_EQ(editor.Said().size(), 1u) << c.name;
            EXPECT_THAT(editor.Said()[0], ::testing::HasSubstr(c.said)) << c.name;
            EXPECT_THAT(editor.Said()[0], ::testing::HasSubstr("internal memory"));
        }
    }
    LinkedEditor cancelled;
    const std::vector<ToneRecord> before = cancelled.Bank();
    cancelled.link.GetBankNamed(false);
    for (int i = 0; i < 3; ++i) cancelled.run.manualTicker.Tick();
    cancelled.link.Cancel();
    EXPECT_FALSE(cancelled.link.Busy());
    EXPECT_EQ(cancelled.Bank(), before);
    EXPECT_THAT(cancelled.link.Status(), ::testing::HasSubstr("cancelled"));
}

TEST(SynthLink, WritesGoIntoTheSynthsMemoriesAfterTheOwnerAgrees) {
    LinkedEditor editor;
    editor.form.hsFine.SetValue(33);
    editor.platform.QueueItemChoice(6);
    editor.platform.QueueAnswer(editor::MessageAnswer::Yes);
    editor.link.WritePatch();
    editor.Settle();
    EXPECT_EQ(editor.synth.Stored(SynthMemory::Internal(7)), editor.run.module1.ScratchRecord);
    EXPECT_THAT(editor.link.Status(), ::testing::HasSubstr("confirmed"));

    editor.platform.QueueAnswer(editor::MessageAnswer::No);
    editor.link.WriteBank();
    EXPECT_FALSE(editor.link.Busy()) << "No writes nothing";
    editor.link.WriteBankConfirmed();
    editor.Settle();
    const editor::BankTones tones = editor.run.tones.Tones();
    for (int n = 1; n <= 16; ++n)
        EXPECT_EQ(editor.synth.Stored(SynthMemory::Internal(n)), tones[n - 1]) << n;
}

TEST(SynthLink, SendPatchOnItsChannelIsConfirmedByTheSynth) {
    LinkedEditor editor(5);
    editor.synth.SetBehaviour({5, SynthFault::None, 120});
    editor.form.cmdSendOutSysex_Click();
    editor.Settle();
    const auto sent = editor.backend.Sent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back()[4], 0x74) << "the dump's channel byte";
    EXPECT_EQ(editor.synth.Stored(SynthMemory::Current()), editor.run.module1.ScratchRecord);
    EXPECT_EQ(editor.link.Status(), "The synth took the tone.");

    editor.form.cmdPLayANot_Click();
    editor.LetNoteEnd();
    EXPECT_EQ(editor.backend.Sent().back(), (Bytes{0x84, 0x3C, 0x7F})) << "note off on channel 5";

    editor.synth.SetBehaviour({5, SynthFault::Silent, 120});
    editor.form.cmdSendOutSysex_Click();
    editor.Settle();
    ASSERT_EQ(editor.Said().size(), 1u);
    EXPECT_THAT(editor.Said()[0], ::testing::HasSubstr("did not confirm"));
    EXPECT_THAT(editor.Said()[0], ::testing::HasSubstr("MIDI OUT"));
}

// During a fetch that the synth never answers, every other sender is held or refused; what was
// held goes once the fetch has failed.
TEST(SynthLink, WhileAnExchangeRunsItAloneSendsAndWhatWaitedGoesAfterIt) {
    LinkedEditor editor;
    editor.link.SetSendWhileEditing(true);
    editor.Settle();
    editor.synth.SetBehaviour({1, SynthFault::Silent, 120});
    editor.form.cmdPLayANot_Click();
    auto sentFrom = [&](std::size_t first) {
        const auto sent = editor.backend.Sent();
        return std::vector<Bytes>(sent.begin() + static_cast<std::ptrdiff_t>(first), sent.end());
    };
    const std::size_t before = editor.backend.Sent().size();
    editor.link.GetPatchFrom(SynthMemory::Internal(2));
    EXPECT_THAT(
        sentFrom(before - 1),
        ::testing::ElementsAre(Bytes{0x90, 0x3C, 0x7F}, Bytes{0x80, 0x3C, 0x7F},
                               AsBytes(midi::BuildFetchRequest(1, SynthMemory::Internal(2)))))
        << "the sounding note ends before the request";

    editor.form.hsFine.SetValue(41);
    editor.run.manualTicker.Tick();
    editor.form.cmdSendOutSysex_Click();
    EXPECT_THAT(editor.link.Status(), ::testing::HasSubstr("Send Patch was not sent"));
    editor.form.cmdPLayANot_Click();
    EXPECT_THAT(editor.link.Status(), ::testing::HasSubstr("Play Note was not sent"));
    editor.link.AllNotesOff();
    EXPECT_EQ(editor.backend.Sent().size(), before + 2) << "nothing but the fetch's request";
    // The fetch asks again as a whole message, then fails; what waited goes after it.
    while (editor.run.manualTicker.Running() && editor.Said().empty()) {
        editor.clock.SleepFor(5ms);
        editor.run.manualTicker.Tick();
    }
    ASSERT_EQ(editor.Said().size(), 1u);
    EXPECT_THAT(editor.Said()[0], ::testing::HasSubstr("no answer"));
    editor.Settle();
    EXPECT_THAT(sentFrom(before + 2),
                ::testing::ElementsAre(
                    Bytes{0xF7}, AsBytes(midi::BuildWholeFetchRequest(1, SynthMemory::Internal(2))),
                    Bytes{0xB0, 0x7B, 0x00},
                    AsBytes(midi::BuildToneWrite(1, SynthMemory::Current(),
                                                 editor.run.module1.ScratchRecord))))
        << "then All Notes Off and the last state of the edits";
}

TEST(SynthLink, TheFetchFormTheSynthAnsweredIsKeptForTheNextRun) {
    LinkedEditor editor;
    editor.synth.SetBehaviour({1, SynthFault::WholeRequestsOnly, 120});
    editor.link.GetPatchFrom(SynthMemory::Internal(2));
    editor.Settle();
    EXPECT_EQ(editor.run.module1.ScratchRecord, TestTone(2));
    EXPECT_EQ(editor.run.settings.Read("link/fetchForm"), "whole");

    editor::EditorRun next(editor.platform, editor.backend, editor.window, editor.clock, nullptr,
                           &editor.run.settings);
    next.Start();
    next.midi.vbsyxgbl.MidiDeviceChoice = midi::MidiOutputChoice::Entry(1);
    const std::size_t before = editor.backend.Sent().size();
    next.synthLink.GetPatchFrom(SynthMemory::Internal(5));
    ASSERT_GT(editor.backend.Sent().size(), before);
    EXPECT_EQ(editor.backend.Sent()[before],
              AsBytes(midi::BuildWholeFetchRequest(1, SynthMemory::Internal(5))));
    for (int i = 0; i < 10 && next.manualTicker.Running(); ++i) next.manualTicker.Tick();
    EXPECT_EQ(next.module1.ScratchRecord, TestTone(5));
}

TEST(SynthLink, SendPatchWaitsASecondForItsConfirmationFromWhenTheDumpHasLeft) {
    LinkedEditor editor;
    editor.backend.SetInputs({kInput});  // the synth answers late, by hand
    editor.backend.OnOpen([&] { editor.clock.SleepFor(800ms); });
    editor.form.cmdSendOutSysex_Click();
    for (int i = 0; i < 190; ++i) {
        editor.clock.SleepFor(5ms);
        editor.run.manualTicker.Tick();
    }
    editor.backend.Arrive(WriteConfirmation(1));
    editor.Settle();
    EXPECT_EQ(editor.link.Status(), "The synth took the tone.");
    EXPECT_TRUE(editor.Said().empty()) << editor.Said().front();
}

TEST(SynthLink, WritesAreConfirmedInEveryFormAndACancelledBankSaysWhatWasWritten) {
    for (const SynthConfirmation form : {SynthConfirmation::Close, SynthConfirmation::GoAheadClose,
                                         SynthConfirmation::GoAheadMessage}) {
        LinkedEditor editor;
        editor.synth.SetBehaviour({1, SynthFault::None, 120, form});
        editor.link.WritePatchTo(4);
        editor.Settle();
        EXPECT_THAT(editor.link.Status(), ::testing::HasSubstr("confirmed"));
        EXPECT_TRUE(editor.Said().empty()) << editor.Said().front();
    }
    LinkedEditor editor;
    editor.link.WriteBankConfirmed();
    for (int i = 0; i < 100 && editor.link.Progress()->done < 3; ++i)
        editor.run.manualTicker.Tick();
    editor.link.Cancel();
    EXPECT_EQ(editor.link.Status(),
              "Write Bank to Memory was cancelled: internal memories 1 to 3 were written, and "
              "internal memory 4 may have taken its tone.");
}

TEST(SynthLink, SendWhileEditingSendsTheLastStateOfABurstOneDumpAtATime) {
    LinkedEditor editor;
    editor.link.SetSendWhileEditing(true);
    const std::size_t before = editor.backend.Sent().size();
    std::vector<midi::Clock::TimePoint> sentAt;
    editor.backend.SetInputs({kInput}, [&](std::span<const std::uint8_t> sent) {
        if (sent.size() == midi::BuildToneWrite(1, SynthMemory::Current(), {}).size())
            sentAt.push_back(editor.clock.Now());
        return std::vector<Bytes>{};
    });
    for (int i = 0; i < 50; ++i) {
        editor.form.hsDelay.SetValue(i + 1);
        editor.clock.SleepFor(3ms);
        editor.run.manualTicker.Tick();
    }
    editor.Settle();
    const auto sent = editor.backend.Sent();
    ASSERT_GT(sent.size(), before);
    EXPECT_EQ(sent.back(), AsBytes(midi::BuildToneWrite(1, SynthMemory::Current(),
                                                        editor.run.module1.ScratchRecord)));
    EXPECT_LT(sent.size() - before, 50u / 2) << "a burst is coalesced";
    for (std::size_t i = 1; i < sentAt.size(); ++i)
        EXPECT_GE(sentAt[i] - sentAt[i - 1], 100ms) << "dump " << i;
}

// Auditioning goes to the temporary area as edits do, whether Send While Editing is on or not:
// a burst coalesced to the last tone, and held while an exchange owns the output.
TEST(SynthLink, AuditionsGoToTheTemporaryAreaCoalescedAndWaitForAnExchange) {
    LinkedEditor editor(5);
    const auto dump = [](const ToneRecord& tone) {
        return AsBytes(midi::BuildToneWrite(5, SynthMemory::Current(), tone));
    };
    std::size_t before = editor.backend.Sent().size();
    for (int i = 0; i < 30; ++i) {
        editor.link.AuditionOnSynth(TestTone(i));
        editor.clock.SleepFor(3ms);
        editor.run.manualTicker.Tick();
    }
    editor.Settle();
    auto sent = editor.backend.Sent();
    ASSERT_GT(sent.size(), before);
    EXPECT_EQ(sent.back(), dump(TestTone(29))) << "the last tone always goes";
    EXPECT_LT(sent.size() - before, 30u / 2) << "a burst is coalesced";
    for (std::size_t i = before; i < sent.size(); ++i)
        EXPECT_EQ(sent[i].size(), dump(TestTone(0)).size()) << "only tone dumps: no memory written";

    editor.synth.SetBehaviour({1, SynthFault::Silent, 120});
    editor.link.GetPatchFrom(SynthMemory::Internal(2));
    before = editor.backend.Sent().size();
    editor.link.AuditionOnSynth(TestTone(40));
    editor.link.AuditionOnSynth(TestTone(41));
    EXPECT_EQ(editor.backend.Sent().size(), before) << "the exchange owns the output";
    while (editor.run.manualTicker.Running() && editor.Said().empty()) {
        editor.clock.SleepFor(5ms);
        editor.run.manualTicker.Tick();
    }
    editor.Settle();
    sent = editor.backend.Sent();
    EXPECT_EQ(sent.back(), dump(TestTone(41)));
    EXPECT_EQ(std::count(sent.begin() + static_cast<std::ptrdiff_t>(before), sent.end(),
                         dump(TestTone(40))),
              0)
        << "only the last tone that waited goes";
}

}  // namespace
}  // namespace voxtane::testing
