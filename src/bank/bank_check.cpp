#include "bank/bank_check.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "bank/bank_limits.h"
#include "bank/file_path.h"
#include "bank/sysex_bank_reader.h"
#include "bank/sysex_bank_writer.h"

namespace voxtane {
namespace {

std::string Hex(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", value & 0xFFu);
    return text;
}

void CheckMessage(const SysexMessage& m, int number, std::vector<BankDeviation>& out) {
    const std::string which = "message " + std::to_string(number);
    const bool answer = m.form == MessageForm::SynthAnswer;
    if (answer)
        out.push_back({m.offset + 5, which + ": the synth's answer form (F0 44 00 00 7n 30, "
                                             "256 data bytes, F7: 263 bytes), read as such; "
                                             "the editor writes 264-byte tone dumps"});
    for (int i = 0; i < m.headerCount && i < (answer ? 4 : 5); ++i) {
        if (m.header[i] != kToneDumpHeader[i + 1])
            out.push_back({m.offset + 1 + i, which + ": header byte " + Hex(m.header[i]) +
                                                 ", expected " + Hex(kToneDumpHeader[i + 1])});
    }
    if (!answer && m.headerCount == 6 &&
        (m.header[5] < kInternalArea || m.header[5] >= kInternalArea + kMemoriesPerArea))
        out.push_back(
            {m.offset + 6, which + ": memory position " + Hex(m.header[5]) + " outside 20 to 2F"});
    for (int k = 0; k < m.dataCount; ++k) {
        if (m.data[k] > 0x0F)
            out.push_back({m.offset + m.DataOffset() + k, which + ": data byte " + Hex(m.data[k]) +
                                                              " (entry " + std::to_string(k + 1) +
                                                              ") above 0F"});
    }
    if (answer) return;
    if (!m.endedByF7) {
        out.push_back({m.offset + m.length, which + ": no F7, the file ends after " +
                                                std::to_string(m.length) + " bytes of it"});
    } else if (m.length < kToneDumpLength) {
        out.push_back(
            {m.offset + m.length - 1,
             which + ": short, F7 after " + std::to_string(m.length) + " bytes instead of 264"});
    } else if (m.length > kToneDumpLength) {
        out.push_back({m.offset + kToneDumpLength - 1,
                       which + ": long, " + std::to_string(m.length) +
                           " bytes up to its F7 instead of 264; bytes from the 264th are dropped"});
    }
}

}  // namespace

BankCheckResult CheckSysexBank(const std::string& path) {
    BankCheckResult result;
    std::error_code ec;
    if (std::filesystem::is_directory(PathFromUtf8(path), ec)) {
        result.status = BankCheckStatus::CannotOpen;
        result.reason = std::make_error_code(std::errc::is_a_directory).message();
        return result;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenFile(path, "rb"), &std::fclose);
    if (!file) {
        result.status = BankCheckStatus::CannotOpen;
        result.reason = std::generic_category().message(errno);
        return result;
    }

    SysexMessageReader reader(file.get());
    while (auto message = reader.Next()) {
        ++result.messages;
        if (result.messages == kBankSlots + 1)
            result.deviations.push_back({message->offset,
                                         "more than 16 messages: message 17 "
                                         "and those after it are not loaded"});
        if (result.messages <= kBankSlots)
            CheckMessage(*message, result.messages, result.deviations);
    }
    if (!reader.AtEnd()) {
        const std::uint64_t offset = reader.Offset();
        if (result.messages == 0) {
            result.deviations.push_back({offset, "the file does not start with F0"});
        } else {
            std::uint64_t size = std::filesystem::file_size(PathFromUtf8(path), ec);
            const std::string count = ec ? std::string("some") : std::to_string(size - offset);
            result.deviations.push_back(
                {offset, count + " bytes after the last message (not starting with F0)"});
        }
    } else if (result.messages == 0) {
        result.deviations.push_back({0, "the file is empty"});
    }
    if (!result.deviations.empty()) result.status = BankCheckStatus::Deviates;
    return result;
}

}  // namespace voxtane
