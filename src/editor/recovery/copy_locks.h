#pragma once

#include <memory>
#include <string>

namespace voxtane::editor {

// A lock one running editor holds on its recovery copy until it ends, however it ends: a copy
// whose lock can be taken belongs to an editor that is no longer running.
class HeldLock {
  public:
    virtual ~HeldLock() = default;
};

class CopyLocks {
  public:
    virtual ~CopyLocks() = default;
    // The lock of the lock file `path` (made when missing), or nothing while another editor
    // holds it.
    [[nodiscard]] virtual std::unique_ptr<HeldLock> TryLock(const std::string& path) = 0;
};

// File locks (flock; LockFileEx on Windows): the system drops them when their editor ends, even
// when killed.
class FileCopyLocks : public CopyLocks {
  public:
    [[nodiscard]] std::unique_ptr<HeldLock> TryLock(const std::string& path) override;
};

}  // namespace voxtane::editor
