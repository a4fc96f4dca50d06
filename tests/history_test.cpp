// The one history of undo and redo: what a step is, what undoing it gives back, and its bounds.
#include <gtest/gtest.h>

#include <random>

#include "editor/history/user_actions.h"
#include "test_support.h"

namespace voxtane::testing {
namespace {

using editor::history::BankContent;
using editor::history::ContentOf;

// Undoing every step of any sequence of actions gives back the start exactly; redoing every
// step gives back the end.
TEST(History, UndoingEveryStepGivesBackTheStartAndRedoingTheEnd) {
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        StartedEditor editor;
        std::mt19937 random(seed);
        const auto below = [&random](int n) { return static_cast<int>(random() % n); };
        editor.form.cboPatches.SetListIndex(below(16));
        const BankContent start = ContentOf(editor.run);
        for (int action = 0; action < 60; ++action)
            editor::history::MakeUserAction(editor.run, below);
        const BankContent end = ContentOf(editor.run);
        while (editor.run.history.CanUndo()) editor.run.history.Undo();
        ASSERT_EQ(ContentOf(editor.run), start) << "seed " << seed;
        while (editor.run.history.CanRedo()) editor.run.history.Redo();
        ASSERT_EQ(ContentOf(editor.run), end) << "seed " << seed;
    }
}

TEST(History, AStepIsNamedAndPutsBackTheViewOfItsPatchTypedTextIncluded) {
    StartedEditor editor;
    editor::history::History& history = editor.run.history;
    EXPECT_FALSE(history.CanUndo()) << "start-up is no step";
    editor.form.cboPatches.SetListIndex(2);
    // A burst of typing in one box is one step.
    editor.form.txtDCA1Rate.SetText(2, "8");
    editor.form.txtDCA1Rate.SetText(2, "80");
    editor.form.txtDCA1Rate.SetText(2, "080");
    EXPECT_EQ(history.UndoText(), "Undo DCA 1 Rate 3");
    EXPECT_EQ(history.Steps(), 1u);
    const ToneRecord edited = editor.module.ScratchRecord;
    editor.form.cboPatches.SetListIndex(6);  // no step
    editor.form.hsFine.SetValue(12);
    EXPECT_EQ(history.UndoText(), "Undo Fine");
    history.Undo();
    history.Undo();
    EXPECT_EQ(editor.module.CurrentPatch, 3) << "undoing a step of another patch returns to it";
    EXPECT_EQ(editor.form.cboPatches.ListIndex(), 2);
    EXPECT_EQ(editor.form.txtDCA1Rate.Text(2), "50");
    EXPECT_EQ(history.RedoText(), "Redo DCA 1 Rate 3");
    history.Redo();
    EXPECT_EQ(editor.form.txtDCA1Rate.Text(2), "080") << "the typed text, not a decoding of it";
    EXPECT_EQ(editor.module.ScratchRecord, edited);
    editor.form.cboPatches.SetText("Lead");
    EXPECT_EQ(history.UndoText(), "Undo Rename");
    EXPECT_FALSE(history.CanRedo()) << "a new step forgets what was undone";
}

TEST(History, FailedOperationsAddNoStepAndTheHistoryStaysBounded) {
    StartedEditor editor;
    TempFolder folder;
    const std::string notSysex = folder.File("text.syx");
    WriteText(notSysex, "hello");
    editor.platform.QueueFileChoice(notSysex);
    editor.form.cmdLoad_Click();
    editor.form.cmdLoad_Click();  // cancelled
    EXPECT_FALSE(editor.run.history.CanUndo());

    for (int i = 0; i < 1100; ++i) editor.form.optLS.Click(i % 4);
    EXPECT_EQ(editor.run.history.Steps(), editor::history::History::kMaxSteps);
    EXPECT_LT(editor.run.history.BytesHeld(), 20u << 20);
}

}  // namespace
}  // namespace voxtane::testing
