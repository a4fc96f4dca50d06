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
    EXPECT_EQ(editor.backend.Sent().back(), (Bytes{0x84, 0x3C, 0x7F})) << "note off on channel 5";

    editor.synth.SetBehaviour({5, SynthFault::Silent, 120});
    editor.form.cmdSendOutSysex_Click();
    editor.Settle();
    ASSERT_EQ(editor.Said().size(), 1u);
    EXPECT_THAT(editor.Said()[0], ::testing::HasSubstr("did not confirm"));
    EXPECT_THAT(editor.Said()[0], ::testing::HasSubstr("MIDI OUT"));
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

}  // namespace
}  // namespace voxtane::testing
