#include "bank/single_patch_file.h"

#include <string_view>

#include "bank/names_file.h"
#include "bank/sysex_bank_writer.h"

namespace voxtane {

std::string FileNameOf(int patch, const std::string& name) {
    std::string cleaned;
    for (unsigned char c : name)
        cleaned += c < 0x20 || std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) !=
                                   std::string_view::npos
                       ? '_'
                       : static_cast<char>(c);
    const std::string number = (patch < 10 ? "0" : "") + std::to_string(patch);
    return number + (cleaned.empty() ? "" : " " + cleaned) + ".syx";
}

SinglePatchWrite WriteSinglePatchFile(const std::string& path, const ToneRecord& tone,
                                      std::uint8_t program, const std::string& name) {
    const ToneDump dump = BuildToneDump(tone, program);
    // The names file first: a scan that sees the tone file finds its name beside it.
    FileWriteResult names = WriteNamesFile(NamesFilePath(path), {name});
    FileWriteResult written = WriteFileAtomically(path, dump);
    return {std::move(written), std::move(names)};
}

}  // namespace voxtane
