#include "editor/recovery/recovery.h"
#include "bank/file_path.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace voxtane::editor {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCopyStem = "recovery";
constexpr const char* kCopyExtension = ".vxr";
constexpr const char* kLockExtension = ".lock";
// A copy is a few kilobytes; anything far larger is not one.
constexpr std::uintmax_t kLargestCopy = 1u << 20;

// "recovery.vxr" (an older version's) or "recovery-<id>.vxr".
bool IsCopyName(const std::string& name) {
    const std::string stem = kCopyStem;
    return name.size() > stem.size() + 4 && name.compare(0, stem.size(), stem) == 0 &&
           (name[stem.size()] == '-' || name[stem.size()] == '.') &&
           PathFromUtf8(name).extension() == kCopyExtension;
}

std::string LockPathOf(const std::string& copyPath) {
    return Utf8FromPath(PathFromUtf8(copyPath).replace_extension(kLockExtension));
}

std::optional<RecoveryCopy> ReadCopy(const fs::path& path) {
    std::error_code ec;
    if (fs::file_size(path, ec) > kLargestCopy || ec) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    return DecodeRecoveryCopy(
        std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
}

RecoveryCopy CopyOfState(const EditorState& state) {
    RecoveryCopy copy;
    for (int slot = 1; slot <= kBankSlots; ++slot) {
        copy.tones[slot - 1] = state.EffectiveSlot(slot);
        copy.names[slot - 1] = state.names[slot - 1];
    }
    copy.patchCount = state.patchCount;
    copy.bankFileName = state.bankFileName;
    copy.currentPatch = std::clamp<int>(state.view.currentPatch, 1, kBankSlots);
    return copy;
}

// The steps that replace the bank as a whole, or bring in tones from elsewhere over it.
bool Replaces(const std::string& step) {
    return step == "New" || step == "Load" || step == "Get Bank" || step == "Import" ||
           step == "Recover" || step == "Restore";
}

}  // namespace

// A copy whose editor no longer runs, with the lock that proves it.
struct Recovery::Orphan {
    std::string path;
    std::unique_ptr<HeldLock> lock;
    std::optional<RecoveryCopy> copy;
    fs::file_time_type written;
};

Recovery::Recovery(WholeEditor& editor, LinkedEditor& tones, Platform& platform, StepEvents& steps,
                   CopyLocks& locks, CopyWriter& writer, const std::string& title)
    : editor_(editor),
      tones_(tones),
      platform_(platform),
      locks_(locks),
      writer_(writer),
      title_(title) {
    steps.stepAdded.Add(
        [this](const std::string& name, const EditorState& before) { StepAdded(name, before); });
    steps.changed.Add([this] { StepsChanged(); });
    editor_.BankEvents().Add([this](BankEvent) { BankSavedOrRenewed(); });
}

RecoveryCopy Recovery::CopyNow() const {
    return CopyOf(tones_, editor_.BankFileName());
}

Recovery::~Recovery() {
    if (unsaved_) Shelf().Put(CopyNow(), "Exit", MillisecondsNow(), writer_);
    writer_.Flush();
    // Without unsaved changes nothing of this editor is left to offer: its lock file goes too.
    std::error_code ec;
    if (lock_ && !fs::exists(PathFromUtf8(copyPath_), ec))
        fs::remove(PathFromUtf8(LockPathOf(copyPath_)), ec);
}

void Recovery::SetUnsaved(bool unsaved) {
    if (unsaved == unsaved_) return;
    unsaved_ = unsaved;
    changed.Notify();
}

// Told before the history's observers hear of the step: Unsaved still speaks of the bank the
// step replaced.
void Recovery::StepAdded(const std::string& name, const EditorState& before) {
    if (!watching_ || !unsaved_ || !Replaces(name)) return;
    std::string replacedBy = name;
    if (name == "Load")
        replacedBy += " \"" + Utf8FromPath(PathFromUtf8(editor_.BankFileName()).filename()) + "\"";
    Shelf().Put(CopyOfState(before), replacedBy, MillisecondsNow(), writer_);
}

void Recovery::StepsChanged() {
    if (!watching_) return;
    SetUnsaved(true);
    // Encoded here, written by the writer's thread at most once a second.
    if (!copyPath_.empty()) writer_.Keep(copyPath_, EncodeRecoveryCopy(CopyNow()));
}

// A load, a whole save or New leaves the bank as a file holds it, or as nothing needs keeping.
void Recovery::BankSavedOrRenewed() {
    SetUnsaved(false);
    if (!copyPath_.empty()) writer_.Remove(copyPath_);
}

void Recovery::Discard(const std::string& copyPath) {
    std::error_code ec;
    fs::remove(PathFromUtf8(copyPath), ec);
    fs::remove(PathFromUtf8(LockPathOf(copyPath)), ec);
}

void Recovery::TakeOwnCopy() {
    std::error_code ec;
    fs::create_directories(PathFromUtf8(folder_), ec);
    std::random_device random;
    for (int attempt = 0; attempt < 8 && !lock_; ++attempt) {
        char id[24];
        std::snprintf(id, sizeof id, "-%08x%08x", static_cast<unsigned>(random()),
                      static_cast<unsigned>(random()));
        const std::string path =
            Utf8FromPath(PathFromUtf8(folder_) / (std::string(kCopyStem) + id + kCopyExtension));
        if (fs::exists(PathFromUtf8(path), ec)) continue;
        if ((lock_ = locks_.TryLock(LockPathOf(path)))) copyPath_ = path;
    }
}

void Recovery::OfferRestore() {
    watching_ = true;
    if (lock_ || (folder_ = platform_.DataFolder()).empty()) return;
    std::vector<Orphan> orphans;
    std::error_code ec;
    for (fs::directory_iterator it(PathFromUtf8(folder_), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string path = Utf8FromPath(it->path());
        const std::string name = Utf8FromPath(it->path().filename());
        // A lock file left without its copy by an editor that was killed goes.
        std::error_code ignored;
        if (it->path().extension() == kLockExtension &&
            IsCopyName(Utf8FromPath(PathFromUtf8(name).replace_extension(kCopyExtension))) &&
            !fs::exists(PathFromUtf8(path).replace_extension(kCopyExtension), ignored)) {
            if (const std::unique_ptr<HeldLock> stale = locks_.TryLock(path))
                fs::remove(it->path(), ignored);
            continue;
        }
        if (!IsCopyName(name)) continue;
        // A copy whose lock is held belongs to an editor that runs: it is left alone.
        std::unique_ptr<HeldLock> lock = locks_.TryLock(LockPathOf(path));
        if (!lock) continue;
        std::error_code timeError;
        orphans.push_back({path, std::move(lock), ReadCopy(it->path()),
                           fs::last_write_time(it->path(), timeError)});
    }
    std::sort(orphans.begin(), orphans.end(),
              [](const Orphan& a, const Orphan& b) { return a.written > b.written; });
    for (Orphan& orphan : orphans) {
        if (!orphan.copy) {
            Discard(orphan.path);
            continue;
        }
        if (lock_) {
            // One copy comes back; the others wait on the shelf.
            Shelf().Put(*orphan.copy, "Restore", MillisecondsNow(), writer_);
            writer_.Flush();
            Discard(orphan.path);
            continue;
        }
        const std::string bank = orphan.copy->bankFileName.empty()
                                     ? "a bank without a file"
                                     : "the bank \"" + orphan.copy->bankFileName + "\"";
        if (platform_.ShowMessage({"Voxtane ended last time with changes to " + bank +
                                       " that were never saved.\n\nRestore them?",
                                   title_, MessageButtons::YesNo, MessageIcon::Exclamation,
                                   DefaultButton::First}) == MessageAnswer::Yes) {
            // The copy becomes this editor's own: it is replaced, never removed, from now on.
            copyPath_ = orphan.path;
            lock_ = std::move(orphan.lock);
            editor_.TakeBank(*orphan.copy, "Restore");
            SetUnsaved(true);
        } else {
            Discard(orphan.path);
        }
    }
    if (!lock_) TakeOwnCopy();
}

void Recovery::Recover() {
    // Entries just put are on the disk before the shelf is read.
    writer_.Flush();
    const std::vector<ShelvedBank> entries = Shelf().List();
    if (entries.empty()) {
        platform_.ShowMessage(
            {"The recovery shelf is empty: no bank with unsaved changes has been "
             "replaced.",
             "Recover", MessageButtons::Ok, MessageIcon::Information});
        return;
    }
    ItemChoiceRequest request{
        "Recover", "Bring back a bank that was replaced with unsaved changes:", {}, 0};
    for (const ShelvedBank& entry : entries) request.items.push_back(Describe(entry));
    const std::optional<int> chosen = platform_.ChooseItem(request);
    if (!chosen || *chosen < 0 || *chosen >= static_cast<int>(entries.size())) return;
    editor_.TakeBank(entries[*chosen].bank, "Recover");
}

}  // namespace voxtane::editor
