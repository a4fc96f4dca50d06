#include "qt/library_window.h"

#include <QAction>
#include <QByteArray>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QShowEvent>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "qt/candidate_cell.h"
#include "qt/path_text.h"
#include "tone/decoded_tone.h"
#include "tone/default_tone.h"

namespace voxtane::qt {
namespace {

constexpr const char* kGeometryKey = "library/geometry";
constexpr const char* kSplitterKey = "library/splitter";

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString ShownName(const library::ToneEntry& tone) {
    return tone.names.empty() ? QStringLiteral("(no name)") : Text(tone.names.front());
}

QString FirstFile(const library::ToneEntry& tone) {
    if (tone.sources.empty()) return {};
    return PathText(TextPath(Text(tone.sources.front().file)).filename());
}

QString Joined(const std::vector<std::string>& words) {
    QStringList list;
    for (const std::string& word : words) list << Text(word);
    return list.join(QStringLiteral(", "));
}

// Tags as the owner types them: separated by commas or spaces.
std::vector<std::string> Words(const QString& text) {
    std::vector<std::string> words;
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    for (const QString& word : text.split(separators, Qt::SkipEmptyParts))
        words.push_back(word.toStdString());
    return words;
}

// Thrown through the library from its progress calls to end a scan or a measurement early; its
// transaction is rolled back and the next one starts over.
struct WorkStopped {};

QString Describe(const library::LibraryResult& result) {
    return result.message.empty() ? QStringLiteral("The library could not do that.")
                                  : Text(result.message);
}

}  // namespace

void LibraryModel::SetTones(std::vector<library::ToneEntry> tones) {
    beginResetModel();
    tones_ = std::move(tones);
    endResetModel();
    if (sortColumn_ >= 0) sort(sortColumn_, sortOrder_);
}

void LibraryModel::Replace(int row, library::ToneEntry tone) {
    tones_[static_cast<std::size_t>(row)] = std::move(tone);
    emit dataChanged(index(row, 0), index(row, kColumns - 1));
}

int LibraryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(tones_.size());
}

int LibraryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant LibraryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)) return {};
    const library::ToneEntry& tone = Tone(index.row());
    switch (index.column()) {
        case kName:
            return ShownName(tone);
        case kFile:
            return FirstFile(tone);
        case kSources:
            return static_cast<int>(tone.sources.size());
        case kTags:
            return Joined(tone.tags);
        case kFavourite:
            if (role == Qt::AccessibleTextRole)
                return tone.favourite ? QStringLiteral("favourite")
                                      : QStringLiteral("not favourite");
            return tone.favourite ? QStringLiteral("\u2605") : QString();
        default:
            return {};
    }
}

QVariant LibraryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const std::array<const char*, kColumns> names{"Name", "File", "Places", "Favourite",
                                                         "Tags"};
    return QString::fromLatin1(names[static_cast<std::size_t>(section)]);
}

void LibraryModel::sort(int column, Qt::SortOrder order) {
    sortColumn_ = column;
    sortOrder_ = order;
    auto key = [column](const library::ToneEntry& tone) -> QString {
        switch (column) {
            case kName:
                return ShownName(tone).toCaseFolded();
            case kFile:
                return FirstFile(tone).toCaseFolded();
            case kSources:
                return QStringLiteral("%1").arg(tone.sources.size(), 6, 10, QChar('0'));
            case kTags:
                return Joined(tone.tags).toCaseFolded();
            default:
                return tone.favourite ? QStringLiteral("1") : QStringLiteral("0");
        }
    };
    beginResetModel();
    std::stable_sort(tones_.begin(), tones_.end(), [&](const auto& a, const auto& b) {
        return order == Qt::AscendingOrder ? key(a) < key(b) : key(b) < key(a);
    });
    endResetModel();
}

LibraryWindow::LibraryWindow(std::filesystem::path path, editor::LinkedEditor& tones,
                             editor::SettingsStore& settings, CandidateAudition& audition,
                             QWidget* parent)
    : QWidget(parent, Qt::Window),
      path_(std::move(path)),
      tones_(tones),
      settings_(settings),
      audition_(audition),
      model_(this) {
    setObjectName(QStringLiteral("LibraryWindow"));
    setWindowTitle(QStringLiteral("Library"));
    BuildControls();
    auto opened = library::Library::Open(path_);
    library_ = std::move(opened.library);
    if (!opened.result.ok()) Tell(Describe(opened.result));
    for (const std::string& note : opened.notes) Tell(Text(note));

    searchDelay_.setSingleShot(true);
    searchDelay_.setInterval(kSearchDelayMs);
    connect(&searchDelay_, &QTimer::timeout, this, &LibraryWindow::Search);
    const auto geometry = settings_.Read(kGeometryKey);
    if (!geometry || !restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(*geometry))))
        resize(900, 560);
    if (const auto state = settings_.Read(kSplitterKey))
        (void)splitter_->restoreState(QByteArray::fromBase64(QByteArray::fromStdString(*state)));
    rescanDelay_.setSingleShot(true);
    rescanDelay_.setInterval(kRescanDelayMs);
    connect(&rescanDelay_, &QTimer::timeout, this, &LibraryWindow::Rescan);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this,
            [this] { rescanDelay_.start(); });
    Search();
    // What changed in the folders since the last run comes in while the owner already searches.
    if (library_ != nullptr) Rescan();
}

LibraryWindow::~LibraryWindow() {
    if (isVisible()) RememberGeometry();
    stopping_ = true;
    if (worker_.joinable()) worker_.join();
}

void LibraryWindow::BuildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* filters = new QHBoxLayout;
    layout->addLayout(filters);
    auto* searchLabel = new QLabel(QStringLiteral("&Search:"), this);
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("txtLibrarySearch"));
    search_->setAccessibleName(QStringLiteral("Search the library"));
    search_->setPlaceholderText(QStringLiteral("names, tags, notes, files"));
    search_->setClearButtonEnabled(true);
    searchLabel->setBuddy(search_);
    auto* tagLabel = new QLabel(QStringLiteral("&Tags:"), this);
    tagFilter_ = new QLineEdit(this);
    tagFilter_->setObjectName(QStringLiteral("txtLibraryTagFilter"));
    tagFilter_->setAccessibleName(QStringLiteral("Only tones with these tags"));
    tagLabel->setBuddy(tagFilter_);
    favouritesOnly_ = new QCheckBox(QStringLiteral("&Favourites only"), this);
    favouritesOnly_->setObjectName(QStringLiteral("chkLibraryFavourites"));
    favouritesOnly_->setAccessibleName(QStringLiteral("Favourites only"));
    duplicates_ = new QPushButton(QStringLiteral("&Duplicates"), this);
    duplicates_->setObjectName(QStringLiteral("btnLibraryDuplicates"));
    duplicates_->setAccessibleName(QStringLiteral("Show only tones found in more than one place"));
    duplicates_->setCheckable(true);
    filters->addWidget(searchLabel);
    filters->addWidget(search_, 3);
    filters->addWidget(tagLabel);
    filters->addWidget(tagFilter_, 1);
    filters->addWidget(favouritesOnly_);
    filters->addWidget(duplicates_);
    for (QLineEdit* field : {search_, tagFilter_})
        connect(field, &QLineEdit::textChanged, this, [this] { searchDelay_.start(); });
    connect(favouritesOnly_, &QCheckBox::toggled, this, &LibraryWindow::Search);
    connect(duplicates_, &QPushButton::toggled, this, &LibraryWindow::Search);

    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("splLibrary"));
    layout->addWidget(splitter_, 1);
    table_ = new QTableView(splitter_);
    table_->setObjectName(QStringLiteral("tblLibrary"));
    table_->setAccessibleName(QStringLiteral("Tones found"));
    table_->setModel(&model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setColumnWidth(LibraryModel::kName, 160);
    table_->setColumnWidth(LibraryModel::kFile, 180);
    table_->setColumnWidth(LibraryModel::kSources, 60);
    table_->setColumnWidth(LibraryModel::kFavourite, 70);
    table_->setTabKeyNavigation(false);
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { ShowSelected(); });
    connect(table_, &QTableView::activated, this, [this] { AddSelectionToBank(); });

    auto* details = new QWidget(splitter_);
    auto* detailsLayout = new QVBoxLayout(details);
    graph_ = new CandidateCell(0, details);
    graph_->setObjectName(QStringLiteral("cellLibraryTone"));
    graph_->setMinimumSize(220, 150);
    // The cell names itself as a candidate of Explore and offers a mark for picking; here it
    // only shows and plays, and keeps a name of its own.
    auto nameGraph = [this] {
        graph_->setAccessibleName(QStringLiteral("Envelopes of the selected tone"));
        graph_->setAccessibleDescription(QStringLiteral("Space plays it"));
    };
    nameGraph();
    if (auto* pick = graph_->findChild<QCheckBox*>()) {
        pick->hide();
        connect(pick, &QCheckBox::toggled, graph_, nameGraph);
    }
    connect(graph_, &CandidateCell::auditioned, this, [this] { ShowSelected(); });
    sources_ = new QLabel(details);
    sources_->setObjectName(QStringLiteral("lblLibrarySources"));
    sources_->setWordWrap(true);
    sources_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    sources_->setFocusPolicy(Qt::StrongFocus);
    sources_->setAccessibleName(QStringLiteral("Where the tone is"));
    favourite_ = new QCheckBox(QStringLiteral("Fa&vourite"), details);
    favourite_->setObjectName(QStringLiteral("chkLibraryFavourite"));
    favourite_->setAccessibleName(QStringLiteral("Favourite"));
    connect(favourite_, &QCheckBox::clicked, this, &LibraryWindow::ChangeFavourite);
    auto* tagsLabel = new QLabel(QStringLiteral("Ta&gs of this tone:"), details);
    tags_ = new QLineEdit(details);
    tags_->setObjectName(QStringLiteral("txtLibraryTags"));
    tags_->setAccessibleName(QStringLiteral("Tags of this tone, separated by commas"));
    tagsLabel->setBuddy(tags_);
    connect(tags_, &QLineEdit::editingFinished, this, &LibraryWindow::ChangeTags);
    detailsLayout->addWidget(graph_, 1);
    detailsLayout->addWidget(sources_);
    detailsLayout->addWidget(favourite_);
    detailsLayout->addWidget(tagsLabel);
    detailsLayout->addWidget(tags_);
    detailsLayout->addStretch();
    splitter_->setStretchFactor(0, 3);
    splitter_->setStretchFactor(1, 2);

    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    auto addButton = [&](const char* name, const char* text, const char* spoken) {
        auto* button = new QPushButton(QString::fromUtf8(text), this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAccessibleName(QString::fromUtf8(spoken));
        buttons->addWidget(button);
        return button;
    };
    addToBank_ = addButton("btnLibraryAddToBank", "Add to &Bank",
                           "Add the selected tones to the bank from the current patch on");
    similar_ = addButton("btnLibrarySimilar", "&More Like This", "Tones that sound like this one");
    rescan_ = addButton("btnLibraryRescan", "&Rescan", "Look through the folders again");
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("lblLibraryStatus"));
    status_->setAccessibleName(QStringLiteral("Library status"));
    buttons->addWidget(status_, 1);
    connect(addToBank_, &QPushButton::clicked, this, &LibraryWindow::AddSelectionToBank);
    connect(similar_, &QPushButton::clicked, this, &LibraryWindow::FindSimilar);
    connect(rescan_, &QPushButton::clicked, this, &LibraryWindow::Rescan);
    ShowDetails(-1);
}

void LibraryWindow::Search() {
    searchDelay_.stop();
    showingSimilar_ = false;
    if (library_ == nullptr) return;
    std::vector<library::ToneEntry> found;
    library::LibraryResult result;
    bool near = false;
    if (duplicates_->isChecked()) {
        result = library_->Duplicates(found);
    } else {
        library::SearchQuery query;
        query.text = search_->text().toStdString();
        query.tags = Words(tagFilter_->text());
        query.favouritesOnly = favouritesOnly_->isChecked();
        query.limit = kMaxRows;
        library::SearchResult searched;
        result = library_->Search(query, searched);
        found = std::move(searched.tones);
        near = searched.nearMatches;
    }
    if (!result.ok()) {
        Tell(Describe(result));
        return;
    }
    const int count = static_cast<int>(found.size());
    model_.SetTones(std::move(found));
    if (!Busy())
        Tell(count == 0   ? QStringLiteral("No tone found.")
             : near       ? QStringLiteral("%1 tones spelled nearly so.").arg(count)
             : count == 1 ? QStringLiteral("1 tone.")
                          : QStringLiteral("%1 tones.").arg(count));
    ShowDetails(-1);
}

int LibraryWindow::SelectedRow() const {
    const QModelIndex current = table_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void LibraryWindow::ShowSelected() {
    const int row = SelectedRow();
    ShowDetails(row);
    if (row < 0 || library_ == nullptr) return;
    ToneRecord record{};
    if (library_->Record(model_.Tone(row).hash, record).ok())
        (void)audition_.Play(DecodeTone(record, DefaultDecodedTone()).tone);
}

void LibraryWindow::ShowDetails(int row) {
    const bool shown = row >= 0 && row < model_.rowCount();
    for (QWidget* control : std::initializer_list<QWidget*>{favourite_, tags_, addToBank_})
        control->setEnabled(shown);
    similar_->setEnabled(shown && !working_);
    if (!shown) {
        sources_->setText(QStringLiteral("No tone selected."));
        favourite_->setChecked(false);
        tags_->clear();
        graph_->ShowTone(DefaultDecodedTone());
        return;
    }
    const library::ToneEntry& tone = model_.Tone(row);
    ToneRecord record{};
    if (library_->Record(tone.hash, record).ok())
        graph_->ShowTone(DecodeTone(record, DefaultDecodedTone()).tone);
    QStringList places;
    for (const library::Source& source : tone.sources)
        places << QStringLiteral("%1, patch %2%3")
                      .arg(Text(source.file))
                      .arg(source.slot)
                      .arg(source.name.empty() ? QString()
                                               : QStringLiteral(": ") + Text(source.name));
    sources_->setText(QStringLiteral("%1\n%2").arg(ShownName(tone), places.join(QChar('\n'))));
    favourite_->setChecked(tone.favourite);
    tags_->setText(Joined(tone.tags));
}

void LibraryWindow::ChangeFavourite(bool favourite) {
    const int row = SelectedRow();
    if (row < 0) return;
    library::ToneEntry tone = model_.Tone(row);
    const auto result = library_->SetFavourite(tone.hash, favourite);
    if (!result.ok()) return Tell(Describe(result));
    tone.favourite = favourite;
    model_.Replace(row, std::move(tone));
}

void LibraryWindow::ChangeTags() {
    const int row = SelectedRow();
    if (row < 0) return;
    library::ToneEntry tone = model_.Tone(row);
    const std::vector<std::string> wanted = Words(tags_->text());
    const std::set<std::string> had(tone.tags.begin(), tone.tags.end());
    const std::set<std::string> want(wanted.begin(), wanted.end());
    std::vector<std::string> added, removed;
    std::ranges::set_difference(want, had, std::back_inserter(added));
    std::ranges::set_difference(had, want, std::back_inserter(removed));
    if (added.empty() && removed.empty()) return;
    if (!added.empty())
        if (const auto result = library_->Tag(tone.hash, added); !result.ok())
            return Tell(Describe(result));
    if (!removed.empty())
        if (const auto result = library_->Untag(tone.hash, removed); !result.ok())
            return Tell(Describe(result));
    library::ToneEntry stored;
    if (library_->Find(tone.hash, stored).ok()) model_.Replace(row, std::move(stored));
}

void LibraryWindow::AddSelectionToBank() {
    if (library_ == nullptr) return;
    std::vector<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows.push_back(index.row());
    if (rows.empty() && SelectedRow() >= 0) rows.push_back(SelectedRow());
    std::ranges::sort(rows);
    const int first = tones_.CurrentPatch();
    rows.resize(std::min(rows.size(), static_cast<std::size_t>(kBankSlots - first + 1)));
    std::vector<ToneRecord> records;
    std::vector<std::string> names;
    for (const int row : rows) {
        ToneRecord record{};
        if (!library_->Record(model_.Tone(row).hash, record).ok()) continue;
        records.push_back(record);
        const auto& tone = model_.Tone(row);
        names.push_back(tone.names.empty() ? std::string() : tone.names.front());
    }
    if (records.empty()) return;
    tones_.TakePatches(first, records, names,
                       records.size() == 1 ? "Add from Library" : "Add Tones from Library");
    Tell(records.size() == 1 ? QStringLiteral("Added to patch %1.").arg(first)
                             : QStringLiteral("Added to patches %1 to %2.")
                                   .arg(first)
                                   .arg(first + static_cast<int>(records.size()) - 1));
}

void LibraryWindow::AddFolder(const QString& folder) {
    if (library_ == nullptr) return;
    const auto result = library_->AddFolders({folder.toStdString()});
    if (!result.ok()) return Tell(Describe(result));
    Rescan();
}

void LibraryWindow::Rescan() {
    if (Busy()) {
        rescanWaiting_ = true;
        return;
    }
    Tell(QStringLiteral("Scanning..."));
    RunInBackground(
        [this](library::Library& library) {
            library::ScanReport report;
            library::ScanOptions options;
            options.afterFile = [this](const std::string&) {
                if (stopping_) throw WorkStopped{};
            };
            options.progress = [this](int done, int total) {
                QMetaObject::invokeMethod(
                    this,
                    [this, done, total] {
                        Tell(QStringLiteral("Scanning: %1 of %2 files...").arg(done).arg(total));
                    },
                    Qt::QueuedConnection);
            };
            const auto result = library.Scan(report, options);
            if (!result.ok()) return Describe(result);
            return QStringLiteral("Scanned: %1 files read, %2 tones, %3 new, %4 skipped.")
                .arg(report.filesRead)
                .arg(report.tonesFound)
                .arg(report.newTones)
                .arg(report.skipped.size());
        },
        [this] {
            WatchFolders();
            if (!showingSimilar_) Search();
        });
}

void LibraryWindow::FindSimilar() {
    const int row = SelectedRow();
    if (row < 0 || Busy() || library_ == nullptr) return;
    ToneRecord record{};
    if (!library_->Record(model_.Tone(row).hash, record).ok()) return;
    auto found = std::make_shared<std::vector<library::SimilarTone>>();
    Tell(QStringLiteral("Measuring..."));
    RunInBackground(
        [this, record, found](library::Library& library) {
            int computed = 0;
            const auto measured = library.ComputeFeatures(computed, [this](int done, int total) {
                if (stopping_) throw WorkStopped{};
                QMetaObject::invokeMethod(
                    this,
                    [this, done, total] {
                        Tell(QStringLiteral("Measuring: %1 of %2 tones...").arg(done).arg(total));
                    },
                    Qt::QueuedConnection);
            });
            if (!measured.ok()) return Describe(measured);
            const auto result = library.Similar(record, kSimilarCount, *found);
            if (!result.ok()) return Describe(result);
            return QStringLiteral("%1 tones that sound alike, nearest first.").arg(found->size());
        },
        [this, found] {
            std::vector<library::ToneEntry> tones;
            for (auto& similar : *found) tones.push_back(std::move(similar.tone));
            table_->sortByColumn(-1, Qt::AscendingOrder);
            model_.SetTones(std::move(tones));
            showingSimilar_ = true;
            ShowDetails(-1);
        });
}

void LibraryWindow::RunInBackground(std::function<QString(library::Library&)> work,
                                    std::function<void()> done) {
    if (worker_.joinable()) worker_.join();
    working_ = true;
    similar_->setEnabled(false);
    afterWork_ = std::move(done);
    rescan_->setEnabled(false);
    worker_ = std::thread([this, path = path_, work = std::move(work)] {
        QString summary;
        try {
            auto opened = library::Library::Open(path);
            summary = opened.library != nullptr ? work(*opened.library) : Describe(opened.result);
        } catch (const WorkStopped&) {
            summary = QStringLiteral("Stopped.");
        }
        QMetaObject::invokeMethod(
            this,
            [this, summary] {
                Tell(summary);
                Finish();
                emit workFinished(summary);
            },
            Qt::QueuedConnection);
    });
}

void LibraryWindow::Finish() {
    if (worker_.joinable()) worker_.join();
    working_ = false;
    rescan_->setEnabled(true);
    similar_->setEnabled(SelectedRow() >= 0);
    if (auto after = std::exchange(afterWork_, {})) after();
    if (std::exchange(rescanWaiting_, false)) Rescan();
}

// Only the folders themselves are watched, not every folder below them: a change below shows at
// the next Rescan or start.
void LibraryWindow::WatchFolders() {
    if (library_ == nullptr) return;
    QStringList folders;
    for (const std::string& folder : library_->Folders()) folders << Text(folder);
    if (!watcher_.directories().isEmpty()) (void)watcher_.removePaths(watcher_.directories());
    if (!folders.isEmpty()) (void)watcher_.addPaths(folders);
}

void LibraryWindow::Tell(const QString& text) {
    status_->setText(text);
    status_->setAccessibleDescription(text);
}

void LibraryWindow::RememberGeometry() {
    settings_.Write(kGeometryKey, saveGeometry().toBase64().toStdString());
    settings_.Write(kSplitterKey, splitter_->saveState().toBase64().toStdString());
}

void LibraryWindow::hideEvent(QHideEvent* event) {
    RememberGeometry();
    QWidget::hideEvent(event);
}

void LibraryWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    search_->setFocus();
}

std::filesystem::path LibraryPathFromArguments(const QStringList& arguments) {
    const auto at = arguments.indexOf(QStringLiteral("--library"));
    if (at >= 0 && at + 1 < arguments.size()) return TextPath(arguments[at + 1]);
    return library::Library::DefaultPath();
}

}  // namespace voxtane::qt
