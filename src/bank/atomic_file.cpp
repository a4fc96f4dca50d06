#include "bank/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace voxtane {
namespace {

namespace fs = std::filesystem;

std::string SystemMessage(int error) {
    return std::generic_category().message(error);
}

// A name no other file in the folder has; created exclusively, so it is never shared.
std::FILE* CreateTemporaryBeside(const fs::path& target, fs::path& temporary, int& error) {
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary = target;
        temporary += ".tmp-" + std::to_string(random() % 1000000000u);
        errno = 0;
        if (std::FILE* file = std::fopen(temporary.string().c_str(), "wbx")) return file;
        error = errno;
        if (error != EEXIST) return nullptr;
    }
    return nullptr;
}

// A save that was killed part way leaves its temporary file behind; the next save of the same
// target clears such leftovers so that they do not pile up beside the user's files.
void RemoveLeftoverTemporaries(const fs::path& target) {
    std::error_code ec;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string prefix = target.filename().string() + ".tmp-";
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
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
    const fs::path target(path);
    std::error_code ec;
    if (fs::is_directory(target, ec)) return {FileWriteStatus::CannotCreate, SystemMessage(EISDIR)};

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
#ifndef _WIN32
    if (sync == DiskSync::Wait && ::fsync(fileno(file)) != 0 && errno != EINVAL)
        return fail(FileWriteStatus::WriteFailed, errno);
#endif
    const int closed = std::fclose(file);
    file = nullptr;
    if (closed != 0) return fail(FileWriteStatus::WriteFailed, errno ? errno : EIO);

    // Keep the permissions a file being replaced had.
    const auto status = fs::status(target, ec);
    if (!ec && fs::exists(status)) fs::permissions(temporary, status.permissions(), ec);

    Step("rename");
    fs::rename(temporary, target, ec);
    if (ec) return fail(FileWriteStatus::ReplaceFailed, ec.value());
    Step("done");
    return {};
}

}  // namespace voxtane
