#pragma once

#include <filesystem>
#include <span>
#include <string>

#include "library/library.h"
#include "tone/tone_record.h"

// Tones the owner puts into the library from the editor (a candidate of Explore) have no file
// of their own: they are written as single-patch files into a folder of the library's own,
// beside the library's file, which the library then indexes like any other folder.
namespace voxtane::library {

// "<the library's folder>/Library/<kind>", as ".../voxtane/Library/Explore".
[[nodiscard]] std::filesystem::path OwnTonesFolder(const std::filesystem::path& libraryPath,
                                                   const std::string& kind);

enum class AddOutcome {
    Added,
    NotWritten,     // the file could not be written; the library is as it was
    LibraryFailed,  // the file is there, but the library could not be opened, added to or scanned
};

struct [[nodiscard]] AddedTone {
    AddOutcome outcome = AddOutcome::Added;
    std::filesystem::path file;  // the file written
    bool folderAdded = false;    // the folder was not among the library's folders before
    int newTones = 0;            // found by the scan (none when the library held the tone already)
    std::string reason;          // why, when not Added
};

// Writes `tone` named `name` as a new file in OwnTonesFolder(libraryPath, kind) (never over a
// file there), adds that folder to the library at `libraryPath` when it is not among its
// folders, and scans. A scan reads only new and changed files, but walks every folder: call it
// off the window's thread.
AddedTone AddToneToLibrary(const std::filesystem::path& libraryPath, const std::string& kind,
                           const ToneRecord& tone, const std::string& name);

// The same for a bank: `tones` as patches 1 on, in one bank file named after `bankName`, with
// their names (as many as tones) in its names file.
AddedTone AddBankToLibrary(const std::filesystem::path& libraryPath, const std::string& kind,
                           std::span<const ToneRecord> tones, std::span<const std::string> names,
                           const std::string& bankName);

}  // namespace voxtane::library
