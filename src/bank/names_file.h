#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "bank/atomic_file.h"
#include "bank/bank_limits.h"

// The patch names file beside a bank file: one name per line, in patch order, each line ended by
// carriage return and line feed.
namespace voxtane {

// The names file of a bank file: its path with the file name's extension (from the file name's
// last ".") replaced by ".plf", or ".plf" appended when the file name has no ".".
[[nodiscard]] std::string NamesFilePath(std::string_view bankPath);
// Where older versions looked: the path cut at its first "." anywhere (a dotted folder name
// included), followed by ".plf". Files written that way must still load.
[[nodiscard]] std::string LegacyNamesFilePath(std::string_view bankPath);

// The names file a load reads: the current one, else one that an older version wrote.
[[nodiscard]] std::string NamesFileToRead(const std::string& bankPath);

enum class NamesReadStatus { Read, Missing, CannotOpen };

struct NamesReadResult {
    NamesReadStatus status = NamesReadStatus::Missing;
    std::vector<std::string> names;  // UTF-8, at most the lines asked for
};

// Reads up to `maxLines` names. The lines read are taken as UTF-8 when they are valid UTF-8,
// otherwise as Latin-1. A line is cut after kMaxNameLength characters; its rest is skipped
// without being held. Lines end with LF or CR LF.
[[nodiscard]] NamesReadResult ReadNamesFile(const std::string& path, std::size_t maxLines);
// The same from a stream already open: a file, or bytes in memory through fmemopen.
[[nodiscard]] NamesReadResult ReadNamesFile(std::FILE* file, std::size_t maxLines);

// The bytes of a names file: Latin-1 when every name fits in it and its Latin-1 bytes cannot be
// mistaken for UTF-8 when read back; otherwise the whole file in UTF-8.
[[nodiscard]] std::string EncodeNamesFile(const std::vector<std::string>& names);

FileWriteResult WriteNamesFile(const std::string& path, const std::vector<std::string>& names,
                               const SaveStepWatcher& watch = {});

}  // namespace voxtane
