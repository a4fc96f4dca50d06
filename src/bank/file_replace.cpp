#include "bank/file_replace.h"

#include <cerrno>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace voxtane {

#ifdef _WIN32

std::FILE* CreateNewFile(const std::filesystem::path& path, int& error) {
    const int descriptor =
        ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (descriptor < 0) {
        error = errno;
        return nullptr;
    }
    std::FILE* file = ::_fdopen(descriptor, "wb");
    if (file == nullptr) {
        error = errno;
        ::_close(descriptor);
    }
    return file;
}

int SyncToDisk(std::FILE* file) {
    return ::_commit(::_fileno(file)) == 0 ? 0 : errno;
}

std::error_code MoveOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    return {static_cast<int>(::GetLastError()), std::system_category()};
}

#else

std::FILE* CreateNewFile(const std::filesystem::path& path, int& error) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "wbx");
    if (file == nullptr) error = errno;
    return file;
}

int SyncToDisk(std::FILE* file) {
    // EINVAL: a file system (a pipe, a special file) that cannot be synchronised at all.
    return ::fsync(::fileno(file)) == 0 || errno == EINVAL ? 0 : errno;
}

std::error_code MoveOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    return ec;
}

#endif

}  // namespace voxtane
