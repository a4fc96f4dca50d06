#include "editor/recovery/copy_locks.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace voxtane::editor {
namespace {

class FileLock : public HeldLock {
  public:
    explicit FileLock(int descriptor) : descriptor_(descriptor) {}
    ~FileLock() override { ::close(descriptor_); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

  private:
    int descriptor_;
};

}  // namespace

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

}  // namespace voxtane::editor
