// Files on every system: names outside ASCII, replacing a file as a whole (also while another
// program has it open, which Windows refuses), and the recovery copies' locks.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#endif

#include "bank/atomic_file.h"
#include "bank/file_path.h"
#include "editor/recovery/copy_locks.h"
#include "test_support.h"

namespace voxtane::testing {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const std::vector<std::string> kNames = {
    "plain.syx",
    "B\xC3\xA4nk.syx",
    "\xE6\x97\xA5\xE6\x9C\xAC.syx",
    "\xE2\x98\x83 snow.syx",
    "\xF0\x9F\x8E\xB9 keys.syx",
    "e\xCC\x81 combined.syx",
};

Bytes ReadWhole(const std::string& path) {
    Bytes bytes;
    if (std::FILE* file = OpenFile(path, "rb")) {
        for (int c; (c = std::fgetc(file)) != EOF;) bytes.push_back(static_cast<std::uint8_t>(c));
        std::fclose(file);
    }
    return bytes;
}

std::vector<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(Utf8FromPath(entry.path().filename()));
    return names;
}

// Another program with `file` open (tests/file_holder.cpp) until this goes.
class HeldElsewhere {
  public:
    HeldElsewhere(const fs::path& file, const char* sharing, const fs::path& folder)
        : ready_(folder / "ready"), release_(folder / "release") {
#ifdef _WIN32
        std::wstring holder(MAX_PATH, L'\0');
        holder.resize(::GetModuleFileNameW(nullptr, holder.data(), MAX_PATH));
        holder = (fs::path(holder).parent_path() / "voxtane_file_holder.exe").wstring();
        std::wstring line = L"\"" + holder + L"\" \"" + file.wstring() + L"\" " +
                            fs::path(sharing).wstring() + L" \"" + ready_.wstring() + L"\" \"" +
                            release_.wstring() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = ::CreateProcessW(holder.c_str(), line.data(), nullptr, nullptr, FALSE, 0,
                                    nullptr, nullptr, &startup, &process_) != 0;
#else
        std::vector<std::string> all{VOXTANE_FILE_HOLDER_PATH, file.string(), sharing,
                                     ready_.string(), release_.string()};
        std::vector<char*> argv;
        for (std::string& arg : all) argv.push_back(arg.data());
        argv.push_back(nullptr);
        started_ = posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), nullptr) == 0;
#endif
        const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (started_ && !fs::exists(ready_) && !Ended() &&
               std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ready = started_ && fs::exists(ready_);
    }
    ~HeldElsewhere() {
        Release();
    }
    HeldElsewhere(const HeldElsewhere&) = delete;
    HeldElsewhere& operator=(const HeldElsewhere&) = delete;

    void Release() {
        if (!started_) return;
        started_ = false;
        if (std::FILE* release = OpenFile(Utf8FromPath(release_), "wb")) std::fclose(release);
#ifdef _WIN32
        ::WaitForSingleObject(process_.hProcess, INFINITE);
        ::CloseHandle(process_.hProcess);
        ::CloseHandle(process_.hThread);
#else
        int status = 0;
        waitpid(pid_, &status, 0);
#endif
    }

    bool ready = false;

  private:
    // Whether the holder has ended already (it could not open the file).
    bool Ended() {
#ifdef _WIN32
        return ::WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
#else
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) != pid_) return false;
        started_ = false;
        return true;
#endif
    }

    fs::path ready_;
    fs::path release_;
    bool started_ = false;
#ifdef _WIN32
    PROCESS_INFORMATION process_{};
#else
    pid_t pid_ = 0;
#endif
};

TEST(PortableFiles, NamesOutsideAsciiAreWrittenReadAndListedAsGiven) {
    TempFolder folder;
    const Bytes content{0xF0, 0x44, 0x00, 0xF7};
    for (const std::string& name : kNames) {
        const std::string path = Utf8FromPath(folder.path()) + "/" + name;
        ASSERT_TRUE(WriteFileAtomically(path, content).ok()) << name;
        EXPECT_EQ(ReadWhole(path), content) << name;
        EXPECT_TRUE(fs::exists(PathFromUtf8(path))) << name;
    }
    std::vector<std::string> listed = NamesIn(folder.path());
    std::vector<std::string> expected = kNames;
    std::sort(listed.begin(), listed.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listed, expected);
}

// Any text of code points (without NUL and the surrogate range) survives the way into a path
// and back.
TEST(PortableFiles, AnyUtf8NameSurvivesTheWayThroughAPath) {
    std::mt19937 random(24);
    const std::vector<std::pair<char32_t, char32_t>> ranges = {
        {0x20, 0x7E}, {0xA0, 0x7FF}, {0x800, 0xD7FF}, {0xE000, 0xFFFD}, {0x10000, 0x10FFFF}};
    for (int round = 0; round < 500; ++round) {
        std::string text;
        const int length = 1 + static_cast<int>(random() % 12);
        for (int i = 0; i < length; ++i) {
            const auto& [low, high] = ranges[random() % ranges.size()];
            const char32_t c = low + static_cast<char32_t>(random() % (high - low + 1));
            if (c < 0x80) {
                text += static_cast<char>(c);
            } else if (c < 0x800) {
                text += static_cast<char>(0xC0 | (c >> 6));
                text += static_cast<char>(0x80 | (c & 0x3F));
            } else if (c < 0x10000) {
                text += static_cast<char>(0xE0 | (c >> 12));
                text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                text += static_cast<char>(0x80 | (c & 0x3F));
            } else {
                text += static_cast<char>(0xF0 | (c >> 18));
                text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
                text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                text += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        ASSERT_EQ(Utf8FromPath(PathFromUtf8(text)), text);
    }
}

// Whatever was there before, the file holds the last bytes written, whole, and no temporary
// file is left beside it.
TEST(PortableFiles, EachReplaceLeavesExactlyTheLastContent) {
    TempFolder folder;
    const std::string path = Utf8FromPath(folder.path()) + "/" + kNames[4];
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        Bytes content(random() % 2000);
        for (std::uint8_t& byte : content) byte = static_cast<std::uint8_t>(random());
        ASSERT_TRUE(WriteFileAtomically(path, content, {}, DiskSync::DoNotWait).ok());
        ASSERT_EQ(ReadWhole(path), content);
        ASSERT_EQ(NamesIn(folder.path()), std::vector<std::string>{kNames[4]});
    }
}

// Linux replaces the name while the other program reads on in the old file. Windows refuses
// while the other program has not allowed deleting the file; the old content must then stay
// whole, the failure be told, and the next save after it lets go succeed.
TEST(PortableFiles, ReplacingAFileAnotherProgramHoldsKeepsOneWholeVersion) {
    for (const char* sharing : {"plain", "delete"}) {
        SCOPED_TRACE(sharing);
        TempFolder folder;
        const std::string path = Utf8FromPath(folder.path()) + "/" + kNames[1];
        const Bytes before(300, 0x11);
        const Bytes after(200, 0x22);
        ASSERT_TRUE(WriteFileAtomically(path, before).ok());
        HeldElsewhere holder(PathFromUtf8(path), sharing, folder.path());
        ASSERT_TRUE(holder.ready);

        const FileWriteResult written = WriteFileAtomically(path, after);
#ifdef _WIN32
        if (std::string(sharing) == "plain") {
            EXPECT_EQ(written.status, FileWriteStatus::ReplaceFailed);
        }
#else
        EXPECT_TRUE(written.ok()) << written.reason;
#endif
        if (written.ok()) {
            EXPECT_EQ(ReadWhole(path), after);
        } else {
            EXPECT_EQ(written.status, FileWriteStatus::ReplaceFailed);
            EXPECT_FALSE(written.reason.empty());
            EXPECT_EQ(ReadWhole(path), before);
        }
        holder.Release();
        for (const std::string& name : NamesIn(folder.path()))
            EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;
        ASSERT_TRUE(WriteFileAtomically(path, after).ok());
        EXPECT_EQ(ReadWhole(path), after);
    }
}

// A name is refused by its length in UTF-8 (with its temporary's end within every system's 255),
// in the same words on every system.
TEST(PortableFiles, NamesTooLongForEverySystemAreRefusedAlike) {
    TempFolder folder;
    const std::string folderName = Utf8FromPath(folder.path()) + "/";
    const struct {
        std::string name;
        bool written;
    } cases[] = {
        {std::string(241, 'x'), true},
        {std::string(242, 'x'), false},
        {std::string(235, 'x') + "\xC3\xA9.syx", true},
        {std::string(236, 'x') + "\xC3\xA9.syx", false},
        {[] {
             std::string accents;
             for (int i = 0; i < 121; ++i) accents += "\xC3\xA9";
             return accents;
         }(),
         false},
    };
    for (const auto& [name, written] : cases) {
        const FileWriteResult result = WriteFileAtomically(folderName + name, Bytes{1, 2, 3});
        EXPECT_EQ(result.ok(), written) << name.size() << ": " << result.reason;
        if (!written) {
            EXPECT_EQ(result.status, FileWriteStatus::CannotCreate);
            EXPECT_EQ(result.reason, "File name too long");
        }
    }
}

TEST(PortableFiles, ARecoveryLockExcludesEveryOtherUntilItGoes) {
    TempFolder folder;
    editor::FileCopyLocks locks;
    for (const std::string& name : kNames) {
        const std::string path = Utf8FromPath(folder.path()) + "/" + name + ".lock";
        std::unique_ptr<editor::HeldLock> first = locks.TryLock(path);
        ASSERT_NE(first, nullptr) << name;
        EXPECT_EQ(locks.TryLock(path), nullptr) << name;
        first.reset();
        EXPECT_NE(locks.TryLock(path), nullptr) << name;
    }
}

}  // namespace
}  // namespace voxtane::testing
