// EncodeTone against DecodeTone and against the window's handlers, over random records, tones
// and edits.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <type_traits>
#include <variant>

#include "editor/tone_display.h"
#include "test_support.h"
#include "tone/default_tone.h"
#include "tone/encode_tone.h"

namespace voxtane::testing {
namespace {

using Random = std::mt19937;

int Below(Random& random, int n) {
    return static_cast<int>(random() % static_cast<unsigned>(n));
}

// The resonance waveforms (6 to 8) share one code and differ by the line's one resonance type,
// so a line cannot hold two different ones.
bool RecordCanHold(const DecodedTone& tone) {
    for (const DecodedLine& line : tone.lines)
        if (line.waveform1 >= 6 && line.waveform2 >= 6 && line.waveform1 != line.waveform2)
            return false;
    return true;
}

// Any tone the controls can show that a record can hold.
DecodedTone RandomTone(Random& random) {
    const auto in = [&random](int count) { return Below(random, count); };
    DecodedTone t{in(4), in(3),   in(2),   in(61),  in(4), in(12),
                  in(4), in(100), in(100), in(100), in(3)};
    for (DecodedLine& line : t.lines) {
        line = {1 + in(8), 1 + in(8), in(10), in(10)};
        if (line.waveform1 >= 6 && line.waveform2 >= 6) line.waveform2 = line.waveform1;
    }
    for (DecodedEnvelope& envelope : t.envelopes) {
        for (EnvelopeStep& step : envelope.steps) step = {in(100), in(100)};
        envelope.sustainStep = in(kEnvelopeSteps);
        envelope.endStep = in(kEnvelopeSteps);
    }
    return t;
}

// Nibbles, or (kind 2) whatever a file or a fill can put into the entries.
ToneRecord RandomRecord(Random& random, int kind) {
    ToneRecord record{};
    for (int e = 1; e <= kToneEntries; ++e)
        record[e] = static_cast<std::int16_t>(kind == 2 ? random() : random() % 16);
    return record;
}

TEST(EncodeTone, EveryRecordComesBackFromItsDecodedTone) {
    Random random(20);
    for (int n = 0; n < 3000; ++n) {
        const int kind = n % 3;
        // Kind 0: a record the editor makes, with some of its parts odd.
        ToneRecord record = RandomRecord(random, kind);
        if (kind == 0) {
            const ToneRecord odd = record;
            record = EncodeWholeTone(RandomTone(random));
            for (int e = 1 + Below(random, 40); e <= kToneEntries; e += 1 + Below(random, 60))
                record[e] = odd[e];
        }
        const DecodedTone shownBefore = RandomTone(random);
        ASSERT_EQ(EncodeTone(DecodeTone(record, shownBefore).tone, record), record) << n;
    }
}

TEST(EncodeTone, TonesTheControlsCanShowComeBackWithoutMessages) {
    Random random(21);
    ToneRecord base = DefaultToneRecord();
    for (int n = 0; n < 3000; ++n) {
        const DecodedTone tone = n == 0 ? DefaultDecodedTone() : RandomTone(random);
        for (const ToneRecord& record : {EncodeTone(tone, base), EncodeWholeTone(tone)}) {
            const ToneDecoding decoding = DecodeTone(record, RandomTone(random));
            ASSERT_EQ(decoding.tone, tone) << n;
            EXPECT_TRUE(decoding.messages.empty()) << n;
            for (int e = 1; e <= kToneEntries; ++e) ASSERT_TRUE(record[e] >= 0 && record[e] <= 15);
        }
        base = EncodeTone(tone, base);
    }
}

// One edit a user can make: any option element (also the one selected), any bar value, and for a
// box mostly a number the editor writes, at times one it cannot show or no number at all.
void EditAtRandom(editor::ToneControls& controls, Random& random, bool onlyShowableTexts) {
    static const char* const kOddTexts[] = {"150", "-3", "2.5", "x", "", "99.4", "1e2"};
    std::vector<editor::ControlPointer> editable;
    for (const editor::NamedControl& named : controls.All())
        if (!std::holds_alternative<editor::Label*>(named.control))
            editable.push_back(named.control);
    std::visit(
        [&](auto* control) {
            using Control = std::remove_pointer_t<decltype(control)>;
            if constexpr (std::is_same_v<Control, editor::OptionArray>) {
                control->Click(Below(random, control->Count()));
            } else if constexpr (std::is_same_v<Control, editor::ScrollBar>) {
                control->SetValue(control->Min() +
                                  Below(random, control->Max() - control->Min() + 1));
            } else if constexpr (std::is_same_v<Control, editor::TextBoxArray>) {
                const bool odd = !onlyShowableTexts && Below(random, 5) == 0;
                control->SetText(
                    Below(random, control->Count()),
                    odd ? kOddTexts[Below(random, 7)] : std::to_string(Below(random, 100)));
            }
        },
        editable[Below(random, static_cast<int>(editable.size()))]);
}

// The handler of every edit writes what EncodeTone writes for the tone the controls show after
// it, from the record and the tone shown before it. On a record the editor did not make, an edit
// that changes no value (a click on the selected option) may rewrite its part: only edits that
// change a value are compared there. On a record the editor made, every edit writes what the
// record's decoded tone, changed as the edit changes it, encodes to.
TEST(EncodeTone, EveryEditOfTheWindowWritesWhatTheEncoderWrites) {
    Random random(22);
    for (int run = 0; run < 24; ++run) {
        StartedEditor editor;
        editor::Form1& form = editor.form;
        const bool oddRecord = run % 3 == 1;
        const bool showableTexts = run % 3 == 0;
        if (oddRecord || showableTexts) {
            editor.module.ScratchRecord = oddRecord ? RandomRecord(random, Below(random, 3))
                                                    : EncodeWholeTone(RandomTone(random));
            form.ParseSysex();
        }
        for (int n = 0; n < 400; ++n) {
            const ToneRecord record = editor.module.ScratchRecord;
            const DecodedTone before = editor::ShownTone(form);
            EditAtRandom(form, random, showableTexts);
            const DecodedTone after = editor::ShownTone(form);
            if (oddRecord && after == before) continue;
            ASSERT_EQ(editor.module.ScratchRecord, EncodeTone(after, record, before))
                << "run " << run << ", edit " << n;
            if (!showableTexts || !RecordCanHold(after)) continue;
            // What the controls show is then the record's decoding, and the record decodes to it.
            if (RecordCanHold(before)) {
                ASSERT_EQ(DecodeTone(record, DecodedTone{}).tone, before) << n;
            }
            ASSERT_EQ(editor.module.ScratchRecord, EncodeTone(after, record)) << n;
            ASSERT_EQ(DecodeTone(editor.module.ScratchRecord, DecodedTone{}).tone, after) << n;
        }
        // The default tone then writes every part; the modulation is the one option it leaves.
        form.SetDefaults2();
        DecodedTone expected = DefaultDecodedTone();
        expected.modulation = form.optModulation.Selected();
        EXPECT_EQ(editor::ShownTone(form), expected);
        EXPECT_EQ(editor.module.ScratchRecord, EncodeWholeTone(expected)) << run;
    }
}

}  // namespace
}  // namespace voxtane::testing
