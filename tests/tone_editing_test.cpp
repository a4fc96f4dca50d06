// Line select, octave range, detune, vibrato and key follow, edited through their controls.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "test_support.h"
#include "tone/tone_codes.h"

namespace voxtane::testing {
namespace {

// True when no entry outside first..last differs.
bool OnlyChanged(const ToneRecord& before, const ToneRecord& after, int first, int last) {
    for (int e = 1; e <= kToneEntries; ++e)
        if ((e < first || e > last) && before[e] != after[e]) return false;
    return true;
}

std::vector<int> Entries(const ToneRecord& record, int first, int count) {
    return std::vector<int>(&record[first], &record[first + count]);
}

// Each of these writes what EncodeTone writes (encode_tone_test); here the bytes themselves.
TEST(LineSelectAndOctaveRange, EveryClickCombinesWithTheOtherControlsSelection) {
    StartedEditor editor;
    editor::Form1& form = editor.form;
    const ToneRecord& record = editor.module.ScratchRecord;
    form.optOCTV.Click(1);
    form.optLS.Click(3);
    EXPECT_EQ(Entries(record, 1, 2), (std::vector<int>{7, 0}));
    form.optOCTV.Click(2);
    EXPECT_EQ(record[1], 11);
    form.optLS.Click(0);
    EXPECT_EQ(Entries(record, 1, 2), (std::vector<int>{8, 0}));
}

TEST(DetuneSignAndVibratoWave, OptionsWriteTheirCodes) {
    StartedEditor editor;
    editor::Form1& form = editor.form;
    const ToneRecord& record = editor.module.ScratchRecord;
    form.optPDS.Click(1);
    EXPECT_EQ(Entries(record, 3, 2), (std::vector<int>{1, 0}));
    form.optPDS.Click(0);
    EXPECT_EQ(Entries(record, 3, 2), (std::vector<int>{0, 0}));
    form.optWave.Click(2);
    EXPECT_EQ(Entries(record, 9, 2), (std::vector<int>{0, 2}));
    form.optWave.Click(3);
    EXPECT_EQ(Entries(record, 9, 2), (std::vector<int>{2, 0}));
    form.optWave.Click(1);
    EXPECT_EQ(ReadToneByte(record, 5), 4);
    form.optWave.Click(0);
    EXPECT_EQ(ReadToneByte(record, 5), 8);
}

TEST(FineDetune, EverySliderValueWritesItsByteAndLabel) {
    StartedEditor editor;
    editor::Form1& form = editor.form;
    const ToneRecord& record = editor.module.ScratchRecord;
    for (int f = 60; f >= 0; --f) {
        const ToneRecord before = record;
        form.hsFine.SetValue(f);
        const int skipped = (f >= 16) + (f >= 31) + (f >= 46);
        EXPECT_EQ(ReadToneByte(record, 3), 4 * (f + skipped)) << f;
        EXPECT_EQ(form.lblFine.Text(), std::to_string(f));
        EXPECT_TRUE(OnlyChanged(before, record, 5, 6)) << f;
    }
}

TEST(DetuneOctaveAndNote, EitherControlWritesTwelveTimesOctavePlusNote) {
    StartedEditor editor;
    editor::Form1& form = editor.form;
    const ToneRecord& record = editor.module.ScratchRecord;
    form.HSNote.SetValue(5);
    form.optOCT.Click(2);
    EXPECT_EQ(Entries(record, 7, 2), (std::vector<int>{13, 1}));
    form.optOCT.Click(3);
    form.HSNote.SetValue(11);
    EXPECT_EQ(Entries(record, 7, 2), (std::vector<int>{15, 2}));
    EXPECT_EQ(form.lblNote.Text(), "11");
}

TEST(VibratoValues, EveryValueWritesItselfAndItsCoefficient) {
    StartedEditor editor;
    editor::Form1& form = editor.form;
    const ToneRecord& record = editor.module.ScratchRecord;
    struct Bar {
        editor::ScrollBar& bar;
        const editor::Label& label;
        int valueByte;
        std::function<Coefficient(int)> coefficient;
    };
    const Bar bars[] = {
        {form.hsDelay, form.lblDelay, 6, VibratoDelayCoefficient},
        {form.hsRate, form.lblRate, 9, [](int r) { return VibratoRateCoefficient(r); }},
        {form.hsDepth, form.lblDepth, 12, VibratoDepthCoefficient}};
    for (const Bar& b : bars) {
        for (int step = 1; step <= 100; ++step) {
            const int v = step % 100;  // 1 to 99, then back to 0
            const ToneRecord before = record;
            b.bar.SetValue(v);
            EXPECT_EQ(ReadToneByte(record, b.valueByte), v);
            EXPECT_EQ(ReadToneByte(record, b.valueByte + 1), b.coefficient(v).low) << v;
            EXPECT_EQ(ReadToneByte(record, b.valueByte + 2), b.coefficient(v).high) << v;
            EXPECT_EQ(b.label.Text(), std::to_string(v));
            EXPECT_TRUE(OnlyChanged(before, record, 2 * b.valueByte - 1, 2 * b.valueByte + 4)) << v;
        }
    }
    form.hsDelay.SetValue(80);
    EXPECT_EQ(Entries(record, 11, 6), (std::vector<int>{0, 5, 15, 0, 1, 0}));
    form.hsDelay.SetValue(99);
    EXPECT_EQ(Entries(record, 11, 6), (std::vector<int>{3, 6, 15, 7, 2, 0}));
    form.hsRate.SetValue(99);
    EXPECT_EQ(Entries(record, 21, 2), (std::vector<int>{3, 5}));
}

TEST(KeyFollow, EachBarWritesItsValueAndCodeForItsLine) {
    StartedEditor editor;
    editor::Form1& form = editor.form;
    const ToneRecord& record = editor.module.ScratchRecord;
    const std::array<int, 10> dca{0, 8, 17, 26, 36, 47, 58, 69, 82, 95};
    const std::array<int, 10> dcw{0, 31, 44, 57, 70, 83, 96, 110, 146, 255};
    struct Bar {
        editor::ScrollBar& bar;
        const editor::Label& label;
        int valueEntry;
        const std::array<int, 10>& codes;
    };
    const Bar bars[] = {{form.hsDCA1Key, form.lblDCA1Key, 33, dca},
                        {form.hsDCW1Key, form.lblDCW1Key, 37, dcw},
                        {form.hsDCA2Key, form.lblDCA2Key, 147, dca},
                        {form.hsDCW2Key, form.lblDCW2Key, 151, dcw}};
    for (const Bar& b : bars) {
        for (int step = 1; step <= 10; ++step) {
            const int v = step % 10;
            const ToneRecord before = record;
            b.bar.SetValue(v);
            EXPECT_EQ(ReadEntryPair(record, b.valueEntry), v);
            EXPECT_EQ(ReadEntryPair(record, b.valueEntry + 2), b.codes[v])
                << b.valueEntry << " " << v;
            EXPECT_EQ(b.label.Text(), std::to_string(v));
            EXPECT_TRUE(OnlyChanged(before, record, b.valueEntry, b.valueEntry + 3));
        }
    }
    form.hsDCA1Key.SetValue(9);
    EXPECT_EQ(Entries(record, 33, 4), (std::vector<int>{9, 0, 15, 5}));
    form.hsDCW2Key.SetValue(9);
    EXPECT_EQ(Entries(record, 151, 4), (std::vector<int>{9, 0, 15, 15}));
}

}  // namespace
}  // namespace voxtane::testing
