#include "qt/explore_window.h"

#include <QByteArray>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QShowEvent>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "explore/explore_random.h"
#include "explore/operations.h"
#include "library/own_tones.h"
#include "qt/candidate_cell.h"
#include "qt/path_text.h"
#include "tone/default_tone.h"

namespace voxtane::qt {

namespace {

constexpr int kColumns = 4;
constexpr const char* kAmountKey = "explore/amount";
constexpr const char* kLocksKey = "explore/locks";
constexpr const char* kMorphPatchKey = "explore/morphPatch";
constexpr const char* kGeometryKey = "explore/geometry";
constexpr const char* kOnSynthKey = "explore/auditionOnSynth";

DecodedTone Decoded(const ToneRecord& record) {
    return DecodeTone(record, DefaultDecodedTone()).tone;
}

QPushButton* AddButton(QLayout& layout, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    layout.addWidget(button);
    return button;
}

}  // namespace

LiveVoiceAudition::LiveVoiceAudition(std::function<voice::LiveVoice*()> voice,
                                     std::function<void()> restore)
    : voice_(std::move(voice)), restore_(std::move(restore)) {
    release_.setSingleShot(true);
    restoreTimer_.setSingleShot(true);
    QObject::connect(&release_, &QTimer::timeout, [this] {
        if (voice::LiveVoice* voice = voice_()) voice->Release(kNote);
        holding_ = false;
        restoreTimer_.start(kRestoreMilliseconds);
    });
    QObject::connect(&restoreTimer_, &QTimer::timeout, [this] { restore_(); });
}

bool LiveVoiceAudition::Play(const DecodedTone& tone) {
    voice::LiveVoice* voice = voice_();
    if (voice == nullptr) return false;
    restoreTimer_.stop();
    voice->Publish(tone);
    // A new tone while the note sounds changes its sound at once: a morph is heard as it moves.
    if (!holding_) voice->Press(kNote);
    holding_ = true;
    release_.start(kNoteMilliseconds);
    return true;
}

ExploreWindow::ExploreWindow(editor::LinkedEditor& tones, editor::SettingsStore& settings,
                             CandidateAudition& audition, editor::SynthAudition* synth,
                             std::filesystem::path library, QWidget* parent)
    : QWidget(parent, Qt::Window),
      tones_(tones),
      library_(std::move(library)),
      settings_(settings),
      audition_(audition),
      synth_(synth) {
    setObjectName(QStringLiteral("ExploreWindow"));
    setWindowTitle(QStringLiteral("Explore"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(MakeGrid(), 1);
    layout->addWidget(MakeSide());
    ReadSettings();
    const auto geometry = settings_.Read(kGeometryKey);
    if (!geometry || !restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(*geometry))))
        resize(900, 640);
    // Tab goes through the grid first, then down the side.
    QWidget* previous = cells_[0];
    for (std::size_t i = 1; i < cells_.size(); ++i) {
        setTabOrder(previous, cells_[i]);
        previous = cells_[i];
    }
}

QWidget* ExploreWindow::MakeGrid() {
    auto* grid = new QWidget;
    grid->setObjectName(QStringLiteral("CandidateGrid"));
    grid->setAccessibleName(QStringLiteral("Candidates"));
    auto* layout = new QGridLayout(grid);
    for (int i = 0; i < explore::Exploration::kCandidates; ++i) {
        auto* cell = new CandidateCell(i, grid);
        cells_[static_cast<std::size_t>(i)] = cell;
        layout->addWidget(cell, i / kColumns, i % kColumns);
        connect(cell, &CandidateCell::auditioned, this, &ExploreWindow::Audition);
        connect(cell, &CandidateCell::moveAsked, this, &ExploreWindow::Move);
    }
    return grid;
}

QWidget* ExploreWindow::MakeSide() {
    auto* side = new QWidget;
    auto* column = new QVBoxLayout(side);
    generation_ = new QLabel;
    generation_->setObjectName(QStringLiteral("lblGeneration"));
    column->addWidget(generation_);

    auto* amountLabel = new QLabel(QStringLiteral("&Amount of change"));
    amount_ = new QSlider(Qt::Horizontal);
    amount_->setObjectName(QStringLiteral("sldAmount"));
    amount_->setAccessibleName(QStringLiteral("Amount of change"));
    amount_->setRange(0, 100);
    amount_->setPageStep(10);
    amountLabel->setBuddy(amount_);
    column->addWidget(amountLabel);
    column->addWidget(amount_);
    connect(amount_, &QSlider::valueChanged, this, [this](int value) {
        exploration_.amount = value * explore::kPermille / 100;
        WriteSettings();
    });

    auto* lockBox = new QGroupBox(QStringLiteral("Locks: never change"));
    lockBox->setObjectName(QStringLiteral("grpLocks"));
    auto* lockColumn = new QVBoxLayout(lockBox);
    for (int g = 0; g < explore::kToneGroupCount; ++g) {
        const explore::ToneGroup group = explore::ToneGroupAt(g);
        auto* lock = new QCheckBox(
            QString::fromUtf8(explore::ToneGroupCaption(group).data(),
                              static_cast<qsizetype>(explore::ToneGroupCaption(group).size())));
        lock->setObjectName(QStringLiteral("chkLock_%1")
                                .arg(QString::fromLatin1(
                                    explore::kToneGroupNames[static_cast<std::size_t>(g)].data())));
        lock->setAccessibleName(QStringLiteral("Lock ") + lock->text());
        locks_[static_cast<std::size_t>(g)] = lock;
        lockColumn->addWidget(lock);
        connect(lock, &QCheckBox::toggled, this, [this, group](bool on) {
            exploration_.locks.Lock(group, on);
            WriteSettings();
        });
    }
    column->addWidget(lockBox);

    onSynth_ = new QCheckBox(QStringLiteral("Audition on the s&ynth"));
    onSynth_->setObjectName(QStringLiteral("chkAuditionOnSynth"));
    onSynth_->setToolTip(
        QStringLiteral("Also send each candidate heard to the synth's temporary area"));
    onSynth_->setEnabled(synth_ != nullptr);
    column->addWidget(onSynth_);
    connect(onSynth_, &QCheckBox::toggled, this, [this] { WriteSettings(); });

    auto* walk = new QHBoxLayout;
    back_ = AddButton(*walk, "btnBack", QStringLiteral("&Back"));
    forward_ = AddButton(*walk, "btnForward", QStringLiteral("&Forward"));
    column->addLayout(walk);
    QPushButton* next = AddButton(*column, "btnNext", QStringLiteral("&Next Generation"));
    next->setToolTip(QStringLiteral("Grow 16 new candidates from the picked ones"));
    QPushButton* again = AddButton(*column, "btnStartOver", QStringLiteral("&Start Over"));
    again->setToolTip(QStringLiteral("Grow 16 candidates from the current patch again"));
    connect(back_, &QPushButton::clicked, this, [this] {
        if (exploration_.Back()) ShowGeneration();
    });
    connect(forward_, &QPushButton::clicked, this, [this] {
        if (exploration_.Forward()) ShowGeneration();
    });
    connect(next, &QPushButton::clicked, this, &ExploreWindow::Next);
    connect(again, &QPushButton::clicked, this,
            [this] { StartOver(QRandomGenerator::global()->generate64()); });

    auto* fromRow = new QHBoxLayout;
    startPatches_ = new QLineEdit;
    startPatches_->setObjectName(QStringLiteral("txtStartPatches"));
    startPatches_->setAccessibleName(QStringLiteral("Patches to start from"));
    startPatches_->setPlaceholderText(QStringLiteral("1,4,7"));
    fromRow->addWidget(startPatches_);
    QPushButton* from = AddButton(*fromRow, "btnStartFrom", QStringLiteral("Start from Patc&hes"));
    from->setToolTip(QStringLiteral("Grow 16 children of the patches listed"));
    column->addLayout(fromRow);
    connect(from, &QPushButton::clicked, this, [this] {
        if (!StartFromPatches(startPatches_->text(), QRandomGenerator::global()->generate64()))
            status_->setText(QStringLiteral("List patches 1 to 16, such as 1,4,7"));
    });

    QPushButton* keep = AddButton(*column, "btnKeep", QStringLiteral("&Keep"));
    keep->setToolTip(QStringLiteral("Put the chosen candidate into the current patch"));
    connect(keep, &QPushButton::clicked, this, &ExploreWindow::Keep);
    auto* keepRow = new QHBoxLayout;
    QPushButton* keepIn = AddButton(*keepRow, "btnKeepIn", QStringLiteral("Keep in &Patch"));
    keepPatch_ = new QSpinBox;
    keepPatch_->setObjectName(QStringLiteral("spnKeepPatch"));
    keepPatch_->setAccessibleName(QStringLiteral("Patch to keep in"));
    keepPatch_->setRange(1, kBankSlots);
    keepRow->addWidget(keepPatch_);
    column->addLayout(keepRow);
    connect(keepIn, &QPushButton::clicked, this, &ExploreWindow::KeepInPatch);
    addButton_ = AddButton(*column, "btnAddToLibrary", QStringLiteral("Add to &Library"));
    addButton_->setToolTip(
        QStringLiteral("Put the chosen candidate into the library, in its folder Explore"));
    connect(addButton_, &QPushButton::clicked, this, &ExploreWindow::AddToLibrary);

    column->addWidget(MakeMorph());
    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("lblExploreStatus"));
    status_->setWordWrap(true);
    column->addWidget(status_);
    column->addStretch();
    return side;
}

QWidget* ExploreWindow::MakeMorph() {
    auto* box = new QGroupBox(QStringLiteral("Morph from the current patch"));
    box->setObjectName(QStringLiteral("grpMorph"));
    auto* column = new QVBoxLayout(box);
    auto* label = new QLabel(QStringLiteral("&To patch"));
    morphPatch_ = new QComboBox;
    morphPatch_->setObjectName(QStringLiteral("cboMorphPatch"));
    morphPatch_->setAccessibleName(QStringLiteral("Morph to patch"));
    label->setBuddy(morphPatch_);
    morph_ = new QSlider(Qt::Horizontal);
    morph_->setObjectName(QStringLiteral("sldMorph"));
    morph_->setAccessibleName(QStringLiteral("Morph position"));
    morph_->setRange(0, 100);
    morph_->setPageStep(10);
    column->addWidget(label);
    column->addWidget(morphPatch_);
    column->addWidget(morph_);
    QPushButton* keep = AddButton(*column, "btnKeepMorph", QStringLiteral("Keep &Morph"));
    keep->setToolTip(QStringLiteral("Put the tone between the two patches into the current one"));
    connect(morph_, &QSlider::valueChanged, this, &ExploreWindow::PlayMorph);
    connect(morphPatch_, &QComboBox::activated, this, [this] {
        WriteSettings();
        PlayMorph();
    });
    connect(keep, &QPushButton::clicked, this, &ExploreWindow::KeepMorph);
    return box;
}

ExploreWindow::~ExploreWindow() {
    if (isVisible()) RememberGeometry();
}

void ExploreWindow::RememberGeometry() {
    settings_.Write(kGeometryKey, saveGeometry().toBase64().toStdString());
}

void ExploreWindow::hideEvent(QHideEvent* event) {
    RememberGeometry();
    QWidget::hideEvent(event);
}

void ExploreWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ListMorphPatches();
    if (!exploration_.Started()) StartOver(QRandomGenerator::global()->generate64());
}

void ExploreWindow::StartOver(std::uint64_t seed) {
    exploration_.Start(tones_.CurrentTone(), seed);
    ShowGeneration();
}

bool ExploreWindow::StartFromPatches(const QString& list, std::uint64_t seed) {
    const editor::BankTones bank = tones_.Tones();
    std::vector<ToneRecord> parents;
    for (const QString& item : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool number = false;
        const int patch = item.trimmed().toInt(&number);
        if (!number || patch < 1 || patch > kBankSlots) return false;
        parents.push_back(bank[static_cast<std::size_t>(patch - 1)]);
    }
    if (parents.empty()) return false;
    exploration_.Start(std::move(parents), seed);
    ShowGeneration();
    return true;
}

void ExploreWindow::ShowGeneration() {
    const std::vector<explore::Explored>& candidates = exploration_.Candidates();
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        cells_[i]->SetPicked(false);
        if (i < candidates.size()) cells_[i]->ShowTone(Decoded(candidates[i].tone));
    }
    generation_->setText(
        QStringLiteral("Generation %1 of %2").arg(exploration_.Shown()).arg(exploration_.Count()));
    back_->setEnabled(exploration_.Shown() > 1);
    forward_->setEnabled(exploration_.Shown() < exploration_.Count());
}

void ExploreWindow::Audition(int index) {
    chosen_ = index;
    const std::vector<explore::Explored>& candidates = exploration_.Candidates();
    if (index < 0 || index >= static_cast<int>(candidates.size())) return;
    const bool heard = Hear(candidates[static_cast<std::size_t>(index)].tone);
    status_->setText(heard ? QStringLiteral("Playing candidate %1").arg(index + 1)
                           : QStringLiteral("Open Synth > Voice (F5) with Play on this computer "
                                            "on to hear the candidates"));
}

void ExploreWindow::Move(int index, int columns, int rows) {
    const int column = std::clamp(index % kColumns + columns, 0, kColumns - 1);
    const int row = std::clamp(index / kColumns + rows, 0, kColumns - 1);
    chosen_ = row * kColumns + column;
    cells_[static_cast<std::size_t>(chosen_)]->setFocus(Qt::TabFocusReason);
}

void ExploreWindow::Next() {
    std::vector<int> picked;
    for (const CandidateCell* cell : cells_)
        if (cell->Picked()) picked.push_back(cell->Index());
    exploration_.Next(picked);
    ShowGeneration();
    status_->setText(picked.empty() ? QStringLiteral("Nothing picked: grown again")
                                    : QStringLiteral("Grown from %1 picked").arg(picked.size()));
}

std::string ExploreWindow::CandidateName(int index) const {
    return "candidate " + std::to_string(index + 1) + " of generation " +
           std::to_string(exploration_.Shown());
}

void ExploreWindow::Keep() {
    const std::vector<explore::Explored>& candidates = exploration_.Candidates();
    if (chosen_ >= static_cast<int>(candidates.size())) return;
    tones_.TakeTone(candidates[static_cast<std::size_t>(chosen_)].tone, std::nullopt,
                    "Keep Explored Tone");
    status_->setText(QStringLiteral("Kept %1 in the current patch")
                         .arg(QString::fromStdString(CandidateName(chosen_))));
}

void ExploreWindow::KeepInPatch() {
    const std::vector<explore::Explored>& candidates = exploration_.Candidates();
    if (chosen_ >= static_cast<int>(candidates.size())) return;
    const int patch = keepPatch_->value();
    const std::array<ToneRecord, 1> tone{candidates[static_cast<std::size_t>(chosen_)].tone};
    tones_.TakePatches(patch, tone, {}, "Keep Explored Tone in Patch " + std::to_string(patch));
    status_->setText(QStringLiteral("Kept %1 in patch %2")
                         .arg(QString::fromStdString(CandidateName(chosen_)))
                         .arg(patch));
}

void ExploreWindow::AddToLibrary() {
    const std::vector<explore::Explored>& candidates = exploration_.Candidates();
    if (addingNow_ || chosen_ >= static_cast<int>(candidates.size())) return;
    const ToneRecord tone = candidates[static_cast<std::size_t>(chosen_)].tone;
    const std::string name =
        tones_.Name(tones_.CurrentPatch()) + " x" + std::to_string(chosen_ + 1);
    addingNow_ = true;
    addButton_->setEnabled(false);
    status_->setText(QStringLiteral("Adding to the library..."));
    // The scan walks every folder of the library: not on the window's thread.
    adding_ = std::jthread([this, tone, name] {
        const library::AddedTone added = library::AddToneToLibrary(library_, "Explore", tone, name);
        QMetaObject::invokeMethod(this, [this, added] {
            if (adding_.joinable()) adding_.join();
            addingNow_ = false;
            addButton_->setEnabled(true);
            const QString file = PathText(added.file.filename());
            const QString folder = PathText(added.file.parent_path());
            switch (added.outcome) {
                case library::AddOutcome::Added:
                    status_->setText(QStringLiteral("Added to the library as \"%1\" in %2%3")
                                         .arg(file, folder,
                                              added.folderAdded
                                                  ? QStringLiteral(", a folder new to the library")
                                                  : QString()));
                    break;
                case library::AddOutcome::NotWritten:
                    status_->setText(QStringLiteral("Not added to the library: %1 could not be "
                                                    "written (%2)")
                                         .arg(file.isEmpty() ? folder : file,
                                              QString::fromStdString(added.reason)));
                    break;
                case library::AddOutcome::LibraryFailed:
                    status_->setText(
                        QStringLiteral("Written as \"%1\" in %2, but the library could "
                                       "not take it (%3)")
                            .arg(file, folder, QString::fromStdString(added.reason)));
                    break;
            }
        });
    });
}

void ExploreWindow::ListMorphPatches() {
    const int chosen = std::max(0, morphPatch_->currentIndex());
    morphPatch_->clear();
    for (int patch = 1; patch <= kBankSlots; ++patch)
        morphPatch_->addItem(
            QStringLiteral("%1 %2").arg(patch).arg(QString::fromStdString(tones_.Name(patch))));
    morphPatch_->setCurrentIndex(chosen);
}

void ExploreWindow::PlayMorph() {
    const editor::BankTones bank = tones_.Tones();
    const ToneRecord& partner = bank[static_cast<std::size_t>(morphPatch_->currentIndex())];
    const explore::Explored morphed =
        explore::Morph(tones_.CurrentTone(), partner, morph_->value() * explore::kPermille / 100);
    (void)Hear(morphed.tone);
}

bool ExploreWindow::Hear(const ToneRecord& tone) {
    const bool onSynth = synth_ != nullptr && onSynth_->isChecked();
    if (onSynth) synth_->AuditionOnSynth(tone);
    return audition_.Play(Decoded(tone)) || onSynth;
}

void ExploreWindow::KeepMorph() {
    const editor::BankTones bank = tones_.Tones();
    const ToneRecord& partner = bank[static_cast<std::size_t>(morphPatch_->currentIndex())];
    const int at = morph_->value() * explore::kPermille / 100;
    tones_.TakeTone(explore::Morph(tones_.CurrentTone(), partner, at).tone, std::nullopt,
                    "Keep Morph");
    morph_->setValue(0);  // the current patch is now the morph: the slider starts from it
    status_->setText(QStringLiteral("Kept the morph in the current patch"));
}

void ExploreWindow::ReadSettings() {
    const std::string amount = settings_.Read(kAmountKey).value_or("30");
    amount_->setValue(std::clamp(std::atoi(amount.c_str()), 0, 100));
    exploration_.amount = amount_->value() * explore::kPermille / 100;
    std::string unknown;
    const explore::GroupLocks locks =
        explore::ParseGroupLocks(settings_.Read(kLocksKey).value_or(""), unknown)
            .value_or(explore::GroupLocks{});
    for (int g = 0; g < explore::kToneGroupCount; ++g)
        locks_[static_cast<std::size_t>(g)]->setChecked(locks.Locked(explore::ToneGroupAt(g)));
    exploration_.locks = locks;
    ListMorphPatches();
    const std::string morphPatch = settings_.Read(kMorphPatchKey).value_or("2");
    morphPatch_->setCurrentIndex(std::clamp(std::atoi(morphPatch.c_str()), 1, kBankSlots) - 1);
    onSynth_->setChecked(synth_ != nullptr && settings_.Read(kOnSynthKey).value_or("0") == "1");
    settingsRead_ = true;
}

void ExploreWindow::WriteSettings() {
    if (!settingsRead_) return;
    settings_.Write(kAmountKey, std::to_string(amount_->value()));
    std::string locks;
    for (int g = 0; g < explore::kToneGroupCount; ++g) {
        if (!exploration_.locks.Locked(explore::ToneGroupAt(g))) continue;
        if (!locks.empty()) locks += ",";
        locks += explore::kToneGroupNames[static_cast<std::size_t>(g)];
    }
    settings_.Write(kLocksKey, locks);
    settings_.Write(kMorphPatchKey, std::to_string(morphPatch_->currentIndex() + 1));
    if (synth_ != nullptr) settings_.Write(kOnSynthKey, onSynth_->isChecked() ? "1" : "0");
}

}  // namespace voxtane::qt
