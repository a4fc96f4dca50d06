#include "bank/sysex_bank_reader.h"
#include "bank/file_path.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

namespace voxtane {

bool SysexMessageReader::Fill() {
    if (position_ < size_) return true;
    size_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    position_ = 0;
    if (size_ == 0 && std::ferror(file_)) readFailed_ = true;
    return size_ > 0;
}

std::optional<std::uint8_t> SysexMessageReader::Peek() {
    if (!Fill()) return std::nullopt;
    return buffer_[position_];
}

std::uint8_t SysexMessageReader::Take() {
    ++offset_;
    return buffer_[position_++];
}

bool SysexMessageReader::AtEnd() {
    return !Peek().has_value();
}

std::optional<SysexMessage> SysexMessageReader::Next() {
    const auto first = Peek();
    if (!first || *first != kSysexStart) return std::nullopt;

    SysexMessage message;
    message.offset = offset_;
    Take();
    int count = 1;  // bytes of this message read so far
    while (Fill()) {
        if (count >= kToneDumpLength - 1) {
            // Past the data: skip ahead to the F7 a block at a time.
            const std::uint8_t* begin = buffer_.data() + position_;
            const std::size_t available = size_ - position_;
            const void* end = std::memchr(begin, kSysexEnd, available);
            const std::size_t skipped =
                end ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - begin) + 1
                    : available;
            position_ += skipped;
            offset_ += skipped;
            if (end) {
                message.endedByF7 = true;
                break;
            }
            continue;
        }
        const std::uint8_t byte = Take();
        ++count;
        if (byte == kSysexEnd) {
            message.endedByF7 = true;
            break;
        }
        if (count <= static_cast<int>(kPositionOffset) + 1) {
            message.header[message.headerCount++] = byte;
        } else {
            message.data[message.dataCount++] = byte;
        }
    }
    message.length = offset_ - message.offset;
    if (message.endedByF7 && message.length == kSynthAnswerLength && message.headerCount == 6 &&
        message.header[4] == kSynthAnswerCommand) {
        // Its first data byte was taken for the memory position.
        std::copy_backward(message.data.begin(), message.data.begin() + message.dataCount,
                           message.data.begin() + message.dataCount + 1);
        message.data[0] = message.header[5];
        message.header[5] = 0;
        message.headerCount = 5;
        ++message.dataCount;
        message.form = MessageForm::SynthAnswer;
    }
    return message;
}

BankReadResult ReadSysexBank(const std::string& path, int maxMessages) {
    BankReadResult result;
    std::error_code ec;
    if (std::filesystem::is_directory(PathFromUtf8(path), ec)) {
        result.status = BankReadStatus::CannotOpen;
        result.reason = std::make_error_code(std::errc::is_a_directory).message();
        return result;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenFile(path, "rb"), &std::fclose);
    if (!file) {
        result.status = BankReadStatus::CannotOpen;
        result.reason = std::generic_category().message(errno);
        return result;
    }
    return ReadSysexBank(file.get(), maxMessages);
}

BankReadResult ReadSysexBank(std::FILE* file, int maxMessages) {
    BankReadResult result;
    SysexMessageReader reader(file);
    while (static_cast<int>(result.messages.size()) < maxMessages) {
        auto message = reader.Next();
        if (!message) break;
        result.messages.push_back(*message);
    }
    if (!result.messages.empty()) {
        result.status = BankReadStatus::Read;
    } else if (reader.ReadFailed()) {
        result.status = BankReadStatus::ReadError;
        result.reason = std::generic_category().message(EIO);
    } else if (reader.AtEnd()) {
        result.status = BankReadStatus::Empty;
    } else {
        result.status = BankReadStatus::NotSysex;
    }
    return result;
}

}  // namespace voxtane
