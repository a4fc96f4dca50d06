#pragma once

#include <memory>
#include <set>
#include <string>

#include "editor/recovery/copy_locks.h"

namespace voxtane::editor {

// Locks in memory, for tests: a path is taken while some lock of it lives, or while the test
// says another editor holds it.
class ScriptedCopyLocks : public CopyLocks {
  public:
    [[nodiscard]] std::unique_ptr<HeldLock> TryLock(const std::string& path) override;
    void HoldElsewhere(const std::string& path) { held_.insert(path); }
    void ReleaseElsewhere(const std::string& path) { held_.erase(path); }

  private:
    std::set<std::string> held_;
};

}  // namespace voxtane::editor
