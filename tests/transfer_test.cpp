// Never losing a sound: Copy and Paste Patch, Import, Export, Compare and the recovery copy.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "bank/sysex_bank_writer.h"
#include "editor/transfer/patch_clipboard.h"
#include "test_support.h"
#include "user_actions.h"

namespace voxtane::testing {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

ToneRecord Tone(int seed) {
    ToneRecord tone{};
    for (int entry = 1; entry <= kToneEntries; ++entry)
        tone[entry] = static_cast<std::int16_t>((entry * 5 + seed * 3) % 16);
    return tone;
}

Bytes Dump(const ToneRecord& tone, int patch) {
    const ToneDump dump = BuildToneDump(tone, MemoryPosition(patch));
    return {dump.begin(), dump.end()};
}

std::string HexText(const Bytes& bytes) {
    return editor::HexLines(bytes);
}

TEST(PatchClipboard, CopiesAndPastesTheToneWithItsNameOrFromText) {
    StartedEditor editor;
    editor.form.cboPatches.SetListIndex(2);
    editor.form.hsFine.SetValue(21);
    editor.form.cboPatches.SetText("Warm Pad");
    const ToneRecord copied = editor.module.ScratchRecord;
    editor.run.clipboard.CopyPatch();
    EXPECT_EQ(editor.platform.Clipboard().tone.size(), 264u + 8u);
    EXPECT_EQ(editor.platform.Clipboard().text.substr(0, 20), "F0 44 00 00 70 20 60");

    editor.form.cboPatches.SetListIndex(9);
    editor.run.clipboard.PastePatch();
    EXPECT_EQ(editor.module.ScratchRecord, copied);
    EXPECT_EQ(editor.form.cboPatches.List(9), "Warm Pad");
    EXPECT_EQ(editor.run.history.UndoText(), "Undo Paste Patch");

    // Text holding the synth's answer form, as owners paste it into a message.
    Bytes answer{0xF0, 0x44, 0x00, 0x00, 0x70, 0x30};
    const Bytes dump = Dump(Tone(4), 1);
    answer.insert(answer.end(), dump.begin() + 7, dump.end());
    editor.platform.SetClipboard({{}, "look at this:\n" + HexText(answer)});
    editor.run.clipboard.PastePatch();
    EXPECT_EQ(editor.module.ScratchRecord, Tone(4));
    EXPECT_EQ(editor.form.cboPatches.List(9), "Warm Pad") << "text carries no name";

    editor.platform.ClearRecords();
    editor.platform.SetClipboard({{}, "a shopping list"});
    editor.run.clipboard.PastePatch();
    ASSERT_EQ(editor.platform.Messages().size(), 1u);
    EXPECT_EQ(editor.platform.Messages()[0].title, "Voxtane");
    EXPECT_EQ(editor.module.ScratchRecord, Tone(4));
}

TEST(BankTransfer, ImportFillsPatchesFromTheCurrentOneAndReportsWhatItSkipped) {
    StartedEditor editor;
    TempFolder folder;
    Bytes bank;
    for (int n = 1; n <= 3; ++n) {
        const Bytes dump = Dump(Tone(n), n);
        bank.insert(bank.end(), dump.begin(), dump.end());
    }
    bank.insert(bank.end(), {0xF0, 0x43, 0x10, 0x01, 0xF7});  // another maker's message
    WriteBytes(folder.File("three.syx"), bank);
    WriteText(folder.File("three.plf"), "Alpha\r\nBeta\r\nGamma\r\n");
    WriteText(folder.File("one.txt"), HexText(Dump(Tone(9), 1)));
    WriteText(folder.File("empty.txt"), "nothing here");
    const editor::history::BankContent before = editor::history::ContentOf(editor.run);

    editor.form.cboPatches.SetListIndex(13);
    const editor::TransferReport report = editor.run.transfer.ImportFiles(
        {folder.File("empty.txt"), folder.File("one.txt"), folder.File("three.syx")});
    EXPECT_EQ(report.done, 3);
    EXPECT_EQ(editor.module.PatchBank[14], Tone(9));
    EXPECT_EQ(editor.module.PatchBank[15], Tone(1));
    EXPECT_EQ(editor.module.ScratchRecord, Tone(9)) << "the current patch shows what came";
    EXPECT_EQ(editor.form.cboPatches.List(13), "one");
    EXPECT_EQ(editor.form.cboPatches.List(15), "Beta");
    const std::string notes = [&] {
        std::string all;
        for (const std::string& note : report.notes) all += note + "\n";
        return all;
    }();
    EXPECT_NE(notes.find("empty.txt holds no tone"), std::string::npos) << notes;
    EXPECT_NE(notes.find("three.syx, byte 792: skipped"), std::string::npos) << notes;
    EXPECT_NE(notes.find("three.syx, tone 3: not imported"), std::string::npos) << notes;
    editor.run.history.Undo();
    EXPECT_EQ(editor::history::ContentOf(editor.run), before);

    EXPECT_EQ(editor.run.transfer.ImportFiles({folder.File("empty.txt")}).done, 0);
    EXPECT_EQ(editor::history::ContentOf(editor.run), before)
        << "a file with no tone changes nothing";
}

TEST(BankTransfer, ExportWritesEachPatchAsASinglePatchFileAndAsksBeforeReplacing) {
    StartedEditor editor;
    TempFolder folder;
    editor.form.cboPatches.SetListIndex(1);
    editor.form.cboPatches.SetText("Bass: deep/low?");
    editor.form.hsDepth.SetValue(40);
    int asked = 0;
    const auto replace = [&asked](bool answer) {
        return [&asked, answer](int) {
            ++asked;
            return answer;
        };
    };
    EXPECT_EQ(editor.run.transfer.ExportBank(folder.path().string(), replace(false)).done, 16);
    EXPECT_EQ(asked, 0);
    const std::string second = folder.File("02 Bass_ deep_low_.syx");
    ASSERT_TRUE(fs::exists(second));
    EXPECT_EQ(ReadText(folder.File("02 Bass_ deep_low_.plf")), "Bass: deep/low?\r\n");
    StartedEditor reader;
    reader.platform.QueueFileChoice(second);
    reader.form.cmdLoad_Click();
    EXPECT_EQ(reader.module.ScratchRecord, editor.module.ScratchRecord);
    EXPECT_EQ(ReadBytes(second)[6], 0x21) << "the patch's own memory position";

    const auto written = fs::last_write_time(second);
    EXPECT_EQ(editor.run.transfer.ExportBank(folder.path().string(), replace(false)).done, 0);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(fs::last_write_time(second), written);
}

TEST(PatchCompare, ShowsTheLastLoadedToneReadOnlyAndBringsBackTheEditExactly) {
    StartedEditor editor;
    editor.form.cboPatches.SetListIndex(4);
    const ToneRecord reference = editor.module.ScratchRecord;
    editor.form.txtDCW1Lvl.SetText(2, "07");
    const ToneRecord edited = editor.module.ScratchRecord;
    editor.run.compare.SetComparing(true);
    EXPECT_EQ(editor.module.ScratchRecord, reference);
    EXPECT_EQ(editor.form.txtDCW1Lvl.Text(2), "0");
    editor.form.cmdSendOutSysex_Click();  // sends what is shown: no step, nothing changes
    EXPECT_EQ(editor.run.history.UndoText(), "Undo DCW 1 Level 3");
    editor.run.compare.SetComparing(false);
    EXPECT_EQ(editor.module.ScratchRecord, edited);
    EXPECT_EQ(editor.form.txtDCW1Lvl.Text(2), "07");

    editor.run.compare.SetComparing(true);
    editor.form.cboPatches.SetListIndex(5);
    EXPECT_FALSE(editor.run.compare.Comparing());
    EXPECT_EQ(editor.module.PatchBank[5], edited) << "the edit, not the reference, was kept";
}

// Whatever takes the current patch out of the editor takes the edit, never the reference that
// Compare shows, and ends Compare first as a save does.
TEST(PatchCompare, EndsBeforeAPatchLeavesTheEditor) {
    TempFolder folder;
    const std::vector<std::pair<const char*, std::function<ToneRecord(StartedEditor&)>>> leaving{
        {"Copy Patch",
         [](StartedEditor& editor) {
             editor.run.clipboard.CopyPatch();
             StartedEditor reader;
             reader.platform.SetClipboard(editor.platform.Clipboard());
             reader.run.clipboard.PastePatch();
             return reader.module.ScratchRecord;
         }},
        {"Export",
         [&folder](StartedEditor& editor) {
             (void)editor.run.transfer.ExportBank(folder.path().string(), [](int) { return true; });
             StartedEditor reader;
             reader.platform.QueueFileChoice(folder.File("05 Patch_5.syx"));
             reader.form.cmdLoad_Click();
             return reader.module.ScratchRecord;
         }},
        {"Tones", [](StartedEditor& editor) { return editor.run.tones.Tones()[4]; }},
    };
    for (const auto& [name, leave] : leaving) {
        StartedEditor editor;
        editor.form.cboPatches.SetListIndex(4);
        editor.form.hsDepth.SetValue(77);
        const ToneRecord edited = editor.module.ScratchRecord;
        editor.run.compare.SetComparing(true);
        ASSERT_NE(editor.module.ScratchRecord, edited);
        EXPECT_EQ(leave(editor), edited) << name;
        if (std::string(name) != "Tones") {
            EXPECT_FALSE(editor.run.compare.Comparing()) << name;
        }
    }
}

// Export writes the patches a save writes: those of the bank, or the first one after New.
TEST(BankTransfer, ExportWritesThePatchesOfTheBank) {
    for (const int count : {0, 1, 3, 16}) {
        StartedEditor editor;
        TempFolder folder;
        editor.module.PatchCount = static_cast<std::int16_t>(count);
        const editor::TransferReport report =
            editor.run.transfer.ExportBank(folder.path().string(), [](int) { return true; });
        const int expected = std::max(count, 1);
        EXPECT_EQ(report.done, expected) << count;
        EXPECT_EQ(report.wanted, expected) << count;
        int files = 0;
        for (const auto& entry : fs::directory_iterator(folder.path()))
            files += entry.path().extension() == ".syx";
        EXPECT_EQ(files, expected) << count;
    }
}

// The recovery copies in a data folder.
std::vector<fs::path> Copies(const fs::path& folder) {
    std::vector<fs::path> copies;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".vxr") copies.push_back(entry.path());
    return copies;
}

// A run that is killed after an edit leaves a copy that the next start offers back whole (at
// most the last second of edits is lost); a damaged copy is removed without a word.
TEST(Recovery, AKilledRunsEditsComeBackAtTheNextStart) {
    TempFolder data;
    // The same unsaved edits, in this process and in the child that is killed.
    const auto edit = [&data](StartedEditor& editor) {
        editor.platform.SetDataFolder(data.path().string());
        editor.run.recovery.OfferRestore();
        editor.form.cboPatches.SetListIndex(6);
        editor.form.hsRate.SetValue(66);
        editor.form.cboPatches.SetText("Unsaved");
    };
    const editor::history::BankContent expected = [&edit] {
        StartedEditor editor;
        edit(editor);
        return editor::history::ContentOf(editor.run);
    }();
    for (const fs::path& copy : Copies(data.path())) fs::remove(copy);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        StartedEditor editor;
        edit(editor);
        editor.run.recovery.Flush();
        raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_EQ(Copies(data.path()).size(), 1u);

    editor::ScriptedPlatform platform("/opt/voxtane");
    platform.SetDataFolder(data.path().string());
    platform.QueueAnswer(editor::MessageAnswer::Yes);
    editor::EditorRun run(platform);
    run.Start();
    ASSERT_EQ(platform.Messages().size(), 1u);
    EXPECT_EQ(editor::history::ContentOf(run), expected);
    EXPECT_EQ(run.module1.CurrentPatch, 7);
    EXPECT_EQ(run.history.UndoText(), "Undo Restore");
    run.form1.cmdNew_Click();
    run.recovery.Flush();
    EXPECT_TRUE(Copies(data.path()).empty()) << "New removes the copy";

    WriteText((data.path() / "recovery-0badc0b7.vxr").string(),
              editor::EncodeRecoveryCopy({}).substr(0, 300));
    editor::ScriptedPlatform quiet("/opt/voxtane");
    quiet.SetDataFolder(data.path().string());
    editor::EditorRun again(quiet);
    again.Start();
    EXPECT_TRUE(quiet.Messages().empty());
    EXPECT_TRUE(Copies(data.path()).empty());
}

}  // namespace
}  // namespace voxtane::testing
