// Writing into the synth's memories while Compare shows the reference: the edit is written.
#include <gtest/gtest.h>

#include "exchange_test_support.h"
#include "midi_test_support.h"
#include "synth_responder.h"

namespace voxtane::testing {
namespace {

using namespace std::chrono_literals;
using midi::SynthMemory;

constexpr const char* kInput = "JACK: synth:out";

struct WritingEditor : MidiEditor {
    WritingEditor() : MidiEditor({"JACK: synth:in"}) {
        backend.SetInputs({kInput}, [this](std::span<const std::uint8_t> sent) {
            std::vector<std::uint8_t> answer;
            for (std::uint8_t byte : sent) synth.Feed(byte, answer);
            return answer.empty() ? std::vector<Bytes>{} : std::vector<Bytes>{answer};
        });
        StartChoosing(1);
        run.synthLink.ApplySettings({kInput, 1, false});
    }
    void Settle() {
        for (int i = 0; i < 2000 && run.manualTicker.Running(); ++i) {
            clock.SleepFor(5ms);
            run.manualTicker.Tick();
        }
    }
    SynthResponder synth;
};

TEST(SynthLink, WritesTheEditedToneNotTheOneCompareShows) {
    for (const bool bank : {false, true}) {
        WritingEditor editor;
        editor.form.cboPatches.SetListIndex(2);
        editor.form.hsDepth.SetValue(61);
        const ToneRecord edited = editor.run.module1.ScratchRecord;
        editor.run.compare.SetComparing(true);
        if (bank)
            editor.run.synthLink.WriteBankConfirmed();
        else
            editor.run.synthLink.WritePatchTo(3);
        EXPECT_FALSE(editor.run.compare.Comparing()) << bank;
        editor.Settle();
        EXPECT_EQ(editor.synth.Stored(SynthMemory::Internal(3)), edited) << bank;
    }
}

}  // namespace
}  // namespace voxtane::testing
