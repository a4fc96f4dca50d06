#pragma once

#include <cstdint>
#include <string>

#include "bank/atomic_file.h"
#include "tone/tone_record.h"

namespace voxtane {

// A patch name as part of a file name: "NN Name.syx", characters no file name may hold
// becoming "_".
[[nodiscard]] std::string FileNameOf(int patch, const std::string& name);

struct SinglePatchWrite {
    FileWriteResult tone;
    FileWriteResult names;
};

// A file of one tone, as Export and the library's own folders hold them: the tone's dump with
// the memory position `program`, and beside it a names file giving `name`; each written whole
// or not at all.
[[nodiscard]] SinglePatchWrite WriteSinglePatchFile(const std::string& path, const ToneRecord& tone,
                                                    std::uint8_t program, const std::string& name);

}  // namespace voxtane
