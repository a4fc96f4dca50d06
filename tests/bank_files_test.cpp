#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <random>

#include "bank/bank_check.h"
#include "bank/names_file.h"
#include "bank/sysex_bank_writer.h"
#include "memory_bank_files.h"
#include "test_support.h"

namespace voxtane::testing {
namespace {

namespace fs = std::filesystem;

// A message as the editor writes it, with data bytes that tell patch and entry apart.
std::vector<std::uint8_t> Message(int patch, int dataBytes = 256, bool withF7 = true) {
    std::vector<std::uint8_t> m{
        0xF0, 0x44, 0x00, 0x00, 0x70, 0x20, static_cast<std::uint8_t>(0x20 + patch - 1)};
    for (int k = 1; k <= dataBytes; ++k) m.push_back(static_cast<std::uint8_t>((k + patch) % 16));
    if (withF7) m.push_back(0xF7);
    return m;
}

std::vector<std::uint8_t> Bank(int patches) {
    std::vector<std::uint8_t> bytes;
    for (int p = 1; p <= patches; ++p) {
        const auto m = Message(p);
        bytes.insert(bytes.end(), m.begin(), m.end());
    }
    return bytes;
}

void Append(std::vector<std::uint8_t>& to, const std::vector<std::uint8_t>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

std::vector<std::string> Names(const editor::Form1& form) {
    std::vector<std::string> names;
    for (int i = 0; i < form.cboPatches.ListCount(); ++i) names.push_back(form.cboPatches.List(i));
    return names;
}

class BankFiles : public ::testing::Test {
  protected:
    void Load(const std::string& path) {
        editor.platform.QueueFileChoice(path);
        editor.form.cmdLoad_Click();
    }
    void ExpectSlotFromMessage(int slot, const std::vector<std::uint8_t>& message) {
        for (int k = 1; k <= kToneEntries; ++k)
            ASSERT_EQ(editor.module.PatchBank[slot][k], message[k + 6])
                << "slot " << slot << " entry " << k;
    }
    StartedEditor editor;
    ToneRecord defaults = editor.module.ScratchRecord;
    TempFolder folder;
};

TEST_F(BankFiles, LoadingSixteenMessagesFillsTheBankAndShowsPatchOne) {
    const std::string path = folder.File("strings.syx");
    WriteBytes(path, Bank(16));
    Load(path);

    ASSERT_EQ(editor.platform.Dialogs().size(), 1u);
    const auto& dialog = editor.platform.Dialogs()[0];
    EXPECT_EQ(dialog.title, "Load SysEx File");
    EXPECT_EQ(dialog.initialName, "/opt/voxtane/*.syx");
    EXPECT_TRUE(dialog.fileMustExist);
    EXPECT_TRUE(dialog.filters.empty());

    EXPECT_EQ(editor.module.PatchCount, 16);
    for (int p = 1; p <= 16; ++p) ExpectSlotFromMessage(p, Message(p));
    EXPECT_EQ(editor.form.Caption.Text(), "Voxtane [" + path + "]");
    EXPECT_EQ(editor.module.BankFileName, path);
    EXPECT_EQ(editor.module.CurrentPatch, 1);
    EXPECT_EQ(editor.form.cboPatches.ListIndex(), 0);
    EXPECT_EQ(editor.module.ScratchRecord, editor.module.PatchBank[1]);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(editor.form.cboPatches.List(i), "Patch_" + std::to_string(i + 1));
}

TEST_F(BankFiles, AShortBankKeepsTheDefaultToneAndNamesBeyondItsPatches) {
    const std::string path = folder.File("three.syx");
    WriteBytes(path, Bank(3));
    editor.form.hsFine.SetValue(12);  // an edit that must not leak into the default slots
    Load(path);
    EXPECT_EQ(editor.module.PatchCount, 3);
    const auto names = Names(editor.form);
    EXPECT_EQ(names[2], "Patch_3");
    EXPECT_EQ(names[3], "Default_4");
    EXPECT_EQ(names[15], "Default_16");
    for (int slot = 4; slot <= 16; ++slot) EXPECT_EQ(editor.module.PatchBank[slot], defaults);
}

TEST_F(BankFiles, NamesComeFromTheNamesFileWholeLineByLine) {
    const std::string path = folder.File("three.syx");
    WriteBytes(path, Bank(3));
    std::string names;
    for (int i = 1; i <= 20; ++i) names += "Name, \"" + std::to_string(i) + "\"\r\n";
    WriteText(folder.File("three.plf"), names);
    Load(path);
    const auto list = Names(editor.form);
    EXPECT_EQ(list[0], "Name, \"1\"");
    EXPECT_EQ(list[15], "Name, \"16\"");

    WriteText(folder.File("three.plf"), "Only one\r\n");
    Load(path);
    const auto one = Names(editor.form);
    EXPECT_EQ(one[0], "Only one");
    EXPECT_EQ(one[1], "Default_2");
    EXPECT_EQ(one[15], "Default_16");
}

TEST_F(BankFiles, NamesFilePathReplacesTheFileNamesExtensionAndFallsBackToTheOldPath) {
    EXPECT_EQ(NamesFilePath("/banks/strings.syx"), "/banks/strings.plf");
    EXPECT_EQ(NamesFilePath("/my.banks/a.syx"), "/my.banks/a.plf");
    EXPECT_EQ(NamesFilePath("/my.banks/bank"), "/my.banks/bank.plf");
    EXPECT_EQ(NamesFilePath("/banks/a.b.syx"), "/banks/a.b.plf");
    EXPECT_EQ(LegacyNamesFilePath("/my.banks/a.syx"), "/my.plf");
    EXPECT_EQ(LegacyNamesFilePath("/banks/bank"), "/banks/bank.plf");

    // A names file written the old way beside a dotted folder still loads.
    const fs::path dotted = folder.path() / "my.banks";
    fs::create_directories(dotted);
    const std::string path = (dotted / "a.syx").string();
    WriteBytes(path, Bank(2));
    WriteText((folder.path() / "my.plf").string(), "Old place\r\n");
    Load(path);
    EXPECT_EQ(editor.form.cboPatches.List(0), "Old place");

    // The new place wins when both exist.
    WriteText((dotted / "a.plf").string(), "New place\r\n");
    Load(path);
    EXPECT_EQ(editor.form.cboPatches.List(0), "New place");
}

TEST_F(BankFiles, NamesFilesInUtf8OrLatin1AndWithLongLines) {
    const std::string path = folder.File("enc.syx");
    WriteBytes(path, Bank(1));
    WriteText(folder.File("enc.plf"), "Caf\xE9\r\nPiano\n" + std::string(5000, 'x') + "\r\nlast");
    Load(path);
    EXPECT_EQ(editor.form.cboPatches.List(0), "Caf\xC3\xA9");
    EXPECT_EQ(editor.form.cboPatches.List(1), "Piano");
    EXPECT_EQ(editor.form.cboPatches.List(2), std::string(1000, 'x'));
    EXPECT_EQ(editor.form.cboPatches.List(3), "last");

    WriteText(folder.File("enc.plf"),
              "Br\xC3\xBC"
              "cke \xE2\x99\xAA\r\n");
    Load(path);
    EXPECT_EQ(editor.form.cboPatches.List(0),
              "Br\xC3\xBC"
              "cke \xE2\x99\xAA");
}

TEST_F(BankFiles, NamesAreWrittenInLatin1WhenTheyFitAndReadBackTheSame) {
    EXPECT_EQ(EncodeNamesFile({"Caf\xC3\xA9", "A"}), "Caf\xE9\r\nA\r\n");
    EXPECT_EQ(EncodeNamesFile({"\xE2\x99\xAA", "\xC3\xA9"}), "\xE2\x99\xAA\r\n\xC3\xA9\r\n");
    // Latin-1 bytes that would read back as UTF-8 are written as UTF-8 instead.
    const std::string tricky = "\xC3\x83\xC2\xA9";  // the two characters A-tilde and copyright
    EXPECT_EQ(EncodeNamesFile({tricky}), tricky + "\r\n");

    for (const std::string& name : {std::string("Caf\xC3\xA9"), std::string("\xE2\x99\xAA x"),
                                    tricky, std::string("ends with CR\r")}) {
        ASSERT_TRUE(WriteNamesFile(folder.File("n.plf"), {name}).ok());
        const auto read = ReadNamesFile(folder.File("n.plf"), 16);
        ASSERT_EQ(read.names.size(), 1u);
        EXPECT_EQ(read.names[0], name);
    }
}

TEST_F(BankFiles, PartialMessagesLoadAsFarAsTheyGo) {
    // A short message, a message without F7 that runs into the next, and junk after them.
    std::vector<std::uint8_t> bytes = Message(1, 100);
    auto runOn = Message(2, 256, false);
    Append(bytes, runOn);
    Append(bytes, Message(3));  // swallowed by message 2 up to its F7
    Append(bytes, Message(4));
    Append(bytes, {0x00, 0x01, 0xF0});
    Append(bytes, Message(5));
    const std::string path = folder.File("partial.syx");
    WriteBytes(path, bytes);
    Load(path);

    EXPECT_EQ(editor.module.PatchCount, 3);
    for (int k = 1; k <= 100; ++k) EXPECT_EQ(editor.module.PatchBank[1][k], Message(1)[k + 6]);
    for (int k = 101; k <= 256; ++k) EXPECT_EQ(editor.module.PatchBank[1][k], defaults[k]);
    ExpectSlotFromMessage(2, runOn);
    ExpectSlotFromMessage(3, Message(4));
    EXPECT_EQ(editor.module.PatchBank[4], defaults);
}

TEST_F(BankFiles, MoreThanSixteenMessagesLoadTheFirstSixteen) {
    auto bytes = Bank(16);
    Append(bytes, Message(1));
    const std::string path = folder.File("seventeen.syx");
    WriteBytes(path, bytes);
    Load(path);
    EXPECT_EQ(editor.module.PatchCount, 16);
    ExpectSlotFromMessage(16, Message(16));
}

TEST_F(BankFiles, AFileEndingInsideAMessageCountsAsAPatch) {
    auto bytes = Bank(1);
    Append(bytes, Message(2, 10, false));
    const std::string path = folder.File("cut.syx");
    WriteBytes(path, bytes);
    Load(path);
    EXPECT_EQ(editor.module.PatchCount, 2);
    EXPECT_EQ(editor.module.PatchBank[2][10], Message(2)[16]);
    EXPECT_EQ(editor.module.PatchBank[2][11], defaults[11]);
}

// A file that gives no patch changes nothing at all and says which file and why.
TEST_F(BankFiles, AFileThatGivesNoPatchChangesNothing) {
    editor.form.cboPatches.SetListIndex(5);
    editor.form.hsDelay.SetValue(50);
    const ToneRecord scratch = editor.module.ScratchRecord;
    const auto bank = editor.module.PatchBank;
    const auto names = Names(editor.form);

    const std::string notSysex = folder.File("text.syx");
    WriteText(notSysex, "hello");
    const std::string empty = folder.File("empty.syx");
    WriteText(empty, "");
    WriteText(folder.File("text.plf"), "Would rename\r\n");
    const std::string missing = folder.File("missing.syx");

    const std::vector<std::pair<std::string, std::string>> cases = {
        {notSysex, "does not start with F0"},
        {empty, "is empty"},
        {missing, "could not be opened"},
        {folder.path().string(), "could not be opened"},
    };
    for (const auto& [path, why] : cases) {
        editor.platform.ClearRecords();
        Load(path);
        ASSERT_EQ(editor.platform.Messages().size(), 1u) << path;
        const auto& box = editor.platform.Messages()[0];
        EXPECT_EQ(box.title, "Voxtane");
        EXPECT_NE(box.text.find(path), std::string::npos) << box.text;
        EXPECT_NE(box.text.find(why), std::string::npos) << box.text;
        EXPECT_EQ(editor.module.ScratchRecord, scratch);
        EXPECT_EQ(editor.module.PatchBank, bank);
        EXPECT_EQ(Names(editor.form), names);
        EXPECT_EQ(editor.module.PatchCount, 16);
        EXPECT_EQ(editor.form.Caption.Text(), "Voxtane");
        EXPECT_EQ(editor.form.cboPatches.ListIndex(), 5);
        EXPECT_EQ(editor.form.hsDelay.Value(), 50);
    }
}

TEST_F(BankFiles, CancellingTheDialogChangesNothing) {
    editor.form.hsDelay.SetValue(50);
    const ToneRecord scratch = editor.module.ScratchRecord;
    editor.form.cmdLoad_Click();
    editor.form.cmdSave_Click();
    EXPECT_EQ(editor.module.ScratchRecord, scratch);
    EXPECT_EQ(editor.form.Caption.Text(), "Voxtane");
    EXPECT_EQ(editor.module.PatchCount, 16);
    EXPECT_TRUE(editor.platform.Messages().empty());
    EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST_F(BankFiles, SaveAllRightAfterStartUpAsksAndWritesSixteenPatches) {
    const std::string path = folder.File("new.syx");
    editor.platform.QueueFileChoice(path);
    editor.form.cmdSave_Click();

    ASSERT_EQ(editor.platform.Dialogs().size(), 1u);
    const auto& dialog = editor.platform.Dialogs()[0];
    EXPECT_EQ(dialog.kind, editor::FileDialogKind::Save);
    EXPECT_EQ(dialog.title, "Save All");
    EXPECT_EQ(dialog.initialName, "/opt/voxtane/*.syx");
    ASSERT_EQ(dialog.filters.size(), 2u);
    EXPECT_EQ(dialog.filters[0].description, "SysEx(*.syx)");
    EXPECT_EQ(dialog.filters[1].description, "All Files(*.*)");

    const auto bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 4224u);
    for (int p = 1; p <= 16; ++p) {
        const auto dump = BuildToneDump(defaults, MemoryPosition(p));
        EXPECT_TRUE(std::equal(dump.begin(), dump.end(), bytes.begin() + 264 * (p - 1)));
    }
    std::string names;
    for (int i = 1; i <= 16; ++i) names += "Patch_" + std::to_string(i) + "\r\n";
    EXPECT_EQ(ReadText(folder.File("new.plf")), names);
    EXPECT_EQ(editor.form.Caption.Text(), "Voxtane [" + path + "]");
}

TEST_F(BankFiles, SaveAllWritesBackTheLoadedFileWithTheLatestEdit) {
    const std::string path = folder.File("three.syx");
    WriteBytes(path, Bank(3));
    Load(path);
    editor.form.cboPatches.SetListIndex(1);
    editor.form.txtDCA1Rate.SetText(2, "80");
    editor.form.cboPatches.SetText("Renamed");
    editor.platform.ClearRecords();
    editor.form.cmdSave_Click();

    EXPECT_TRUE(editor.platform.Dialogs().empty());
    const auto bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 3u * 264);
    const auto written = std::vector<std::uint8_t>(bytes.begin() + 264, bytes.begin() + 528);
    const auto dump = BuildToneDump(editor.module.ScratchRecord, MemoryPosition(2));
    EXPECT_TRUE(std::equal(dump.begin(), dump.end(), written.begin()));
    // Rate 80 in step 3 of DCA 1 is code 96 in entries 51 and 52 (plus the falling flag when
    // the file's levels fall there).
    EXPECT_EQ((written[6 + 51] + 16 * written[6 + 52]) & 127, 96);

    const std::string names = ReadText(folder.File("three.plf"));
    EXPECT_EQ(names.substr(0, 25), "Patch_1\r\nRenamed\r\nPatch_3");
    EXPECT_NE(names.find("Default_16\r\n"), std::string::npos);
    // Loading it back gives the same bank and names.
    const auto bank = editor.module.PatchBank;
    const auto list = Names(editor.form);
    StartedEditor again;
    again.platform.QueueFileChoice(path);
    again.form.cmdLoad_Click();
    EXPECT_EQ(again.module.PatchBank, bank);
    EXPECT_EQ(Names(again.form), list);
}

TEST_F(BankFiles, SaveSinglePatchWritesTheCurrentPatchWithItsOwnPosition) {
    editor.form.cboPatches.SetListIndex(1);
    const std::string path = folder.File("single.syx");
    editor.platform.QueueFileChoice(path);
    editor.form.cmdSaveSinglePatch_Click();
    EXPECT_EQ(editor.platform.Dialogs()[0].title, "Save Single Patch As");
    EXPECT_EQ(editor.platform.Dialogs()[0].initialName, "/opt/voxtane/patch.syx");
    const auto bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 264u);
    EXPECT_EQ(bytes[6], 0x21);
    EXPECT_EQ(ReadText(folder.File("single.plf")), "Patch_2\r\n");
    // The bank file stays the one for Save All.
    EXPECT_EQ(editor.module.BankFileName, "");
    EXPECT_EQ(editor.form.Caption.Text(), "Voxtane");
}

TEST_F(BankFiles, SaveSinglePatchBeyondThePatchCountStillWritesThatPatch) {
    const std::string bankPath = folder.File("three.syx");
    WriteBytes(bankPath, Bank(3));
    Load(bankPath);
    editor.form.cboPatches.SetListIndex(4);
    editor.form.hsFine.SetValue(5);
    const std::string path = folder.File("five.syx");
    editor.platform.QueueFileChoice(path);
    editor.form.cmdSaveSinglePatch_Click();
    const auto bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 264u);
    EXPECT_EQ(bytes[6], 0x24);
    const auto dump = BuildToneDump(editor.module.ScratchRecord, 0x24);
    EXPECT_TRUE(std::equal(dump.begin(), dump.end(), bytes.begin()));
    // Save All still goes to the bank file, with its three patches.
    editor.form.cmdSave_Click();
    EXPECT_EQ(ReadBytes(bankPath).size(), 3u * 264);
}

TEST_F(BankFiles, AfterNewSaveAllAsksAndRaisesThePatchCountToOne) {
    editor.form.cmdNew_Click();
    editor.form.txtDCO1Rate.SetText(0, "12");
    const std::string path = folder.File("after-new.syx");
    editor.platform.QueueFileChoice(path);
    editor.form.cmdSave_Click();
    ASSERT_EQ(editor.platform.Dialogs().size(), 1u);
    const auto bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 264u);
    EXPECT_EQ(editor.module.PatchCount, 1);
    const auto dump = BuildToneDump(editor.module.ScratchRecord, 0x20);
    EXPECT_TRUE(std::equal(dump.begin(), dump.end(), bytes.begin()));
    std::string names;
    for (int i = 1; i <= 16; ++i) names += "Default_" + std::to_string(i) + "\r\n";
    EXPECT_EQ(ReadText(folder.File("after-new.plf")), names);
}

TEST_F(BankFiles, SavingReplacesALongerFileWhole) {
    const std::string path = folder.File("long.syx");
    WriteBytes(path, Bank(16));
    Load(path);
    editor.form.cboPatches.SetListIndex(0);
    editor.module.PatchCount = 2;
    editor.form.cmdSave_Click();
    EXPECT_EQ(ReadBytes(path).size(), 528u);
    for (const auto& entry : fs::directory_iterator(folder.path()))
        EXPECT_EQ(entry.path().string().find(".tmp-"), std::string::npos) << entry.path();
}

TEST_F(BankFiles, AFailedSaveSaysWhyAndKeepsFileNameCaptionAndCount) {
    editor.form.cmdNew_Click();
    // A folder that does not exist cannot take the file, whoever runs the test.
    const std::string path = (folder.path() / "no-such-folder" / "bank.syx").string();

    editor.platform.QueueFileChoice(path);
    editor.form.cmdSaveAs_Click();
    // One message, and a true one: nothing was saved, names included.
    ASSERT_EQ(editor.platform.Messages().size(), 1u);
    EXPECT_NE(editor.platform.Messages()[0].text.find(path), std::string::npos);
    EXPECT_NE(editor.platform.Messages()[0].text.find("Nothing was saved"), std::string::npos);
    EXPECT_EQ(editor.platform.Messages()[0].text.find("without their names"), std::string::npos);
    EXPECT_EQ(editor.platform.Messages()[0].title, "Voxtane");
    EXPECT_TRUE(editor.platform.Statuses().empty());
    EXPECT_EQ(editor.module.BankFileName, "");
    EXPECT_EQ(editor.form.Caption.Text(), "Voxtane");
    EXPECT_EQ(editor.module.PatchCount, 0);
}

}  // namespace
}  // namespace voxtane::testing

namespace voxtane::testing {
namespace {

// The synth's answer as generic tools keep it: F0 44 00 00 7n 30, 256 data bytes, F7. It loads
// with every entry in place, on any channel, beside the editor's own messages; `check` names it.
TEST_F(BankFiles, TheSynthsAnswerFormLoadsWithItsEntriesInPlace) {
    for (const std::uint8_t channelByte : {0x70, 0x7A}) {
        const std::vector<std::uint8_t> dump = Message(2);
        std::vector<std::uint8_t> answer{0xF0, 0x44, 0x00, 0x00, channelByte, 0x30};
        answer.insert(answer.end(), dump.begin() + 7, dump.end());
        ASSERT_EQ(answer.size(), 263u);
        std::vector<std::uint8_t> bytes = answer;
        Append(bytes, Message(5));
        const std::string path = folder.File("answer.syx");
        WriteBytes(path, bytes);
        Load(path);
        EXPECT_EQ(editor.module.PatchCount, 2);
        ExpectSlotFromMessage(1, dump);
        ExpectSlotFromMessage(2, Message(5));

        const BankCheckResult checked = CheckSysexBank(path);
        ASSERT_FALSE(checked.deviations.empty());
        EXPECT_NE(checked.deviations.front().text.find("the synth's answer form"),
                  std::string::npos);
    }
}

// Files kept in memory are read by the same readers: any bytes, cut anywhere, load exactly as
// the same bytes in real files do, names included.
TEST(MemoryBankFiles, LoadExactlyAsTheSameFilesOnDisk) {
    std::mt19937 random(7);
    TempFolder folder;
    const std::string bankPath = folder.File("any.syx");
    for (int round = 0; round < 60; ++round) {
        // Whole messages with bytes changed at random and the stream cut anywhere.
        std::vector<std::uint8_t> bytes = Bank(1 + static_cast<int>(random() % 17));
        for (int change = static_cast<int>(random() % 8); change > 0; --change)
            bytes[random() % bytes.size()] =
                std::array<std::uint8_t, 4>{0xF0, 0xF7, 0x30, 0x7F}[random() % 4];
        bytes.resize(random() % (bytes.size() + 1));
        std::string names;
        for (int line = static_cast<int>(random() % 20); line > 0; --line)
            names += std::string(random() % 40, static_cast<char>('A' + random() % 60)) +
                     (random() % 2 ? "\r\n" : "\n");

        WriteBytes(bankPath, bytes);
        WriteText(NamesFilePath(bankPath), names);
        editor::MemoryBankFiles memory;
        memory.files[bankPath].assign(bytes.begin(), bytes.end());
        memory.files[NamesFilePath(bankPath)] = names;

        StartedEditor fromDisk;
        editor::ScriptedPlatform platform{"/opt/voxtane"};
        editor::EditorRun fromMemory(platform, &memory);
        fromMemory.Start();
        fromDisk.platform.QueueFileChoice(bankPath);
        fromDisk.form.cmdLoad_Click();
        platform.QueueFileChoice(bankPath);
        fromMemory.form1.cmdLoad_Click();

        ASSERT_EQ(fromMemory.module1.PatchBank, fromDisk.module.PatchBank) << "round " << round;
        ASSERT_EQ(fromMemory.module1.PatchCount, fromDisk.module.PatchCount);
        ASSERT_EQ(Names(fromMemory.form1), Names(fromDisk.form));
        ASSERT_EQ(platform.Messages().size(), fromDisk.platform.Messages().size());
    }
}

}  // namespace
}  // namespace voxtane::testing
