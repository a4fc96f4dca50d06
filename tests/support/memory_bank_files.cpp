#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

#include "memory_bank_files.h"

namespace voxtane::editor {
namespace {

using Stream = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// A stream over the content, so that the readers of real files read it unchanged: an anonymous
// temporary file, which (unlike fmemopen) every C library has.
Stream OpenContent(const std::string& content) {
    Stream stream(std::tmpfile(), &std::fclose);
    if (!stream) return stream;
    if (std::fwrite(content.data(), 1, content.size(), stream.get()) != content.size())
        return Stream(nullptr, &std::fclose);
    std::rewind(stream.get());
    return stream;
}

}  // namespace

BankReadResult MemoryBankFiles::ReadBank(const std::string& path, int maxMessages) {
    const auto found = files.find(path);
    Stream stream =
        found == files.end() ? Stream(nullptr, &std::fclose) : OpenContent(found->second);
    if (!stream) {
        BankReadResult result;
        result.status = BankReadStatus::CannotOpen;
        result.reason = std::generic_category().message(found == files.end() ? ENOENT : errno);
        return result;
    }
    return ReadSysexBank(stream.get(), maxMessages);
}

NamesReadResult MemoryBankFiles::ReadNamesOf(const std::string& bankPath, std::size_t maxLines) {
    auto found = files.find(NamesFilePath(bankPath));
    if (found == files.end()) found = files.find(LegacyNamesFilePath(bankPath));
    if (found == files.end()) return {};
    const Stream stream = OpenContent(found->second);
    if (!stream) return {NamesReadStatus::CannotOpen, {}};
    return ReadNamesFile(stream.get(), maxLines);
}

FileWriteResult MemoryBankFiles::WriteBank(const std::string& path,
                                           std::span<const std::uint8_t> bytes) {
    files[path].assign(bytes.begin(), bytes.end());
    return {};
}

FileWriteResult MemoryBankFiles::WriteNames(const std::string& path,
                                            const std::vector<std::string>& names) {
    files[path] = EncodeNamesFile(names);
    return {};
}

}  // namespace voxtane::editor
