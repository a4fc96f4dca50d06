#include "bank/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "bank/file_path.h"
#include "bank/file_replace.h"

namespace voxtane {
namespace {

namespace fs = std::filesystem;

std::string SystemMessage(int error) {
    return std::generic_category().message(error);
}

constexpr const char* kTemporaryMark = ".tmp-";
constexpr unsigned kTemporaryNumbers = 1000000000u;  // up to nine digits after the mark
// The longest name of a file that every system makes: 255 (bytes on Linux, UTF-16 units on
// Windows), less the temporary name's longer end. Checked before any system call, so that a
// name too long is refused at the same length and in the same words everywhere, and not only
// when the random number of its temporary happens to be long.
constexpr std::size_t kLongestName = 255 - 5 - 9;
constexpr const char* kNameTooLong = "File name too long";

// A name no other file in the folder has; created exclusively, so it is never shared.
std::FILE* CreateTemporaryBeside(const fs::path& target, fs::path& temporary, int& error) {
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary = target;
        temporary += kTemporaryMark + std::to_string(random() % kTemporaryNumbers);
        if (std::FILE* file = CreateNewFile(temporary, error)) return file;
        if (error != EEXIST) return nullptr;
    }
    return nullptr;
}

// A save that was killed part way leaves its temporary file behind; the next save of the same
// target clears such leftovers so that they do not pile up beside the user's files.
void RemoveLeftoverTemporaries(const fs::path& target) {
    std::error_code ec;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string prefix = Utf8FromPath(target.filename()) + kTemporaryMark;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = Utf8FromPath(it->path().filename());
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
            name.find_first_not_of("0123456789", prefix.size()) == std::string::npos) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

}  // namespace

FileWriteResult WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                                    const SaveStepWatcher& watch, DiskSync sync) {
    const auto Step = [&watch](const char* name) {
        if (watch) watch(name);
    };
    const fs::path target = PathFromUtf8(path);
    std::error_code ec;
    if (fs::is_directory(target, ec)) return {FileWriteStatus::CannotCreate, SystemMessage(EISDIR)};
    if (Utf8FromPath(target.filename()).size() > kLongestName)
        return {FileWriteStatus::CannotCreate, kNameTooLong};

    RemoveLeftoverTemporaries(target);
    fs::path temporary;
    int error = 0;
    Step("create");
    std::FILE* file = CreateTemporaryBeside(target, temporary, error);
    if (!file) return {FileWriteStatus::CannotCreate, SystemMessage(error)};

    const auto fail = [&](FileWriteStatus status, int cause) {
        if (file) std::fclose(file);
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return FileWriteResult{status, SystemMessage(cause)};
    };

    // Written in pieces so that an interruption can land between any two of them.
    constexpr std::size_t kPiece = 264;
    for (std::size_t done = 0; done < bytes.size(); done += kPiece) {
        Step("write");
        const std::size_t n = std::min(kPiece, bytes.size() - done);
        if (std::fwrite(bytes.data() + done, 1, n, file) != n)
            return fail(FileWriteStatus::WriteFailed, errno ? errno : EIO);
    }
    Step("flush");
    if (std::fflush(file) != 0) return fail(FileWriteStatus::WriteFailed, errno ? errno : EIO);
    if (sync == DiskSync::Wait) {
        if (const int synced = SyncToDisk(file); synced != 0)
            return fail(FileWriteStatus::WriteFailed, synced);
    }
    const int closed = std::fclose(file);
    file = nullptr;
    if (closed != 0) return fail(FileWriteStatus::WriteFailed, errno ? errno : EIO);

    // Keep the permissions a file being replaced had.
    const auto status = fs::status(target, ec);
    if (!ec && fs::exists(status)) fs::permissions(temporary, status.permissions(), ec);

    Step("rename");
    if (const std::error_code replaced = MoveOver(temporary, target)) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return {FileWriteStatus::ReplaceFailed, replaced.message()};
    }
    Step("done");
    return {};
}

}  // namespace voxtane
