#include "library/own_tones.h"

#include <algorithm>
#include <system_error>

#include "bank/names_file.h"
#include "bank/single_patch_file.h"
#include "bank/sysex_bank_writer.h"

namespace voxtane::library {
namespace fs = std::filesystem;

fs::path OwnTonesFolder(const fs::path& libraryPath, const std::string& kind) {
    return libraryPath.parent_path() / "Library" / kind;
}

namespace {

// The first "NN Name.syx" whose file and names file are both free.
fs::path FreeFileIn(const fs::path& folder, const std::string& name) {
    std::error_code error;
    for (int number = 1;; ++number) {
        const fs::path path = folder / FileNameOf(number, name);
        if (!fs::exists(path, error) && !fs::exists(NamesFilePath(path.string()), error))
            return path;
    }
}

// The folder made and a free file in it chosen, or why not.
AddedTone ChooseFile(const fs::path& libraryPath, const std::string& kind,
                     const std::string& name) {
    const fs::path folder = OwnTonesFolder(libraryPath, kind);
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        return {AddOutcome::NotWritten, {}, false, 0, folder.string() + ": " + error.message()};
    return {AddOutcome::Added, FreeFileIn(folder, name), false, 0, {}};
}

// With the file written: its folder among the library's folders, and scanned.
AddedTone IndexWritten(const fs::path& libraryPath, AddedTone added) {
    const fs::path folder = added.file.parent_path();
    Library::Opened opened = Library::Open(libraryPath);
    if (!opened.library) {
        added.outcome = AddOutcome::LibraryFailed;
        added.reason = opened.result.message;
        return added;
    }
    Library& library = *opened.library;
    const std::vector<std::string> folders = library.Folders();
    std::error_code error;
    const std::string absolute = fs::absolute(folder, error).lexically_normal().string();
    added.folderAdded = std::find(folders.begin(), folders.end(), absolute) == folders.end();
    LibraryResult result;
    if (added.folderAdded) result = library.AddFolders({folder.string()});
    ScanReport report;
    if (result.ok()) result = library.Scan(report);
    if (!result.ok()) {
        added.outcome = AddOutcome::LibraryFailed;
        added.reason = result.message;
        return added;
    }
    added.newTones = report.newTones;
    return added;
}

}  // namespace

AddedTone AddToneToLibrary(const fs::path& libraryPath, const std::string& kind,
                           const ToneRecord& tone, const std::string& name) {
    AddedTone added = ChooseFile(libraryPath, kind, name);
    if (added.outcome != AddOutcome::Added) return added;
    // A file of one tone holds it as patch 1, as Export writes the first patch.
    const SinglePatchWrite written =
        WriteSinglePatchFile(added.file.string(), tone, MemoryPosition(1), name);
    if (!written.tone.ok())
        return {AddOutcome::NotWritten, added.file, false, 0, written.tone.reason};
    return IndexWritten(libraryPath, std::move(added));
}

AddedTone AddBankToLibrary(const fs::path& libraryPath, const std::string& kind,
                           std::span<const ToneRecord> tones, std::span<const std::string> names,
                           const std::string& bankName) {
    AddedTone added = ChooseFile(libraryPath, kind, bankName);
    if (added.outcome != AddOutcome::Added) return added;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < tones.size(); ++i) {
        const ToneDump dump = BuildToneDump(tones[i], MemoryPosition(static_cast<int>(i) + 1));
        bytes.insert(bytes.end(), dump.begin(), dump.end());
    }
    // The names first: a bank file is never found without the names it was written with.
    const FileWriteResult namesWritten = WriteNamesFile(
        NamesFilePath(added.file.string()), std::vector<std::string>(names.begin(), names.end()));
    if (!namesWritten.ok())
        return {AddOutcome::NotWritten, added.file, false, 0, namesWritten.reason};
    const FileWriteResult written = WriteFileAtomically(added.file.string(), bytes);
    if (!written.ok()) return {AddOutcome::NotWritten, added.file, false, 0, written.reason};
    return IndexWritten(libraryPath, std::move(added));
}

}  // namespace voxtane::library
