// The control model's event semantics, on its own and as the editor's handlers see it.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "test_support.h"

namespace voxtane::testing {
namespace {

TEST(ControlModel, EventsAreRaisedAfterTheChangeAndOnlyWhenItHappens) {
    editor::OptionArray options(4, 2);
    std::vector<int> clicks;
    options.onClick = [&](std::int16_t index) {
        EXPECT_EQ(options.Selected(), index);
        clicks.push_back(index);
    };
    options.Select(2);
    options.Select(3);
    options.Select(3);
    options.Click(3);  // a user's click on the selected element raises too
    options.Click(0);
    EXPECT_EQ(clicks, (std::vector<int>{3, 3, 0}));
    EXPECT_FALSE(options.Value(3));
    EXPECT_THROW(options.Select(4), std::out_of_range);

    editor::ScrollBar bar(0, 60, 10, 0);
    std::vector<int> values;
    bar.onChange = [&] { values.push_back(bar.Value()); };
    for (int v : {0, 25, 25, 100, 61, -5}) bar.SetValue(v);
    EXPECT_EQ(values, (std::vector<int>{25, 60, 0}));

    editor::TextBoxArray boxes({"50", "0"});
    std::vector<std::pair<int, std::string>> texts;
    boxes.onChange = [&](std::int16_t index) { texts.emplace_back(index, boxes.Text(index)); };
    boxes.SetText(1, "9");
    boxes.SetText(1, "99");
    boxes.SetText(1, "99");
    boxes.SetText(0, "");
    EXPECT_EQ(texts, (std::vector<std::pair<int, std::string>>{{1, "9"}, {1, "99"}, {0, ""}}));
}

TEST(ToneControls, BarsStopAtTheEndsOfTheirRange) {
    StartedEditor editor;
    editor::Form1& form = editor.form;
    const std::pair<const char*, int> bars[] = {
        {"HSNote", 11},   {"hsFine", 60},   {"hsDelay", 99},  {"hsRate", 99},  {"hsDepth", 99},
        {"hsDCW1Key", 9}, {"hsDCA1Key", 9}, {"hsDCW2Key", 9}, {"hsDCA2Key", 9}};
    for (const auto& [name, max] : bars) {
        editor::ScrollBar& bar = *std::get<editor::ScrollBar*>(form.Find(name)->control);
        bar.SetValue(max + 40);
        EXPECT_EQ(bar.Value(), max) << name;
        bar.SetValue(-1);
        EXPECT_EQ(bar.Value(), 0) << name;
    }
    form.hsDCA1Key.SetValue(25);
    EXPECT_EQ(form.lblDCA1Key.Text(), "9");
    EXPECT_EQ(editor.module.ScratchRecord[33], 9);
}

TEST(ToneControls, EachArrayIsItsOwnSelectionGroup) {
    StartedEditor editor;
    editor::Form1& form = editor.form;
    form.optDCA1S.Select(3);
    EXPECT_EQ(form.optDCA1E.Selected(), 7);
    form.optDCA1E.Select(1);
    EXPECT_EQ(form.optDCA1S.Selected(), 3);
    EXPECT_EQ(form.optDCA2S.Selected(), 0);
}

// A user's click on the element already selected encodes it again; selecting it from code
// does not.
TEST(ToneControls, ClickOnTheSelectedElementReEncodes) {
    StartedEditor editor;
    editor::Form1& form = editor.form;
    ToneRecord& record = editor.module.ScratchRecord;
    form.optOCTV.Click(1);
    form.optLS.Click(1);
    record[1] = 0;
    form.optLS.Select(1);
    EXPECT_EQ(record[1], 0);
    form.optLS.Click(1);
    EXPECT_EQ(record[1], 5);

    const int level3 = kEnvelopes[kDCA2].LevelEntry(3);
    form.txtDCA2Lvl.SetText(2, "50");
    form.optDCA2S.Click(2);
    WriteEntryPair(record, level3, 0);
    form.optDCA2S.Select(2);
    EXPECT_EQ(ReadEntryPair(record, level3), 0);
    form.optDCA2S.Click(2);
    EXPECT_EQ(ReadEntryPair(record, level3), 128 + 78);

    record[kEnvelopes[kDCO1].EndEntry()] = 0;
    form.optDCO1E.Click(7);
    EXPECT_EQ(record[kEnvelopes[kDCO1].EndEntry()], 7);
}

TEST(ToneControls, ProgramSetsRaiseTheHandlerOncePerChange) {
    StartedEditor editor;
    editor::Form1& form = editor.form;
    int fineChanges = 0;
    const auto fineHandler = form.hsFine.onChange;
    form.hsFine.onChange = [&] {
        ++fineChanges;
        fineHandler();
    };
    form.hsFine.SetValue(form.hsFine.Value());
    EXPECT_EQ(fineChanges, 0);
    form.hsFine.SetValue(33);
    EXPECT_EQ(fineChanges, 1);
    EXPECT_EQ(ReadToneByte(editor.module.ScratchRecord, 3), 4 * 35);
}

}  // namespace
}  // namespace voxtane::testing
