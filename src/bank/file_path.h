#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

// File names are UTF-8 in every std::string of the program (as the command line, the names files
// and the window hand them over). std::filesystem reads and writes narrow strings in the system's
// code page instead, which on Windows is not UTF-8, so every change between the two goes through
// these, and every file is opened through OpenFile.
namespace voxtane {

[[nodiscard]] std::filesystem::path PathFromUtf8(std::string_view utf8);
[[nodiscard]] std::string Utf8FromPath(const std::filesystem::path& path);

// std::fopen of a UTF-8 name; on Windows through the wide-character call.
[[nodiscard]] std::FILE* OpenFile(const std::string& utf8Path, const char* mode);

}  // namespace voxtane
