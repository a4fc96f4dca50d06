// Recovery copies of editors running side by side, the writer behind them, and the recovery
// shelf.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <mutex>
#include <thread>

#include "scripted_copy_locks.h"
#include "test_support.h"
#include "user_actions.h"

namespace voxtane::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using editor::history::BankContent;
using editor::history::ContentOf;

std::vector<fs::path> Copies(const fs::path& folder) {
    std::vector<fs::path> copies;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".vxr") copies.push_back(entry.path());
    return copies;
}

// A started editor whose data folder is `folder`.
struct EditorWithData : StartedEditor {
    explicit EditorWithData(const TempFolder& folder) {
        platform.SetDataFolder(folder.path().string());
        run.recovery.OfferRestore();
    }
    void Edit(int value) {
        form.hsRate.SetValue(value);
        run.recovery.Flush();
    }
};

// Each running editor keeps its own copy: a second one neither offers nor removes the first's,
// a save in one leaves the other's, and once an editor has ended its copy is offered.
TEST(Recovery, EachRunningEditorKeepsItsOwnCopy) {
    TempFolder data;
    TempFolder files;
    auto first = std::make_unique<EditorWithData>(data);
    first->Edit(40);
    const std::string firstCopy = first->run.recovery.CopyPath();
    ASSERT_TRUE(fs::exists(firstCopy));
    // A write of the first editor's copy caught half-way: the second's writes leave it.
    const std::string halfWritten = firstCopy + ".tmp-12345";
    WriteText(halfWritten, "half");
    {
        EditorWithData second(data);
        EXPECT_TRUE(second.platform.Messages().empty()) << "a running editor's copy is not offered";
        EXPECT_NE(second.run.recovery.CopyPath(), firstCopy);
        second.Edit(50);
        EXPECT_EQ(Copies(data.path()).size(), 2u);
        second.platform.QueueFileChoice(files.File("second.syx"));
        second.form.cmdSaveAs_Click();
        second.run.recovery.Flush();
        EXPECT_FALSE(fs::exists(second.run.recovery.CopyPath()));
        EXPECT_TRUE(fs::exists(firstCopy)) << "a save removes only the saving editor's copy";
        EXPECT_TRUE(fs::exists(halfWritten)) << "nor does a write clean up another's files";
    }
    const BankContent unsaved = ContentOf(first->run);
    first.reset();  // the first ends with unsaved changes
    editor::ScriptedPlatform platform("/opt/voxtane");
    platform.SetDataFolder(data.path().string());
    platform.QueueAnswer(editor::MessageAnswer::Yes);
    editor::EditorRun third(platform);
    third.Start();
    ASSERT_EQ(platform.Messages().size(), 1u);
    EXPECT_EQ(ContentOf(third), unsaved);
    EXPECT_EQ(third.recovery.CopyPath(), firstCopy) << "the restored copy becomes the editor's own";
}

// The offer only follows the locks: the scripted locks stand in for editors of other processes.
TEST(Recovery, OffersOnlyCopiesWhoseLockNoEditorHolds) {
    TempFolder data;
    editor::RecoveryCopy copy;
    copy.names.fill("Kept");
    const std::string path = (data.path() / "recovery-00000001.vxr").string();
    WriteText(path, editor::EncodeRecoveryCopy(copy));
    for (const bool running : {true, false}) {
        editor::ScriptedPlatform platform("/opt/voxtane");
        editor::EditorRun run(platform);
        run.Start();
        platform.SetDataFolder(data.path().string());
        platform.QueueAnswer(editor::MessageAnswer::No);
        editor::ScriptedCopyLocks locks;
        if (running) locks.HoldElsewhere((data.path() / "recovery-00000001.lock").string());
        editor::Recovery recovery(run.whole, run.tones, platform, run.history, locks,
                                  run.copyWriter, run.module1.AppTitle);
        recovery.OfferRestore();
        EXPECT_EQ(platform.Messages().size(), running ? 0u : 1u) << running;
        EXPECT_EQ(fs::exists(path), running) << "No discards only a copy nobody runs with";
    }
}

// A clock the test moves, read by the writer's thread.
class TestClock : public midi::Clock {
  public:
    [[nodiscard]] TimePoint Now() const override { return TimePoint(Duration(now_.load())); }
    void SleepFor(Duration duration) override { now_ += duration.count(); }

  private:
    std::atomic<Duration::rep> now_{0};
};

// What the writer's thread did, in order.
struct WriterLog {
    void Done(const std::string& path, bool written) {
        std::lock_guard lock(mutex);
        entries.push_back(written ? ReadText(path) : "removed");
    }
    [[nodiscard]] std::vector<std::string> Entries() {
        std::lock_guard lock(mutex);
        return entries;
    }
    // Waits (generously) for `count` entries.
    std::vector<std::string> WaitFor(std::size_t count) {
        for (int i = 0; i < 3000 && Entries().size() < count; ++i)
            std::this_thread::sleep_for(10ms);
        return Entries();
    }
    std::mutex mutex;
    std::vector<std::string> entries;
};

TEST(CopyWriter, WritesAtMostOnceASecondAndAlwaysTheLastState) {
    editor::WritePacing pacing;
    const editor::WritePacing::TimePoint start{};
    EXPECT_TRUE(pacing.Due(start)) << "the first copy goes at once";
    pacing.Written(start);
    for (const auto& [after, due] : {std::pair{0ms, false}, {999ms, false}, {1000ms, true}})
        EXPECT_EQ(pacing.Due(start + after), due) << after.count();
    EXPECT_EQ(pacing.DueAt(start + 200ms), start + 1s);

    TempFolder folder;
    const std::string path = folder.File("copy.vxr");
    TestClock clock;
    WriterLog log;
    editor::BackgroundCopyWriter writer(
        clock, [&log](const std::string& p, bool written) { log.Done(p, written); });
    writer.Keep(path, "A");
    EXPECT_EQ(log.WaitFor(1), std::vector<std::string>{"A"});
    for (const char* text : {"B", "C", "D"}) writer.Keep(path, text);
    std::this_thread::sleep_for(300ms);  // the clock stands still: nothing may be written
    EXPECT_EQ(log.Entries().size(), 1u);
    clock.SleepFor(1s);
    EXPECT_EQ(log.WaitFor(2), (std::vector<std::string>{"A", "D"})) << "only the last state";
    writer.Keep(path, "E");
    writer.Flush();  // before the second is up: a flush writes what waits at once
    EXPECT_EQ(ReadText(path), "E");
    writer.Keep(path, "F");
    writer.Remove(path);
    writer.Flush();
    EXPECT_EQ(log.Entries(), (std::vector<std::string>{"A", "D", "E", "removed"}))
        << "a copy waiting when its removal comes is never written";
    EXPECT_FALSE(fs::exists(path));
}

// The banks that New, Load, Import, Get Bank and Recover replace with unsaved changes, and the
// one the program's end leaves, go on the shelf; Recover brings one back as one step.
TEST(RecoveryShelf, KeepsWhatReplacingABankWithUnsavedChangesWouldLose) {
    TempFolder files;
    const std::string bankFile = files.File("other.syx");
    {
        StartedEditor writer;
        writer.platform.QueueFileChoice(bankFile);
        writer.form.cmdSaveAs_Click();
    }
    const editor::BankTones tones{};
    const std::vector<std::pair<const char*, std::function<void(StartedEditor&)>>> replacing{
        {"New", [](StartedEditor& e) { e.form.cmdNew_Click(); }},
        {"Load \"other.syx\"",
         [&bankFile](StartedEditor& e) {
             e.platform.QueueFileChoice(bankFile);
             e.form.cmdLoad_Click();
         }},
        {"Import", [&bankFile](StartedEditor& e) { (void)e.run.transfer.ImportFiles({bankFile}); }},
        {"Get Bank",
         [&tones](StartedEditor& e) {
             const std::vector<std::string> names(16, "Internal");
             e.run.tones.TakePatches(1, tones, names, "Get Bank");
         }},
    };
    for (const auto& [name, replace] : replacing) {
        TempFolder data;
        EditorWithData editor(data);
        replace(editor);  // nothing unsaved yet: nothing to keep
        editor.form.cboPatches.SetText(std::string("Before ") + name);
        const BankContent unsaved = ContentOf(editor.run);
        replace(editor);
        editor.run.recovery.Flush();
        const std::vector<editor::ShelvedBank> shelf = editor.run.recovery.Shelf().List();
        ASSERT_FALSE(shelf.empty()) << name;
        EXPECT_EQ(shelf[0].replacedBy, name);
        EXPECT_NE(editor::Describe(shelf[0]).find("Before " + std::string(name)), std::string::npos)
            << editor::Describe(shelf[0]);

        const BankContent replaced = ContentOf(editor.run);
        editor.platform.QueueItemChoice(0);
        editor.run.recovery.Recover();
        EXPECT_EQ(ContentOf(editor.run), unsaved) << name;
        EXPECT_EQ(editor.run.history.UndoText(), "Undo Recover");
        editor.run.history.Undo();
        EXPECT_EQ(ContentOf(editor.run), replaced) << name;
    }
    TempFolder data;
    {
        EditorWithData ending(data);
        ending.form.cboPatches.SetText("At the end");
    }
    EditorWithData editor(data);
    ASSERT_EQ(editor.platform.Messages().size(), 1u) << "the ended editor's copy is offered";
    const std::vector<editor::ShelvedBank> shelf = editor.run.recovery.Shelf().List();
    ASSERT_FALSE(shelf.empty());
    EXPECT_EQ(shelf[0].replacedBy, "Exit");
    EXPECT_EQ(shelf[0].bank.names[0], "At the end");

    for (int i = 0; i < editor::RecoveryShelf::kKept + 3; ++i) {
        editor.form.cboPatches.SetText("Bank " + std::to_string(i));
        editor.form.cmdNew_Click();
    }
    editor.run.recovery.Flush();
    const std::vector<editor::ShelvedBank> full = editor.run.recovery.Shelf().List();
    ASSERT_EQ(full.size(), static_cast<std::size_t>(editor::RecoveryShelf::kKept));
    EXPECT_EQ(full.front().bank.names[0], "Bank 22") << "newest first";
    EXPECT_EQ(full.back().bank.names[0], "Bank 3") << "the oldest dropped";
}

// The copy holds the edit, not the reference Compare shows, whatever step writes it.
TEST(Recovery, TheCopyHoldsTheEditWhileComparing) {
    TempFolder data;
    EditorWithData editor(data);
    editor.form.cboPatches.SetListIndex(3);
    editor.Edit(77);
    const ToneRecord edited = editor.module.ScratchRecord;
    editor.run.compare.SetComparing(true);
    editor.form.cboPatches.SetText("Renamed");
    editor.run.recovery.Flush();
    const auto copy = editor::DecodeRecoveryCopy(ReadText(editor.run.recovery.CopyPath()));
    ASSERT_TRUE(copy.has_value());
    EXPECT_EQ(copy->tones[3], edited);
}

}  // namespace
}  // namespace voxtane::testing
