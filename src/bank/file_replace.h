#pragma once

#include <cstdio>
#include <filesystem>
#include <system_error>

// The steps of an atomic save that differ between the systems; atomic_file.cpp strings them
// together. Windows has no fsync, no exclusive-create mode in its C library's fopen, and renames
// over a file only when asked to.
namespace voxtane {

// Opens a new file for writing; nothing (with the error number in `error`) when a file of that
// name exists already (EEXIST) or it cannot be made.
[[nodiscard]] std::FILE* CreateNewFile(const std::filesystem::path& path, int& error);

// Waits until what was written to `file` (flushed already) is on the disk: 0, or an errno.
[[nodiscard]] int SyncToDisk(std::FILE* file);

// Puts `from` in place of `to` in one step: `to` names either its old file or the new one,
// never nothing. On Windows this fails while another program has `to` open without letting it
// be deleted; `to` then keeps its old content.
[[nodiscard]] std::error_code MoveOver(const std::filesystem::path& from,
                                       const std::filesystem::path& to);

}  // namespace voxtane
