#include "editor/history/history.h"

namespace voxtane::editor::history {

History::History(WholeEditor& editor, midi::Clock& clock) : editor_(editor), clock_(clock) {
    editor_.WatchSteps(this);
}

History::~History() {
    editor_.StopWatchingSteps(this);
}

void History::BeginStep(const std::string& name, const std::string& mergeKey) {
    if (depth_++ > 0) return;
    const EditorState* earlier = done_ > 0 ? &steps_[done_ - 1].after : nullptr;
    before_ = editor_.Capture(earlier);
    name_ = name;
    mergeKey_ = mergeKey;
}

void History::EndStep() {
    if (--depth_ > 0 || !before_) return;
    EditorState after = editor_.Capture(&*before_);
    EditorState before = std::move(*before_);
    before_.reset();
    if (!Compare(before, after).Any()) return;  // nothing changed: a cancelled or failed step
    const auto now = clock_.Now();
    Step* last = done_ > 0 ? &steps_[done_ - 1] : nullptr;
    if (mergeable_ && last != nullptr && !mergeKey_.empty() && last->mergeKey == mergeKey_ &&
        done_ == steps_.size() && now - last->at < kMergeWithin &&
        !Compare(last->after, before).Any()) {
        last->after = std::move(after);
        last->at = now;
    } else {
        steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
        steps_.push_back({name_, mergeKey_, std::move(before), std::move(after), now});
        if (steps_.size() > kMaxSteps) steps_.pop_front();
        done_ = steps_.size();
        stepAdded.Notify(steps_.back().name, steps_.back().before);
    }
    mergeable_ = true;
    changed.Notify();
}

std::string History::UndoText() const {
    return CanUndo() ? "Undo " + steps_[done_ - 1].name : std::string();
}

std::string History::RedoText() const {
    return CanRedo() ? "Redo " + steps_[done_].name : std::string();
}

void History::Apply(const EditorState& state, const Changed& changed) {
    editor_.Restore(state, changed);
    mergeable_ = false;
    editor_.CurrentToneChanged().Notify();
    this->changed.Notify();
}

void History::Undo() {
    if (!CanUndo() || depth_ > 0) return;
    // What Compare shows is no state of the history: undoing starts from the edit.
    editor_.ShowEditedView();
    const Step& step = steps_[--done_];
    Apply(step.before, Compare(step.before, step.after));
}

void History::Redo() {
    if (!CanRedo() || depth_ > 0) return;
    editor_.ShowEditedView();
    const Step& step = steps_[done_++];
    Apply(step.after, Compare(step.before, step.after));
}

void History::Clear() {
    steps_.clear();
    done_ = 0;
    mergeable_ = false;
    changed.Notify();
}

std::size_t History::BytesHeld() const {
    std::size_t bytes = sizeof(History);
    const EditorState* earlier = nullptr;
    for (const Step& step : steps_) {
        bytes += sizeof(Step) + step.name.capacity() + step.before.OwnBytes(earlier) +
                 step.after.OwnBytes(&step.before);
        earlier = &step.after;
    }
    return bytes;
}

}  // namespace voxtane::editor::history
