#include "scripted_copy_locks.h"

#include <utility>

namespace voxtane::editor {
namespace {

class ScriptedLock : public HeldLock {
  public:
    ScriptedLock(std::set<std::string>& held, std::string path)
        : held_(held), path_(std::move(path)) {
        held_.insert(path_);
    }
    ~ScriptedLock() override { held_.erase(path_); }
    ScriptedLock(const ScriptedLock&) = delete;
    ScriptedLock& operator=(const ScriptedLock&) = delete;

  private:
    std::set<std::string>& held_;
    std::string path_;
};

}  // namespace

std::unique_ptr<HeldLock> ScriptedCopyLocks::TryLock(const std::string& path) {
    if (held_.count(path) != 0) return nullptr;
    return std::make_unique<ScriptedLock>(held_, path);
}

}  // namespace voxtane::editor
