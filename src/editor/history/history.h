#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

#include "editor/step_watcher.h"
#include "editor/whole_editor.h"
#include "midi/clock.h"

namespace voxtane::editor::history {

// One history of undo and redo for the whole editor. Form1 says where its steps begin and end;
// each step keeps the state before and after it, and undoing puts back exactly what the step
// changed (slots, names, patch count, bank file, and the view of the patch it was made on, typed
// texts and selections included), leaving what happened since and the step did not touch.
class History : public StepWatcher, public StepEvents {
  public:
    // Steps of the same box or bar that follow each other within this time count as one.
    static constexpr auto kMergeWithin = std::chrono::seconds(2);
    static constexpr std::size_t kMaxSteps = 1000;

    History(WholeEditor& editor, midi::Clock& clock);
    ~History() override;
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    void BeginStep(const std::string& name, const std::string& mergeKey) override;
    void EndStep() override;

    [[nodiscard]] bool CanUndo() const { return done_ > 0; }
    [[nodiscard]] bool CanRedo() const { return done_ < steps_.size(); }
    // "Undo DCA 1 Rate 3", "Redo Load"; "" when there is nothing to undo or redo.
    [[nodiscard]] std::string UndoText() const;
    [[nodiscard]] std::string RedoText() const;
    void Undo();
    void Redo();
    // The next step starts afresh: no merging into the step before (a patch was selected, the
    // bank was saved).
    void Break() { mergeable_ = false; }
    // Forgets every step.
    void Clear();

    [[nodiscard]] std::size_t Steps() const { return steps_.size(); }
    [[nodiscard]] std::size_t BytesHeld() const;

  private:
    struct Step {
        std::string name;
        std::string mergeKey;
        EditorState before;
        EditorState after;
        midi::Clock::TimePoint at;
    };
    void Apply(const EditorState& state, const Changed& changed);

    WholeEditor& editor_;
    midi::Clock& clock_;
    std::deque<Step> steps_;
    std::size_t done_ = 0;  // steps_[0, done_) are done, the rest undone
    int depth_ = 0;
    std::optional<EditorState> before_;
    std::string name_;
    std::string mergeKey_;
    bool mergeable_ = false;
};

}  // namespace voxtane::editor::history
