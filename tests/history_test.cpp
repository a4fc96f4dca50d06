// The one history of undo and redo: what a step is, what undoing it gives back, and its bounds.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "midi/recording_backend.h"
#include "midi/scripted_device_window.h"
#include "test_support.h"
#include "user_actions.h"

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

// A clock that only moves when told.
class StillClock : public midi::Clock {
  public:
    [[nodiscard]] TimePoint Now() const override { return now_; }
    void SleepFor(Duration duration) override { now_ += duration; }

  private:
    TimePoint now_{};
};

// Every file under a folder with its content.
std::map<std::string, std::string> FilesUnder(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files[entry.path().string()] = ReadText(entry.path().string());
    return files;
}

// With files, the synth and Compare among the actions: nothing reaches a file or the synth's
// memory unless the action was Export or Write, and undoing goes back through every earlier
// state of the bank, newest first, to the start.
TEST(History, UserActionsWriteOnlyWhatWasAskedAndUndoGivesBackEveryEarlierState) {
    TempFolder folder;
    editor::history::UserFiles files;
    {
        StartedEditor maker;
        for (int n = 0; n < 2; ++n) {
            maker.form.hsFine.SetValue(10 + n);
            maker.form.cboPatches.SetText("Made " + std::to_string(n));
            files.banks.push_back(folder.File("bank" + std::to_string(n) + ".syx"));
            maker.platform.QueueFileChoice(files.banks.back());
            maker.form.cmdSaveAs_Click();
        }
        files.tones.push_back(folder.File("tone.syx"));
        maker.platform.QueueFileChoice(files.tones.back());
        maker.form.cmdSaveSinglePatch_Click();
    }
    files.exportFolder = folder.File("export");
    std::filesystem::create_directory(files.exportFolder);
    std::set<std::string> kinds;
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        editor::ScriptedPlatform platform("/opt/voxtane");
        midi::RecordingBackend backend({"Synth"});
        midi::ScriptedDeviceWindow window;
        StillClock clock;
        editor::EditorRun run(platform, backend, window, clock);
        window.QueueClick(1);
        run.Start();
        std::mt19937 random(seed);
        const auto below = [&random](int n) { return static_cast<int>(random() % n); };
        std::vector<BankContent> states{ContentOf(run)};
        std::string log;
        std::map<std::string, std::string> written = FilesUnder(folder.path());
        for (int i = 0; i < 50; ++i) {
            const std::size_t sent = backend.Sent().size();
            const editor::history::UserAction action =
                editor::history::MakeUserAction(run, below, &files);
            kinds.insert(action.name);
            log += action.name + (ContentOf(run) != states.back() ? "*, " : ", ");
            clock.SleepFor(std::chrono::seconds(3));  // no two actions merge into one step
            if (!action.writesMemory) {
                ASSERT_EQ(backend.Sent().size(), sent) << action.name;
            }
            std::map<std::string, std::string> now = FilesUnder(folder.path());
            if (!action.writesFiles) {
                ASSERT_EQ(now, written) << action.name;
            }
            written = std::move(now);
            if (ContentOf(run) != states.back()) states.push_back(ContentOf(run));
        }
        for (std::size_t k = states.size() - 1; k > 0; --k) {
            while (ContentOf(run) == states[k] && run.history.CanUndo()) run.history.Undo();
            ASSERT_EQ(ContentOf(run), states[k - 1])
                << "seed " << seed << ", state " << k << ": " << log;
        }
    }
    for (const char* kind :
         {"Load", "Import", "Export", "Get Patch", "Get Bank", "Compare", "Write to Memory"})
        EXPECT_EQ(kinds.count(kind), 1u) << kind;
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
