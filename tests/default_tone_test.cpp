#include <gtest/gtest.h>

#include "editor/tone_display.h"
#include "test_support.h"
#include "tone/default_tone.h"

namespace voxtane::testing {
namespace {

// The default tone as tone bytes 1 to 128.
std::vector<int> ExpectedDefaultTone() {
    std::vector<int> b = {2, 0, 0, 0, 8, 0, 0, 0, 0, 32, 0, 0, 1, 0};
    const auto appendLine = [&b] {
        b.insert(b.end(), {2, 0});              // waveform and resonance
        b.insert(b.end(), {0, 0, 0, 0});        // DCA and DCW key follow
        b.push_back(7);                         // DCA end step
        b.insert(b.end(), {119, 255, 188, 0});  // DCA steps 1 and 2
        for (int i = 0; i < 6; ++i) b.insert(b.end(), {60, 0});
        b.push_back(7);  // DCW end step
        b.insert(b.end(), {127, 255, 196, 0});
        for (int i = 0; i < 6; ++i) b.insert(b.end(), {68, 0});
        b.push_back(7);  // DCO end step
        b.insert(b.end(), {64, 128});
        for (int i = 0; i < 7; ++i) b.insert(b.end(), {64, 0});
    };
    appendLine();
    appendLine();
    return b;
}

TEST(DefaultTone, StartUpEncodesTheDefaultToneIntoEverySlot) {
    StartedEditor editor;
    const auto expected = ExpectedDefaultTone();
    ASSERT_EQ(expected.size(), 128u);
    EXPECT_EQ(ToneBytes(DefaultToneRecord()), expected);
    EXPECT_EQ(editor.module.ScratchRecord, DefaultToneRecord());
    // What the controls are designed with is the default tone as shown.
    EXPECT_EQ(editor::ShownTone(editor::ToneControls{}), DefaultDecodedTone());
    EXPECT_EQ(editor::ShownTone(editor.form), DefaultDecodedTone());
    for (int slot = 0; slot <= kBankSlots; ++slot)
        EXPECT_EQ(ToneBytes(editor.module.PatchBank[slot]), expected) << "slot " << slot;
    for (int e = 1; e <= kToneEntries; ++e) {
        EXPECT_GE(editor.module.ScratchRecord[e], 0);
        EXPECT_LE(editor.module.ScratchRecord[e], 15);
    }
}

}  // namespace
}  // namespace voxtane::testing
