#include "bank/names_file.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "bank/file_path.h"
#include "bank/text_encoding.h"

namespace voxtane {

std::string NamesFilePath(std::string_view bankPath) {
    const std::size_t separator = bankPath.find_last_of("/\\");
    const std::size_t nameStart = separator == std::string_view::npos ? 0 : separator + 1;
    const std::size_t dot = bankPath.rfind('.');
    if (dot == std::string_view::npos || dot < nameStart) return std::string(bankPath) + ".plf";
    return std::string(bankPath.substr(0, dot)) + ".plf";
}

std::string LegacyNamesFilePath(std::string_view bankPath) {
    return std::string(bankPath.substr(0, bankPath.find('.'))) + ".plf";
}

NamesReadResult ReadNamesFile(const std::string& path, std::size_t maxLines) {
    NamesReadResult result;
    std::error_code ec;
    if (!std::filesystem::exists(PathFromUtf8(path), ec)) return result;
    if (std::filesystem::is_directory(PathFromUtf8(path), ec)) {
        result.status = NamesReadStatus::CannotOpen;
        return result;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenFile(path, "rb"), &std::fclose);
    if (!file) {
        result.status = errno == ENOENT ? NamesReadStatus::Missing : NamesReadStatus::CannotOpen;
        return result;
    }
    return ReadNamesFile(file.get(), maxLines);
}

NamesReadResult ReadNamesFile(std::FILE* file, std::size_t maxLines) {
    NamesReadResult result;
    result.status = NamesReadStatus::Read;

    // Up to four bytes a character: enough to hold the longest name a line may give.
    constexpr std::size_t kMaxLineBytes = 4 * kMaxNameLength;
    Utf8Validator validator;
    std::vector<std::string> lines;
    std::string line;
    std::size_t lineBytes = 0;  // the whole line's length, also the part not held
    bool lineOpen = false;
    bool endsWithCR = false;
    // The line end is CR LF or LF alone; the CR belongs to the end only when nothing was cut.
    const auto finishLine = [&] {
        if (endsWithCR && line.size() == lineBytes) line.pop_back();
        lines.push_back(std::move(line));
        line.clear();
        lineBytes = 0;
        lineOpen = false;
        endsWithCR = false;
    };
    char buffer[8192];
    std::size_t got = 0;
    while (lines.size() < maxLines && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        std::string_view block(buffer, got);
        while (!block.empty() && lines.size() < maxLines) {
            const std::size_t newline = block.find('\n');
            const std::string_view piece = block.substr(0, newline);
            validator.Feed(piece);
            if (line.size() < kMaxLineBytes)
                line.append(piece.substr(0, kMaxLineBytes - line.size()));
            lineBytes += piece.size();
            if (!piece.empty()) endsWithCR = piece.back() == '\r';
            lineOpen = true;
            if (newline == std::string_view::npos) break;
            validator.Feed("\n");
            finishLine();
            block.remove_prefix(newline + 1);
        }
    }
    if (lineOpen && lines.size() < maxLines) finishLine();  // a last line without its line end

    const bool utf8 = validator.Valid();
    for (auto& raw : lines) {
        std::string text = utf8 ? ToValidUtf8(raw) : Latin1ToUtf8(raw);
        result.names.push_back(CutToCharacters(text, kMaxNameLength));
    }
    return result;
}

std::string EncodeNamesFile(const std::vector<std::string>& names) {
    std::string latin1;
    std::string name;
    bool useLatin1 = true;
    for (const auto& utf8 : names) {
        if (!Utf8ToLatin1(utf8, name)) {
            useLatin1 = false;
            break;
        }
        latin1 += name;
        latin1 += "\r\n";
    }
    // Non-ASCII Latin-1 bytes that happen to form valid UTF-8 would read back as other names.
    const bool ascii = useLatin1 && Latin1ToUtf8(latin1).size() == latin1.size();
    if (useLatin1 && (ascii || !IsValidUtf8(latin1))) return latin1;

    std::string utf8File;
    for (const auto& utf8 : names) {
        utf8File += ToValidUtf8(utf8);
        utf8File += "\r\n";
    }
    return utf8File;
}

std::string NamesFileToRead(const std::string& bankPath) {
    const std::string current = NamesFilePath(bankPath);
    std::error_code ec;
    if (std::filesystem::exists(PathFromUtf8(current), ec)) return current;
    const std::string legacy = LegacyNamesFilePath(bankPath);
    if (std::filesystem::exists(PathFromUtf8(legacy), ec)) return legacy;
    return current;
}

FileWriteResult WriteNamesFile(const std::string& path, const std::vector<std::string>& names,
                               const SaveStepWatcher& watch) {
    const std::string bytes = EncodeNamesFile(names);
    return WriteFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), watch);
}

}  // namespace voxtane
