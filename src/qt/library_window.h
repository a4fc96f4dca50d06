#pragma once

#include <QAbstractTableModel>
#include <QFileSystemWatcher>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "editor/linked_editor.h"
#include "editor/settings_store.h"
#include "library/dragged_tones.h"
#include "library/library.h"
#include "qt/explore_window.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTableView;

namespace voxtane::qt {

class CandidateCell;

// The tones a search found, one row each; only what one search returns is ever held.
class LibraryModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column { kName, kFile, kSources, kFavourite, kTags, kColumns };

    using QAbstractTableModel::QAbstractTableModel;
    // The next `count` tones of the same list from `offset` on; fewer at its end.
    using Fetch = std::function<std::vector<library::ToneEntry>(int offset, int count)>;
    // The first page of a list; `more` fetches the pages after it as the view scrolls to them
    // (none when the list is whole).
    void SetTones(std::vector<library::ToneEntry> tones, Fetch more = {}, int page = 0);
    [[nodiscard]] bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    [[nodiscard]] const library::ToneEntry& Tone(int row) const {
        return tones_[static_cast<std::size_t>(row)];
    }
    // After the owner changed what is said about a tone: its row shows it.
    void Replace(int row, library::ToneEntry tone);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;
    void sort(int column, Qt::SortOrder order) override;

    // Rows are dragged as the tones they show with their first names (library/dragged_tones.h),
    // their data read through `records`.
    using RecordSource = std::function<std::optional<ToneRecord>(const std::string& hash)>;
    void SetRecordSource(RecordSource records) { records_ = std::move(records); }
    // The tones of `rows`, in the list's order, each row once.
    [[nodiscard]] std::vector<library::DraggedTone> DraggedTones(std::vector<int> rows) const;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;
    [[nodiscard]] QStringList mimeTypes() const override;
    [[nodiscard]] QMimeData* mimeData(const QModelIndexList& indexes) const override;

  private:
    std::vector<library::ToneEntry> tones_;
    RecordSource records_;
    Fetch more_;
    int page_ = 0;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

// The Library window: every tone of the owner's folders, searched as the owner types, with a
// favourite mark and tags of the owner's, tones found in more than one place, tones that sound
// alike, and a way into the bank. Scans and measurements run on a thread of their own with a
// connection of their own; the window's connection only reads and records what the owner says.
class LibraryWindow : public QWidget {
    Q_OBJECT

  public:
    // A search lists this many tones at first, and as many again each time the list is scrolled
    // to its end.
    static constexpr int kPageRows = 500;
    static constexpr int kSearchDelayMs = 150;
    static constexpr int kSimilarCount = 50;
    // A folder changing often (files copied in) is scanned once it has been still for this long.
    static constexpr int kRescanDelayMs = 2000;

    LibraryWindow(std::filesystem::path path, editor::LinkedEditor& tones,
                  editor::SettingsStore& settings, CandidateAudition& audition, QWidget* parent);
    ~LibraryWindow() override;
    LibraryWindow(const LibraryWindow&) = delete;
    LibraryWindow& operator=(const LibraryWindow&) = delete;

    [[nodiscard]] LibraryModel& Model() { return model_; }
    [[nodiscard]] QTableView& Table() { return *table_; }
    // True while a scan or a measurement runs.
    [[nodiscard]] bool Busy() const { return working_; }
    // The folders watched for changes: every folder the last scan walked, up to kMostWatched.
    [[nodiscard]] QStringList WatchedFolders() const { return watcher_.directories(); }
    static constexpr int kMostWatched = 4096;
    // Adds the folder to the library and scans.
    void AddFolder(const QString& folder);
    void Rescan();
    // Puts the selected tones into the bank from the current patch on: one step of the history.
    void AddSelectionToBank();

  signals:
    void workFinished(const QString& summary);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void BuildControls();
    void Search();
    void ShowSelected();
    void ShowDetails(int row);
    void ChangeFavourite(bool favourite);
    void ChangeTags();
    void FindSimilar();
    // Runs `work` on the worker with a connection of its own; `done` then runs on this thread.
    void RunInBackground(std::function<QString(library::Library&)> work,
                         std::function<void()> done = {});
    void Finish();
    void WatchFolders(const std::vector<std::string>& folders);
    void Tell(const QString& text);
    void RememberGeometry();
    [[nodiscard]] int SelectedRow() const;

    std::filesystem::path path_;
    editor::LinkedEditor& tones_;
    editor::SettingsStore& settings_;
    CandidateAudition& audition_;
    std::unique_ptr<library::Library> library_;
    LibraryModel model_;

    QLineEdit* search_ = nullptr;
    QLineEdit* tagFilter_ = nullptr;
    QCheckBox* favouritesOnly_ = nullptr;
    QPushButton* duplicates_ = nullptr;
    QTableView* table_ = nullptr;
    QSplitter* splitter_ = nullptr;
    CandidateCell* graph_ = nullptr;
    QLabel* sources_ = nullptr;
    QCheckBox* favourite_ = nullptr;
    QLineEdit* tags_ = nullptr;
    QPushButton* similar_ = nullptr;
    QPushButton* addToBank_ = nullptr;
    QPushButton* rescan_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer searchDelay_;
    QFileSystemWatcher watcher_;
    QTimer rescanDelay_;

    // A similar search shows these instead of a search's results until the next search.
    bool showingSimilar_ = false;
    std::thread worker_;
    // The worker's connection, used only on the worker's thread, one task at a time.
    std::unique_ptr<library::Library> workerLibrary_;
    bool working_ = false;  // until what follows the work has run on this thread
    // Set when the window goes: the work in progress stops at its next file or batch.
    std::atomic<bool> stopping_ = false;
    bool rescanWaiting_ = false;
    std::function<void()> afterWork_;
};

// Where the library is: the path after `--library` in the program's arguments, otherwise the
// library's own default (the one the command line uses too).
[[nodiscard]] std::filesystem::path LibraryPathFromArguments(const QStringList& arguments);

}  // namespace voxtane::qt
