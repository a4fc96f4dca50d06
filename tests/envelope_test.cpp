// The six envelopes: byte codes, reading the boxes, and editing and decoding through the
// controls.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "test_support.h"
#include "tone/envelope_codes.h"
#include "tone/envelope_number.h"

namespace voxtane::testing {
namespace {

using K = EnvelopeKind;

TEST(EnvelopeCodes, SampleCodesOfEveryField) {
    struct Case {
        K kind;
        bool rate;
        std::array<int, 5> codes;  // of 0, 1, 50, 98, 99
    };
    const Case cases[] = {
        {K::DCA, true, {0, 1, 60, 117, 119}},  {K::DCW, true, {8, 9, 68, 125, 127}},
        {K::DCO, true, {0, 1, 64, 125, 127}},  {K::DCA, false, {0, 29, 78, 126, 127}},
        {K::DCW, false, {0, 1, 64, 125, 127}}, {K::DCO, false, {0, 1, 50, 102, 103}}};
    const std::array<int, 5> values{0, 1, 50, 98, 99};
    for (const Case& c : cases) {
        for (int i = 0; i < 5; ++i) {
            const int code =
                c.rate ? EncodeRateCode(c.kind, values[i]) : EncodeLevelCode(c.kind, values[i]);
            EXPECT_EQ(code, c.codes[i]) << static_cast<int>(c.kind) << c.rate << " " << values[i];
        }
    }
    EXPECT_EQ(EncodeLevelCode(K::DCO, 63), 63);
    EXPECT_EQ(EncodeLevelCode(K::DCO, 64), 68);
    // Numbers outside 0 to 99 are coded as 0 would be.
    for (int n : {-5, -1, 100, 150, 300, 32767, -32768}) {
        for (K kind : {K::DCA, K::DCW, K::DCO}) {
            EXPECT_EQ(EncodeRateCode(kind, n), EncodeRateCode(kind, 0)) << n;
            EXPECT_EQ(EncodeLevelCode(kind, n), EncodeLevelCode(kind, 0)) << n;
        }
    }
}

TEST(EnvelopeCodes, CodesNeverWrittenDecodeByTheSameRules) {
    struct Case {
        K kind;
        int byte;
        int shown;
    };
    const Case rates[] = {
        {K::DCA, 0, 0},    {K::DCA, 1, 1},     {K::DCA, 60, 50},   {K::DCA, 118, 99},
        {K::DCA, 119, 99}, {K::DCA, 120, 100}, {K::DCA, 127, 106}, {K::DCA, 188, 50},
        {K::DCW, 8, 0},    {K::DCW, 9, 1},     {K::DCW, 127, 99},  {K::DCW, 7, 0},
        {K::DCW, 0, -6},   {K::DCW, 2, -4},    {K::DCW, 136, 0},   {K::DCO, 0, 0},
        {K::DCO, 64, 50},  {K::DCO, 126, 99},  {K::DCO, 127, 99},  {K::DCO, 255, 99}};
    for (const Case& c : rates)
        EXPECT_EQ(DecodeRateByte(c.kind, c.byte), c.shown)
            << static_cast<int>(c.kind) << " " << c.byte;
    const Case levels[] = {{K::DCA, 0, 0},    {K::DCA, 29, 1},   {K::DCA, 127, 99},
                           {K::DCA, 1, -27},  {K::DCA, 28, 0},   {K::DCA, 10, -18},
                           {K::DCW, 0, 0},    {K::DCW, 1, 1},    {K::DCW, 64, 50},
                           {K::DCW, 127, 99}, {K::DCO, 63, 63},  {K::DCO, 64, 60},
                           {K::DCO, 65, 61},  {K::DCO, 67, 63},  {K::DCO, 68, 64},
                           {K::DCO, 103, 99}, {K::DCO, 104, 100}};
    for (const Case& c : levels)
        EXPECT_EQ(DecodeLevelCode(c.kind, c.byte), c.shown)
            << static_cast<int>(c.kind) << " " << c.byte;
}

TEST(EnvelopeNumber, ReadsTheLeadingNumberRoundedHalfToEven) {
    const std::pair<int, std::vector<const char*>> cases[] = {
        {0, {"", "   ", "abc", "-", ".", "+-3", "0x10", "0.5", ".5", "1e-400"}},
        {0, {"32768", "32767.5", "-32769", "1e5", "1e400"}},  // beyond 16 bits
        {1, {".6", "1e", "1e+"}},
        {2, {"2.5", "1.5", "15e-1"}},
        {4, {"3.5"}},
        {-2, {"-2.5"}},
        {5, {"+5", "5."}},
        {-5, {"- 5"}},
        {7, {"\t7\t", "7x9"}},
        {10, {"1e1"}},
        {12, {"12.3.4"}},
        {25, {"2.5E1"}},
        {42, {"42", " 4 2 "}},
        {99, {"99.49", "0000000000000000000000099"}},
        {32767, {"32767", "32767.4"}},
        {-32768, {"-32768"}}};
    for (const auto& [number, texts] : cases)
        for (const char* text : texts)
            EXPECT_EQ(ReadEnvelopeNumber(text), number) << '"' << text << '"';
}

std::set<int> Pair(int low) {
    return {low, low + 1};
}

bool OnlyChanged(const ToneRecord& before, const ToneRecord& after, const std::set<int>& allowed) {
    for (int e = 1; e <= kToneEntries; ++e)
        if (!allowed.count(e) && before[e] != after[e]) return false;
    return true;
}

TEST(EnvelopeEditing, TypedTextsWriteTheirCodes) {
    StartedEditor editor;
    editor::Form1& form = editor.form;
    const ToneRecord& record = editor.module.ScratchRecord;
    form.txtDCA1Rate.SetText(0, "0");
    EXPECT_EQ(ReadEntryPair(record, 43), 0);
    form.txtDCA1Rate.SetText(0, "99");
    EXPECT_EQ(record[43], 7);
    EXPECT_EQ(record[44], 7);
    form.txtDCW2Rate.SetText(0, "0");
    EXPECT_EQ(record[191], 8);
    EXPECT_EQ(record[192], 0);
    form.optDCA1S.Click(3);
    form.txtDCA1Lvl.SetText(3, "99");
    EXPECT_EQ(ReadEntryPair(record, 57), 255);
    form.txtDCA1Lvl.SetText(4, "1");
    EXPECT_EQ(record[61], 13);
    EXPECT_EQ(record[62], 1);
    // Every keystroke encodes: "1" and then "12".
    form.txtDCO1Rate.SetText(0, "1");
    EXPECT_EQ(ReadEntryPair(record, 111), 1);
    form.txtDCO1Rate.SetText(0, "12");
    EXPECT_EQ(ReadEntryPair(record, 111), 15);
    form.txtDCA2Rate.SetText(0, "150");
    EXPECT_EQ(ReadEntryPair(record, 157), 0);
    form.txtDCA2Rate.SetText(0, "-5");
    EXPECT_EQ(ReadEntryPair(record, 157), 0);
    form.txtDCW1Rate.SetText(0, "no number");
    EXPECT_EQ(ReadEntryPair(record, 77), 8);
    form.txtDCA1Rate.SetText(0, "3.5");
    EXPECT_EQ(ReadEntryPair(record, 43), EncodeRateCode(K::DCA, 4));

    const ToneRecord before = record;
    form.optDCW2E.Click(4);
    EXPECT_EQ(record[189], 4);
    EXPECT_EQ(record[190], 0);
    EXPECT_TRUE(OnlyChanged(before, record, Pair(189)));
}

// Rates and levels typed into every box of every envelope decode back to the same numbers. Over
// the run every step holds every rate with and without the falling flag and every level with and
// without the sustain flag.
TEST(EnvelopeEditing, EveryRateAndLevelComesBackWithAndWithoutFlags) {
    StartedEditor editor;
    editor::Form1& form = editor.form;
    const ToneRecord& record = editor.module.ScratchRecord;
    for (int v = 0; v <= 99; ++v) {
        for (int sustain = 0; sustain < kEnvelopeSteps; ++sustain) {
            const auto rate = [&](int i) { return (v + 37 * i) % 100; };
            const auto level = [&](int i) { return (v + 37 * i + 13 * sustain) % 100; };
            for (auto& env : form.envelopes) {
                for (int i = 0; i < kEnvelopeSteps; ++i) {
                    env.rate.SetText(i, std::to_string(rate(i)));
                    env.level.SetText(i, std::to_string(level(i)));
                }
                env.sustain.Click(sustain);
            }
            const ToneRecord encoded = record;
            form.ParseSysex();
            ASSERT_EQ(record, encoded);
            for (int e = 0; e < kEnvelopeCount; ++e) {
                const EnvelopeSpec& envelope = kEnvelopes[e];
                EXPECT_EQ(form.envelopes[e].sustain.Selected(), sustain);
                for (int i = 0; i < kEnvelopeSteps; ++i) {
                    EXPECT_EQ(form.envelopes[e].rate.Text(i), std::to_string(rate(i)))
                        << envelope.caption << " step " << i + 1;
                    EXPECT_EQ(form.envelopes[e].level.Text(i), std::to_string(level(i)))
                        << envelope.caption << " step " << i + 1;
                    const bool falling = i > 0 && level(i) < level(i - 1);
                    EXPECT_EQ(ReadEntryPair(record, envelope.RateEntry(i + 1)) & kFallingFlag,
                              falling ? kFallingFlag : 0);
                    EXPECT_EQ(ReadEntryPair(record, envelope.LevelEntry(i + 1)) & kSustainFlag,
                              i == sustain ? kSustainFlag : 0);
                }
            }
        }
    }
}

TEST(EnvelopeEditing, FallingFlagComparesTheLevelBoxesAsTheyStand) {
    StartedEditor editor;
    editor::Form1& form = editor.form;
    const ToneRecord& record = editor.module.ScratchRecord;
    struct Case {
        const char* level1;
        const char* level2;
        int code;
    };
    const Case cases[] = {{"99", "0", 188},  {"0", "99", 60}, {"40", "40", 60}, {"150", "99", 188},
                          {"99", "150", 60}, {"5", "x", 188}, {"-3", "0", 60}};
    for (const Case& c : cases) {
        form.txtDCA1Lvl.SetText(0, c.level1);
        form.txtDCA1Lvl.SetText(1, c.level2);
        form.txtDCA1Rate.SetText(1, "49");
        form.txtDCA1Rate.SetText(1, "50");
        EXPECT_EQ(ReadEntryPair(record, kEnvelopes[kDCA1].RateEntry(2)), c.code)
            << c.level1 << " " << c.level2;
    }
    form.txtDCA1Lvl.SetText(0, "0");  // step 1 has no step before it
    form.txtDCA1Rate.SetText(0, "50");
    EXPECT_EQ(ReadEntryPair(record, kEnvelopes[kDCA1].RateEntry(1)), 60);
}

// A level change re-encodes the rates of its own step and of the next one from their boxes,
// and nothing else.
TEST(EnvelopeEditing, LevelChangeRefreshesTheRatesAroundIt) {
    for (const EnvelopeSpec& envelope : kEnvelopes) {
        StartedEditor editor;
        ToneRecord& record = editor.module.ScratchRecord;
        editor::EnvelopeControls& env =
            editor.form.envelopes[EnvelopeOf(envelope.kind, envelope.line)];
        for (int i = 0; i < kEnvelopeSteps; ++i) {
            env.level.SetText(i, "50");
            env.rate.SetText(i, "30");
        }
        const int rate30 = EncodeRateCode(envelope.kind, 30);
        WriteEntryPair(record, envelope.RateEntry(4), 0);  // stale bytes
        WriteEntryPair(record, envelope.RateEntry(5), 0);
        ToneRecord before = record;
        env.level.SetText(3, "10");
        EXPECT_EQ(ReadEntryPair(record, envelope.RateEntry(4)), rate30 + kFallingFlag)
            << envelope.caption;
        EXPECT_EQ(ReadEntryPair(record, envelope.RateEntry(5)), rate30);
        EXPECT_EQ(ReadEntryPair(record, envelope.LevelEntry(4)),
                  EncodeLevelCode(envelope.kind, 10));
        std::set<int> allowed = Pair(envelope.LevelEntry(4));
        for (int step : {4, 5}) allowed.merge(Pair(envelope.RateEntry(step)));
        EXPECT_TRUE(OnlyChanged(before, record, allowed)) << envelope.caption;

        env.level.SetText(3, "90");
        EXPECT_EQ(ReadEntryPair(record, envelope.RateEntry(4)), rate30);
        EXPECT_EQ(ReadEntryPair(record, envelope.RateEntry(5)), rate30 + kFallingFlag);

        before = record;
        env.level.SetText(7, "0");
        EXPECT_EQ(ReadEntryPair(record, envelope.RateEntry(8)), rate30 + kFallingFlag);
        allowed = Pair(envelope.LevelEntry(8));
        allowed.merge(Pair(envelope.RateEntry(8)));
        EXPECT_TRUE(OnlyChanged(before, record, allowed)) << envelope.caption;
    }
}

// Selecting a sustain step takes the flag off every other flagged level byte of that envelope,
// re-encoded from its level box; unflagged bytes and other envelopes stay as they are.
TEST(EnvelopeEditing, SustainClickLeavesOneFlaggedStep) {
    StartedEditor editor;
    editor::Form1& form = editor.form;
    ToneRecord& record = editor.module.ScratchRecord;
    const EnvelopeSpec& dcw1 = kEnvelopes[kDCW1];
    for (int step : {2, 5}) WriteEntryPair(record, dcw1.LevelEntry(step), kSustainFlag + 64);
    form.optDCA1S.Click(6);
    WriteEntryPair(record, kEnvelopes[kDCA1].LevelEntry(7), 0);  // DCA 1 without any flag
    form.ParseSysex();
    EXPECT_EQ(form.optDCW1S.Selected(), 4);  // the last flagged step
    EXPECT_EQ(form.optDCA1S.Selected(), 6);  // kept
    form.txtDCW1Lvl.SetText(1, "");          // the box reads 0, the byte held 50
    for (int step : {1, 2}) WriteEntryPair(record, dcw1.LevelEntry(step), kSustainFlag + 64);
    WriteEntryPair(record, dcw1.LevelEntry(7), 64);

    const ToneRecord before = record;
    form.optDCW1S.Click(2);
    const std::array<int, 8> expected{127, 0, kSustainFlag, 0, 64, 0, 64, 0};
    for (int step = 1; step <= kEnvelopeSteps; ++step)
        EXPECT_EQ(ReadEntryPair(record, dcw1.LevelEntry(step)), expected[step - 1]) << step;
    std::set<int> allowed;
    for (int step : {1, 2, 3, 5}) allowed.merge(Pair(dcw1.LevelEntry(step)));
    EXPECT_TRUE(OnlyChanged(before, record, allowed));
}

// Each envelope's events re-encode their own envelope from what the controls show, also when the
// value stays (a click on the selected option, a box's event raised again).
TEST(EnvelopeEditing, EventsReachTheirEnvelope) {
    StartedEditor editor;
    editor::Form1& form = editor.form;
    ToneRecord& record = editor.module.ScratchRecord;
    const ToneRecord encoded = record;
    for (int e = 0; e < kEnvelopeCount; ++e) {
        const EnvelopeSpec& envelope = kEnvelopes[e];
        editor::EnvelopeControls& env = form.envelopes[e];
        WriteEntryPair(record, envelope.RateEntry(3), 100);
        env.rate.onChange(2);
        EXPECT_EQ(record, encoded) << envelope.caption;
        WriteEntryPair(record, envelope.LevelEntry(3), 100);
        env.level.onChange(2);
        EXPECT_EQ(record, encoded) << envelope.caption;
        WriteEntryPair(record, envelope.LevelEntry(1), 100);
        env.sustain.Click(env.sustain.Selected());
        EXPECT_EQ(record, encoded) << envelope.caption;
        record[envelope.EndEntry()] = 2;
        env.end.Click(env.end.Selected());
        EXPECT_EQ(record, encoded) << envelope.caption;
    }
}

}  // namespace
}  // namespace voxtane::testing
