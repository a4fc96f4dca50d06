#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace voxtane {

enum class FileWriteStatus {
    Written,
    CannotCreate,   // no temporary file could be made beside the target
    WriteFailed,    // writing or flushing the data failed
    ReplaceFailed,  // the finished file could not be renamed over the target
};

struct [[nodiscard]] FileWriteResult {
    FileWriteStatus status = FileWriteStatus::Written;
    std::string reason;  // the system's words for a failure
    [[nodiscard]] bool ok() const { return status == FileWriteStatus::Written; }
};

// Told before each step of a save ("create", "write", "flush", "rename", "done"): tests interrupt
// a save part way with it.
using SaveStepWatcher = std::function<void(const char* step)>;

// Writes `bytes` to a temporary file in the target's folder and renames it over the target, so
// that the target holds either its old content or exactly the new bytes, never a mix, and no
// stale tail of a longer old file. The temporary file is removed when anything fails.
// Whether a write waits until the data is on the disk: user files do, so that a power cut keeps
// either version; a copy the program rewrites at every edit need not.
enum class DiskSync { Wait, DoNotWait };

FileWriteResult WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                                    const SaveStepWatcher& watch = {},
                                    DiskSync sync = DiskSync::Wait);

}  // namespace voxtane
