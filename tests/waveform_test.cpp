// Waveform and modulation options of both lines, encoded by their clicks and decoded with the tone.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "test_support.h"

namespace voxtane::testing {
namespace {

std::vector<int> Entries(const ToneRecord& record, int first, int count) {
    return std::vector<int>(&record[first], &record[first + count]);
}

TEST(WaveformEncoding, Examples) {
    StartedEditor editor;
    editor::Form1& form = editor.form;
    ToneRecord& record = editor.module.ScratchRecord;
    form.optDCO1Waveform1.Click(1);  // square, resonance II, ring
    form.optDCO1Waveform2.Click(6);
    form.optModulation.Click(1);
    EXPECT_EQ(Entries(record, 29, 4), (std::vector<int>{10, 3, 0, 10}));
    form.optDCO2Waveform1.Click(2);  // pulse, double sine
    form.optDCO2Waveform2.Click(3);
    EXPECT_EQ(Entries(record, 143, 4), (std::vector<int>{2, 5, 0, 0}));
    form.optDCO1Waveform1.Click(7);  // resonance III, saw-pulse, noise
    form.optDCO1Waveform2.Click(4);
    form.optModulation.Click(2);
    EXPECT_EQ(ReadEntryPair(record, 29), 214);
    EXPECT_EQ(ReadEntryPair(record, 31), 216);
    // A modulation click rewrites line 2 as well, without any modulation bit.
    WriteEntryPair(record, 143, 99);
    WriteEntryPair(record, 145, 255);
    form.optModulation.Click(1);
    EXPECT_EQ(ReadEntryPair(record, 143), 82);
    EXPECT_EQ(ReadEntryPair(record, 145), 0);
    EXPECT_EQ(ReadEntryPair(record, 31), 192 + 32);
}

// Every selection that can be written decodes back to itself, except that two resonance
// waveforms of different types both show the type of the second.
TEST(WaveformEncoding, EveryCombinationOfBothLinesComesBackFromDecoding) {
    // By option element: the waveform's 3-bit code and, for the resonance waveforms, their type.
    constexpr std::array<int, 8> kCode{0, 1, 2, 4, 5, 6, 6, 6};
    constexpr std::array<int, 8> kType{0, 0, 0, 0, 0, 1, 2, 3};
    constexpr std::array<int, 3> kModulationBits{0, 32, 24};
    StartedEditor editor;
    editor::Form1& form = editor.form;
    ToneRecord& record = editor.module.ScratchRecord;
    struct Line {
        int line;
        editor::OptionArray& first;
        editor::OptionArray& second;
        int entry;  // of the waveform byte; the resonance byte follows
    };
    for (const Line& line : {Line{1, form.optDCO1Waveform1, form.optDCO1Waveform2, 29},
                             Line{2, form.optDCO2Waveform1, form.optDCO2Waveform2, 143}}) {
        for (int f = 0; f < 8; ++f) {
            for (int s = 0; s < 8; ++s) {
                for (int m = 0; m < 3; ++m) {
                    line.first.Click(f);
                    line.second.Click(s);
                    form.optModulation.Click(m);
                    const int type = kType[s] != 0 ? kType[s] : kType[f];
                    const int modulation = line.line == 1 ? kModulationBits[m] : 0;
                    ASSERT_EQ(ReadEntryPair(record, line.entry), 32 * kCode[f] + 4 * kCode[s] + 2);
                    ASSERT_EQ(ReadEntryPair(record, line.entry + 2), 64 * type + modulation)
                        << line.line << " " << f << " " << s << " " << m;

                    // Other selections shown, the record kept: decoding must restore them.
                    const ToneRecord encoded = record;
                    line.first.Select((f + 1) % 8);
                    line.second.Select((s + 1) % 8);
                    form.optModulation.Select((m + 1) % 3);
                    record = encoded;
                    form.ParseSysex();
                    ASSERT_EQ(record, encoded);
                    EXPECT_EQ(line.first.Selected(),
                              kType[f] != 0 && kType[s] != 0 ? 4 + kType[s] : f);
                    EXPECT_EQ(line.second.Selected(), s);
                    EXPECT_EQ(form.optModulation.Selected(), m);
                }
            }
        }
    }
}

// A line's bytes as decoded into its options. A code that names no waveform (9 below) shows the
// first waveform on line 1, and on line 2 what line 1 shows (here pulse, pulse).
TEST(WaveformDecoding, WaveformNumbersAndModulation) {
    StartedEditor editor;
    editor::Form1& form = editor.form;
    ToneRecord& record = editor.module.ScratchRecord;
    struct Case {
        int waveform;
        int resonance;
        int wave1;
        int wave2;
        int modulation;  // shown after decoding line 1
    };
    for (const Case c : {Case{0, 0, 1, 1, 0},
                         {2, 0, 1, 1, 0},
                         {98, 56, 9, 1, 2},
                         {230, 40, 9, 2, 1},
                         {218, 8, 9, 9, 0},
                         {218, 64, 6, 6, 0},
                         {218, 152, 7, 7, 2},
                         {182, 192, 5, 5, 0},
                         {74, 16, 3, 3, 0},
                         {146, 32, 4, 4, 1},
                         {46, 255, 2, 1, 2},
                         {62, 224, 2, 1, 1},
                         {59, 0, 2, 1, 0},
                         {56, 0, 2, 1, 0},
                         {192 + 22, 192, 8, 5, 0}}) {
        for (int line : {1, 2}) {
            const int entry = line == 1 ? 29 : 143;
            form.optModulation.Select(c.modulation == 0 ? 1 : 0);
            WriteEntryPair(record, 29, 74);  // line 1: pulse, pulse, no modulation
            WriteEntryPair(record, 31, 16);
            WriteEntryPair(record, entry, c.waveform);
            WriteEntryPair(record, entry + 2, c.resonance);
            form.ParseSysex();
            const editor::OptionArray& first =
                line == 1 ? form.optDCO1Waveform1 : form.optDCO2Waveform1;
            const editor::OptionArray& second =
                line == 1 ? form.optDCO1Waveform2 : form.optDCO2Waveform2;
            const int unnamed = line == 1 ? 1 : 3;
            EXPECT_EQ(first.Selected() + 1, c.wave1 == 9 ? unnamed : c.wave1)
                << "line " << line << " byte " << c.waveform;
            EXPECT_EQ(second.Selected() + 1, c.wave2 == 9 ? unnamed : c.wave2)
                << "line " << line << " byte " << c.waveform;
            EXPECT_EQ(form.optModulation.Selected(), line == 1 ? c.modulation : 0) << c.resonance;
        }
    }
}

TEST(WaveformDecoding, AbsentSecondWaveformIsWrittenBackAsSawtooth) {
    StartedEditor editor;
    editor::Form1& form = editor.form;
    ToneRecord& record = editor.module.ScratchRecord;
    form.optDCO1Waveform1.Click(3);
    form.optDCO1Waveform2.Click(3);
    WriteEntryPair(record, 29, 0);
    form.ParseSysex();
    EXPECT_EQ(form.optDCO1Waveform1.Selected(), 0);
    EXPECT_EQ(form.optDCO1Waveform2.Selected(), 0);
    form.optModulation.Click(form.optModulation.Selected());
    EXPECT_EQ(ReadEntryPair(record, 29), 2);
}

// Codes that name no waveform on line 2 show what line 1 decoded, without a message.
TEST(WaveformDecoding, LineTwoCodesWithoutWaveformKeepLineOnesResult) {
    StartedEditor editor;
    editor::Form1& form = editor.form;
    ToneRecord& record = editor.module.ScratchRecord;
    WriteEntryPair(record, 29, 64 + 18);    // pulse, double sine
    WriteEntryPair(record, 143, 224 + 26);  // code 7, resonance of type 0
    WriteEntryPair(record, 145, 0);
    form.ParseSysex();
    EXPECT_EQ(form.optDCO2Waveform1.Selected(), 2);
    EXPECT_EQ(form.optDCO2Waveform2.Selected(), 3);
    EXPECT_TRUE(editor.platform.Messages().empty());
}

}  // namespace
}  // namespace voxtane::testing
