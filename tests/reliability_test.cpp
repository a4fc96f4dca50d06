// The editor under faults and hostile input: interrupted saves, unreadable and odd files, huge
// files. Each case has a clear outcome and never crashes.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "bank/atomic_file.h"
#include "bank/sysex_bank_reader.h"
#include "test_support.h"

namespace voxtane::testing {
namespace {

namespace fs = std::filesystem;

void Load(StartedEditor& editor, const std::string& path) {
    editor.platform.QueueFileChoice(path);
    editor.form.cmdLoad_Click();
}

std::vector<fs::path> FilesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
    return files;
}

// The old bank is on disk; the editor holds an edited version and saves it over the old one.
class InterruptedSave : public ::testing::Test {
  protected:
    void SetUp() override {
        StartedEditor writer;
        writer.form.hsFine.SetValue(7);
        writer.platform.QueueFileChoice(path);
        writer.form.cmdSave_Click();
        oldBank = ReadBytes(path);
        oldNames = ReadText(namesPath);
    }
    // Saves an edit of the loaded bank, telling `watch` of every step of the save, which may end
    // the process part way.
    void SaveEdit(const SaveStepWatcher& watch = {}) {
        StartedEditor editor;
        editor.run.fileStore.watchSteps = watch;
        Load(editor, path);
        editor.form.hsFine.SetValue(41);
        editor.form.cboPatches.SetText("Edited");
        editor.form.cmdSave_Click();
    }
    TempFolder folder;
    std::string path = folder.File("bank.syx");
    std::string namesPath = folder.File("bank.plf");
    std::vector<std::uint8_t> oldBank;
    std::string oldNames;
};

TEST_F(InterruptedSave, TheTargetIsTheOldFileOrTheNewOneNeverAMix) {
    // How many steps a whole save takes, and what it writes.
    int steps = 0;
    SaveEdit([&steps](const char*) { ++steps; });
    const auto newBank = ReadBytes(path);
    const auto newNames = ReadText(namesPath);
    ASSERT_NE(newBank, oldBank);
    ASSERT_GT(steps, 10);

    for (int killAt = 1; killAt <= steps; ++killAt) {
        WriteBytes(path, oldBank);
        WriteText(namesPath, oldNames);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int step = 0;
            SaveEdit([&step, killAt](const char*) {
                if (++step == killAt) raise(SIGKILL);
            });
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the save was not interrupted at step " << killAt;

        const auto bank = ReadBytes(path);
        EXPECT_TRUE(bank == oldBank || bank == newBank) << "bank mixed at step " << killAt;
        const auto names = ReadText(namesPath);
        EXPECT_TRUE(names == oldNames || names == newNames) << "names mixed at step " << killAt;

        // The next save goes through and leaves only the two files behind.
        SaveEdit();
        EXPECT_EQ(ReadBytes(path), newBank);
        EXPECT_EQ(ReadText(namesPath), newNames);
        EXPECT_EQ(FilesIn(folder.path()).size(), 2u) << "leftovers after step " << killAt;
    }
}

class HostileInput : public ::testing::Test {
  protected:
    void ExpectNothingLoaded(const std::string& path, const std::string& why) {
        editor.platform.ClearRecords();
        Load(editor, path);
        ASSERT_EQ(editor.platform.Messages().size(), 1u);
        EXPECT_NE(editor.platform.Messages()[0].text.find(why), std::string::npos)
            << editor.platform.Messages()[0].text;
        EXPECT_EQ(editor.module.BankFileName, "");
        EXPECT_EQ(editor.module.PatchBank, before);
    }
    StartedEditor editor;
    decltype(editor.module.PatchBank) before = editor.module.PatchBank;
    TempFolder folder;
};

TEST_F(HostileInput, FoldersAndPathsThatAreNoFiles) {
    ExpectNothingLoaded(folder.path().string(), "could not be opened");
    WriteText(folder.File("plain"), "x");
    ExpectNothingLoaded(folder.File("plain") + "/inside.syx", "could not be opened");
}

TEST_F(HostileInput, AFileWithoutReadPermission) {
    const std::string path = folder.File("secret.syx");
    WriteBytes(path, {0xF0, 0xF7});
    fs::permissions(path, fs::perms::none);
    if (geteuid() != 0) {
        ExpectNothingLoaded(path, "could not be opened");
        return;
    }
    // Permissions do not stop the superuser: the load runs in a child that gave up its rights.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) _exit(2);
        StartedEditor unprivileged;
        Load(unprivileged, path);
        const auto& messages = unprivileged.platform.Messages();
        const bool refused = messages.size() == 1 &&
                             messages[0].text.find("could not be opened") != std::string::npos &&
                             unprivileged.module.BankFileName.empty();
        _exit(refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(HostileInput, SavingIntoAFolderThatCannotBeWritten) {
    std::string target;
    if (geteuid() == 0) {
        target = "/proc/voxtane-bank.syx";  // not writable, not even by the superuser
    } else {
        const fs::path readOnly = folder.path() / "read-only";
        fs::create_directories(readOnly);
        fs::permissions(readOnly, fs::perms::owner_read | fs::perms::owner_exec);
        target = (readOnly / "bank.syx").string();
    }
    editor.platform.QueueFileChoice(target);
    editor.form.cmdSaveAs_Click();
    ASSERT_EQ(editor.platform.Messages().size(), 1u);  // the bank file; its names follow it
    EXPECT_NE(editor.platform.Messages()[0].text.find(target), std::string::npos);
    EXPECT_EQ(editor.module.BankFileName, "");
    EXPECT_EQ(editor.form.Caption.Text(), "Voxtane");
}

// A message that never ends runs to the end of the file: the load reads it all but holds no
// more than a block of it at a time.
TEST_F(HostileInput, AGibibyteOfJunkLoadsInBoundedMemory) {
    const std::string path = folder.File("huge.syx");
    {
        std::ofstream out(path, std::ios::binary);
        out.put(static_cast<char>(0xF0));
    }
    fs::resize_file(path, std::uintmax_t{1} << 30);  // sparse: costs no disk

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const long before = usage.ru_maxrss;
    Load(editor, path);
    getrusage(RUSAGE_SELF, &usage);
    EXPECT_LT(usage.ru_maxrss - before, 64 * 1024) << "kilobytes grown";
    EXPECT_EQ(editor.module.PatchCount, 1);
    EXPECT_EQ(editor.module.PatchBank[1][1], 0);
    EXPECT_TRUE(editor.platform.Messages().empty());
}

TEST_F(HostileInput, ANamesFileThatIsABinaryBlob) {
    const std::string path = folder.File("blob.syx");
    std::vector<std::uint8_t> message{0xF0, 0x44, 0x00, 0x00, 0x70, 0x20, 0x20};
    message.resize(263, 0x01);
    message.push_back(0xF7);
    WriteBytes(path, message);
    std::mt19937 random(7);
    std::vector<std::uint8_t> blob(1 << 20);
    for (auto& b : blob) b = static_cast<std::uint8_t>(random());
    WriteBytes(folder.File("blob.plf"), blob);

    Load(editor, path);
    EXPECT_EQ(editor.module.PatchCount, 1);
    for (int i = 0; i < 16; ++i) {
        const std::string& name = editor.form.cboPatches.List(i);
        EXPECT_LE(name.size(), 4000u);
        EXPECT_EQ(name.find('\n'), std::string::npos);
    }
    // It saves and loads back the same.
    editor.platform.QueueFileChoice(folder.File("copy.syx"));
    editor.form.cmdSaveAs_Click();
    StartedEditor again;
    Load(again, folder.File("copy.syx"));
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(again.form.cboPatches.List(i), editor.form.cboPatches.List(i));
}

}  // namespace
}  // namespace voxtane::testing
