#include "editor/recovery/copy_locks.h"

#ifdef _WIN32
#include <windows.h>

#include "bank/file_path.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace voxtane::editor {
namespace {

#ifdef _WIN32
using Descriptor = HANDLE;
void CloseDescriptor(HANDLE handle) {
    ::CloseHandle(handle);
}
#else
using Descriptor = int;
void CloseDescriptor(int descriptor) {
    ::close(descriptor);
}
#endif

class FileLock : public HeldLock {
  public:
    explicit FileLock(Descriptor descriptor) : descriptor_(descriptor) {}
    ~FileLock() override { CloseDescriptor(descriptor_); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    Descriptor descriptor_;
};

}  // namespace

#ifdef _WIN32
// A lock of the file's first byte, held through the handle: the system drops it when the handle
// closes, also when the editor is killed. The lock file may be deleted while held, as on Linux.
std::unique_ptr<HeldLock> FileCopyLocks::TryLock(const std::string& path) {
    const HANDLE handle = ::CreateFileW(PathFromUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    OVERLAPPED start{};
    if (!::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                      &start)) {
        ::CloseHandle(handle);
        return nullptr;
    }
    return std::make_unique<FileLock>(handle);
}
#else
std::unique_ptr<HeldLock> FileCopyLocks::TryLock(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0) return nullptr;
    // A lock belongs to the open file, not the process: two editors in one process exclude
    // each other as two programs do.
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        return nullptr;
    }
    return std::make_unique<FileLock>(descriptor);
}
#endif

}  // namespace voxtane::editor
