// Decoding a whole record into the controls: shown values, messages, and the record left alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "handler_walk.h"
#include "test_support.h"

namespace voxtane::testing {
namespace {

using editor::Form1;

void Decode(StartedEditor& editor, const ToneRecord& record) {
    editor.module.ScratchRecord = record;
    editor.form.ParseSysex();
}

ToneRecord RandomNibbles(std::mt19937& random) {
    ToneRecord record{};
    for (int e = 1; e <= kToneEntries; ++e) record[e] = static_cast<std::int16_t>(random() % 16);
    return record;
}

std::set<int> Entries(int first, int last) {
    std::set<int> entries;
    for (int e = first; e <= last; ++e) entries.insert(e);
    return entries;
}

void ExpectOneParseMessage(const editor::ScriptedPlatform& platform, const std::string& text) {
    ASSERT_EQ(platform.Messages().size(), 1u) << text;
    const editor::MessageBoxRequest& message = platform.Messages()[0];
    EXPECT_EQ(message.text, text);
    EXPECT_EQ(message.title, "Error Parsing Sysex");
    EXPECT_EQ(message.icon, editor::MessageIcon::Critical);
    EXPECT_EQ(message.buttons, editor::MessageButtons::Ok);
}

// Each time one of the options' selection changes, how many messages had been shown.
void CountMessagesWhenSet(StartedEditor& editor, const std::vector<editor::OptionArray*>& options,
                          std::vector<std::size_t>& seen) {
    for (editor::OptionArray* o : options)
        o->observers.Add([&editor, &seen] { seen.push_back(editor.platform.Messages().size()); });
}

TEST(ParseSysex, LineSelectAndOctaveRangeComeFromEntryOne) {
    StartedEditor editor;
    Form1& form = editor.form;
    ToneRecord record = editor.module.ScratchRecord;
    record[1] = 6;
    Decode(editor, record);
    EXPECT_EQ(form.optLS.Selected(), 2);
    EXPECT_EQ(form.optOCTV.Selected(), 1);
    form.optLS.Click(0);
    EXPECT_EQ(editor.module.ScratchRecord[1], 4);
    EXPECT_TRUE(editor.platform.Messages().empty());

    form.optOCTV.Click(2);
    record[1] = 13;
    std::vector<std::size_t> seen;
    CountMessagesWhenSet(editor, {&form.optLS, &form.optOCTV}, seen);
    Decode(editor, record);
    EXPECT_EQ(seen, (std::vector<std::size_t>{0, 1}));  // line select shown before the message
    EXPECT_EQ(form.optLS.Selected(), 1);
    EXPECT_EQ(form.optOCTV.Selected(), 0);
    ExpectOneParseMessage(editor.platform, "Error in Octave Code, Octave = 0 assumed");
    form.optLS.Click(1);  // already shown, still encoded, with the assumed octave range
    EXPECT_EQ(editor.module.ScratchRecord[1], 1);
}

TEST(ParseSysex, DetuneSignFineOctaveNoteAndVibratoWave) {
    StartedEditor editor;
    Form1& form = editor.form;
    ToneRecord record = editor.module.ScratchRecord;
    // Any non-zero low entry is "-"; the high entry is not read.
    for (const auto& [low, high, sign] :
         std::initializer_list<std::array<int, 3>>{{5, 0, 1}, {0, 3, 0}, {1, 0, 1}}) {
        record[3] = static_cast<std::int16_t>(low);
        record[4] = static_cast<std::int16_t>(high);
        Decode(editor, record);
        EXPECT_EQ(form.optPDS.Selected(), sign) << low << " " << high;
    }
    WriteToneByte(record, 3, 68);
    Decode(editor, record);
    EXPECT_EQ(form.hsFine.Value(), 16);
    EXPECT_EQ(form.lblFine.Text(), "16");
    form.hsFine.SetValue(23);
    for (int unused : {64, 128, 192}) {
        WriteToneByte(record, 3, unused);
        Decode(editor, record);
        EXPECT_EQ(form.hsFine.Value(), 23) << unused;
        EXPECT_EQ(form.lblFine.Text(), "23");
    }
    WriteToneByte(record, 4, 47);
    Decode(editor, record);
    EXPECT_EQ(form.optOCT.Selected(), 3);
    EXPECT_EQ(form.lblNote.Text(), "11");
    form.optOCT.Click(1);  // combined with the decoded note
    EXPECT_EQ(ReadToneByte(editor.module.ScratchRecord, 4), 23);
    Decode(editor, record);
    form.HSNote.SetValue(2);  // combined with the decoded octave
    EXPECT_EQ(ReadToneByte(editor.module.ScratchRecord, 4), 38);

    form.optWave.Click(3);
    WriteToneByte(record, 5, 5);
    Decode(editor, record);
    EXPECT_EQ(form.optWave.Selected(), 3);
    EXPECT_TRUE(editor.platform.Messages().empty());
}

TEST(ParseSysex, EndStepErrorOfDcaTwoComesAfterTheOtherFiveEndSteps) {
    StartedEditor editor;
    Form1& form = editor.form;
    ToneRecord record = editor.module.ScratchRecord;
    for (int entry : {109, 75, 41, 223, 189}) record[entry] = 3;
    record[42] = 5;  // the high entry is not read
    record[155] = 8;
    const std::vector<editor::OptionArray*> ends{&form.optDCO1E, &form.optDCW1E, &form.optDCA1E,
                                                 &form.optDCO2E, &form.optDCW2E, &form.optDCA2E};
    for (editor::OptionArray* end : ends) end->Select(2);
    std::vector<std::size_t> seen;
    CountMessagesWhenSet(editor, ends, seen);
    Decode(editor, record);
    EXPECT_EQ(seen, (std::vector<std::size_t>{0, 0, 0, 0, 0, 1}));
    ExpectOneParseMessage(editor.platform, "Error in DCA 2 End Step Code, End Step = 8 assumed");
    EXPECT_EQ(form.optDCA2E.Selected(), 7);
    EXPECT_EQ(form.optDCA1E.Selected(), 3);
}

// Values a control cannot show are shown clamped and reported once; decoding goes on.
TEST(ParseSysex, ValuesOutsideAControlsRangeAreClampedAndReported) {
    struct Case {
        int entry;  // low entry of the byte written
        int byte;
        const char* control;
        int shown;
        const char* message;
    };
    const Case cases[] = {
        {7, 48, "optOCT", 3, "Error in Detune Octave Code, Octave = 3 assumed"},
        {7, 48, "HSNote", 0, "Error in Detune Octave Code, Octave = 3 assumed"},
        {37, 12, "hsDCW1Key", 9, "Error in DCW 1 Key Follow Code, Key Follow = 9 assumed"},
        {147, 10, "hsDCA2Key", 9, "Error in DCA 2 Key Follow Code, Key Follow = 9 assumed"},
        {11, 100, "hsDelay", 99, "Error in Vibrato Delay Code, Delay = 99 assumed"},
        {17, 255, "hsRate", 99, "Error in Vibrato Rate Code, Rate = 99 assumed"},
        {23, 150, "hsDepth", 99, "Error in Vibrato Depth Code, Depth = 99 assumed"},
        {29, 96 + 2, "optDCO1Waveform1", 0, "Error in DCO 1 Waveform 1 Code, Waveform = 1 assumed"},
        {29, 26, "optDCO1Waveform2", 0, "Error in DCO 1 Waveform 2 Code, Waveform = 1 assumed"},
        {109, 15, "optDCO1E", 7, "Error in DCO 1 End Step Code, End Step = 8 assumed"}};
    for (const Case& c : cases) {
        StartedEditor editor;
        Form1& form = editor.form;
        // Controls away from what the record holds, so that decoding has to set them.
        for (editor::OptionArray* o : {&form.optDCO1Waveform1, &form.optDCO1Waveform2,
                                       &form.optDCO1E, &form.optDCA2S, &form.optOCT})
            o->Select(2);
        form.HSNote.SetValue(5);
        ToneRecord record = editor.module.PatchBank[1];
        WriteToneByte(record, 94, 128 + 78);  // DCA 2 step 8: level 50 with sustain, decoded last
        WriteEntryPair(record, c.entry, c.byte);
        Decode(editor, record);
        ExpectOneParseMessage(editor.platform, c.message);
        const editor::ControlPointer control = form.Find(c.control)->control;
        const auto* const* o = std::get_if<editor::OptionArray*>(&control);
        const auto* const* b = std::get_if<editor::ScrollBar*>(&control);
        EXPECT_EQ(o ? (*o)->Selected() : (*b)->Value(), c.shown) << c.control;
        EXPECT_EQ(editor.module.ScratchRecord, record) << c.message;
        EXPECT_EQ(form.txtDCA2Lvl.Text(7), "50") << c.message;
        EXPECT_EQ(form.optDCA2S.Selected(), 7) << c.message;
    }
}

TEST(ParseSysex, DecodingNeverWritesTheRecord) {
    StartedEditor editor;
    std::mt19937 random(2024);
    for (int n = 0; n < 300; ++n) {
        ToneRecord record = RandomNibbles(random);
        // Some records hold whatever a file or a fill put into the entries.
        if (n % 3 == 2)
            for (int e = 1; e <= kToneEntries; ++e) record[e] = static_cast<std::int16_t>(random());
        Decode(editor, record);
        ASSERT_EQ(editor.module.ScratchRecord, record) << "record " << n;
        EXPECT_FALSE(editor.module.ParsingSysex);
        const int range = (record[1] & 12) / 4;
        EXPECT_EQ(editor.module.ScratchTone.lineSelect, record[1] & 3);
        EXPECT_EQ(editor.module.ScratchTone.octaveRange, range > 2 ? 0 : range);
    }
}

// One user edit of a control: the next option element, the next bar value, or another number.
void EditOnce(const editor::ControlPointer& control, int element) {
    if (auto* const* o = std::get_if<editor::OptionArray*>(&control))
        (*o)->Click(element >= 0 ? element : ((*o)->Selected() + 1) % (*o)->Count());
    if (auto* const* b = std::get_if<editor::ScrollBar*>(&control))
        (*b)->SetValue((*b)->Value() == (*b)->Max() ? 0 : (*b)->Value() + 1);
    if (auto* const* t = std::get_if<editor::TextBoxArray*>(&control))
        (*t)->SetText(element, (*t)->Text(element) == "7" ? "8" : "7");
}

TEST(ParseSysex, AfterADecodeOneEditWritesOnlyItsField) {
    StartedEditor editor;
    Form1& form = editor.form;
    struct Edit {
        editor::ControlPointer control;
        int element;
        std::set<int> field;
    };
    std::vector<Edit> edits;
    std::set<int> bothLines = Entries(29, 32);
    bothLines.merge(Entries(143, 146));
    const std::pair<const char*, std::set<int>> toneWide[] = {
        {"optLS", Entries(1, 2)},
        {"optOCTV", Entries(1, 2)},
        {"optPDS", Entries(3, 4)},
        {"hsFine", Entries(5, 6)},
        {"optOCT", Entries(7, 8)},
        {"HSNote", Entries(7, 8)},
        {"optWave", Entries(9, 10)},
        {"hsDelay", Entries(11, 16)},
        {"hsRate", Entries(17, 22)},
        {"hsDepth", Entries(23, 28)},
        {"optModulation", bothLines},
        {"optDCO1Waveform1", Entries(29, 32)},
        {"optDCO1Waveform2", Entries(29, 32)},
        {"optDCO2Waveform1", Entries(143, 146)},
        {"optDCO2Waveform2", Entries(143, 146)},
        {"hsDCA1Key", Entries(33, 36)},
        {"hsDCW1Key", Entries(37, 40)},
        {"hsDCA2Key", Entries(147, 150)},
        {"hsDCW2Key", Entries(151, 154)}};
    for (const auto& [name, field] : toneWide)
        edits.push_back({form.Find(name)->control, -1, field});
    for (int e = 0; e < kEnvelopeCount; ++e) {
        const EnvelopeSpec& envelope = kEnvelopes[e];
        editor::EnvelopeControls& env = form.envelopes[e];
        std::set<int> levels;
        for (int s = 1; s <= kEnvelopeSteps; ++s)
            levels.merge(Entries(envelope.LevelEntry(s), envelope.LevelEntry(s) + 1));
        edits.push_back({&env.end, -1, Entries(envelope.EndEntry(), envelope.EndEntry() + 1)});
        for (int i = 0; i < kEnvelopeSteps; ++i) {
            const int rate = envelope.RateEntry(i + 1);
            edits.push_back({&env.rate, i, Entries(rate, rate + 1)});
            // A level change also refreshes the rates of its step and of the next one.
            edits.push_back(
                {&env.level, i, Entries(rate, std::min(rate + 5, envelope.EndEntry() + 33))});
            edits.push_back({&env.sustain, i, levels});
        }
    }
    std::mt19937 random(99);
    for (int n = 0; n < 4; ++n) {
        const ToneRecord record = RandomNibbles(random);
        for (const Edit& edit : edits) {
            Decode(editor, record);
            EditOnce(edit.control, edit.element);
            for (int e = 1; e <= kToneEntries; ++e) {
                if (edit.field.count(e)) continue;
                ASSERT_EQ(editor.module.ScratchRecord[e], record[e])
                    << "entry " << e << " after an edit of the field from entry "
                    << *edit.field.begin() << ", element " << edit.element;
            }
        }
    }
}

void EditAtRandom(Form1& form, std::mt19937& random, int count) {
    const auto below = [&random](int n) { return static_cast<int>(random() % n); };
    for (int edit = 0; edit < count; ++edit) editor::MakeUserEdit(form, below);
}

TEST(ParseSysex, EditedRecordsDecodeAndReEncodeToTheSameBytes) {
    std::mt19937 random(5);
    for (int n = 0; n < 25; ++n) {
        StartedEditor editor;
        EditAtRandom(editor.form, random, 300);
        const ToneRecord edited = editor.module.ScratchRecord;
        for (int e = 1; e <= kToneEntries; ++e) ASSERT_TRUE(edited[e] >= 0 && edited[e] <= 15) << e;
        // Another patch shown first, so that decoding has to set every control.
        StartedEditor other;
        EditAtRandom(other.form, random, 300);
        Decode(other, edited);
        EXPECT_TRUE(other.platform.Messages().empty());
        editor::RaiseEveryHandler(other.form);
        EXPECT_EQ(ToneBytes(other.module.ScratchRecord), ToneBytes(edited)) << "run " << n;
    }
}

}  // namespace
}  // namespace voxtane::testing
