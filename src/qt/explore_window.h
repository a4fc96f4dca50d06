#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <filesystem>
#include <functional>
#include <thread>

#include "editor/linked_editor.h"
#include "editor/settings_store.h"
#include "editor/synth_audition.h"
#include "explore/exploration.h"
#include "voice/live_voice.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;

namespace voxtane::qt {

class CandidateCell;

// Where a candidate is heard: middle C on the voice of this computer, for a second.
class CandidateAudition {
  public:
    virtual ~CandidateAudition() = default;
    // False when nothing can be heard now.
    virtual bool Play(const DecodedTone& tone) = 0;
};

// Plays on the live voice that `voice` gives (none: nothing is heard), then gives the voice back
// the tone `restore` publishes once the note has died away.
class LiveVoiceAudition : public CandidateAudition {
  public:
    static constexpr int kNote = 60;
    static constexpr int kNoteMilliseconds = 1000;
    static constexpr int kRestoreMilliseconds = 2500;

    LiveVoiceAudition(std::function<voice::LiveVoice*()> voice, std::function<void()> restore);
    bool Play(const DecodedTone& tone) override;

  private:
    std::function<voice::LiveVoice*()> voice_;
    std::function<void()> restore_;
    QTimer release_;
    QTimer restoreTimer_;
    bool holding_ = false;
};

// The Explore window: 16 candidates grown from the current patch, heard, picked and grown
// again; the amount and the locks beside them; a morph between the current patch and another.
// Nothing in the bank changes until a candidate is kept, each keeping one step of the history.
// With "Audition on the synth" on, what is heard also goes to the synth's temporary area through
// `synth` (none: the box is left off and disabled). "Add to Library" adds to the library at
// `library`: the one the program was started with.
class ExploreWindow : public QWidget {
    Q_OBJECT

  public:
    ExploreWindow(editor::LinkedEditor& tones, editor::SettingsStore& settings,
                  CandidateAudition& audition, editor::SynthAudition* synth,
                  std::filesystem::path library, QWidget* parent);
    // Keeps the place of a window still open when the program ends.
    ~ExploreWindow() override;
    ExploreWindow(const ExploreWindow&) = delete;
    ExploreWindow& operator=(const ExploreWindow&) = delete;

    [[nodiscard]] explore::Exploration& Session() { return exploration_; }
    [[nodiscard]] CandidateCell& Cell(int index) const { return *cells_[index]; }
    // The candidate Keep keeps: the one last heard or moved to.
    [[nodiscard]] int Chosen() const { return chosen_; }
    // Grows generation 1 from the current patch again, with `seed`.
    void StartOver(std::uint64_t seed);
    // Grows generation 1 as children of the patches listed ("1,4,7"); false when the list names
    // no patch 1 to 16.
    bool StartFromPatches(const QString& list, std::uint64_t seed);
    // "Add to Library": the chosen candidate goes into the library as a file of its own folder
    // "Library/Explore" beside it, scanned on a worker; the status says what was done.
    void AddToLibrary();
    // An addition to the library is under way.
    [[nodiscard]] bool Adding() const { return addingNow_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QWidget* MakeGrid();
    QWidget* MakeSide();
    QWidget* MakeMorph();
    void ShowGeneration();
    void Audition(int index);
    void Move(int index, int columns, int rows);
    void Next();
    void Keep();
    void KeepInPatch();
    void KeepMorph();
    void PlayMorph();
    // Heard on this computer and, when asked for, on the synth; false when nothing was heard.
    bool Hear(const ToneRecord& tone);
    void ListMorphPatches();
    void ReadSettings();
    void WriteSettings();
    void RememberGeometry();
    [[nodiscard]] std::string CandidateName(int index) const;

    editor::LinkedEditor& tones_;
    const std::filesystem::path library_;
    editor::SettingsStore& settings_;
    CandidateAudition& audition_;
    editor::SynthAudition* synth_;
    explore::Exploration exploration_;
    std::array<CandidateCell*, explore::Exploration::kCandidates> cells_{};
    std::array<QCheckBox*, explore::kToneGroupCount> locks_{};
    QLabel* generation_ = nullptr;
    QLabel* status_ = nullptr;
    QSlider* amount_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* forward_ = nullptr;
    QSpinBox* keepPatch_ = nullptr;
    QLineEdit* startPatches_ = nullptr;
    QComboBox* morphPatch_ = nullptr;
    QSlider* morph_ = nullptr;
    QCheckBox* onSynth_ = nullptr;
    QPushButton* addButton_ = nullptr;
    bool addingNow_ = false;
    std::jthread adding_;  // joined before the window goes: it reports back to the window
    int chosen_ = 0;
    bool settingsRead_ = false;  // nothing is written back while they are read
};

}  // namespace voxtane::qt
