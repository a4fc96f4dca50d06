#pragma once

#include <string>
#include <utility>

namespace voxtane::editor {

// Told where the editor's steps begin and end: every change of the bank's content (an edit of
// a tone control, a rename, New, Load, a tone taken from elsewhere) is one step, as the history
// of undo and redo counts them. Steps nest; the outermost counts.
class StepWatcher {
  public:
    virtual ~StepWatcher() = default;
    // `mergeKey`: consecutive steps with the same key, nothing between them, may count as one
    // (a burst of typing in one box); "" never merges.
    virtual void BeginStep(const std::string& name, const std::string& mergeKey) = 0;
    virtual void EndStep() = 0;
};

// A step from here to the end of the scope; nothing when no one watches.
class StepScope {
  public:
    StepScope(StepWatcher* watcher, const std::string& name, const std::string& mergeKey = {})
        : watcher_(watcher) {
        if (watcher_ != nullptr) watcher_->BeginStep(name, mergeKey);
    }
    ~StepScope() {
        if (watcher_ != nullptr) watcher_->EndStep();
    }
    StepScope(const StepScope&) = delete;
    StepScope& operator=(const StepScope&) = delete;

  private:
    StepWatcher* watcher_;
};

}  // namespace voxtane::editor
