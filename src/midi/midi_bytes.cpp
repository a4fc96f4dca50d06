#include "midi/midi_bytes.h"

namespace voxtane::midi {

std::optional<std::string> LongMessageProblem(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return "the message is empty";
    if (bytes.front() < 0x80) return "the message does not start with a status byte";
    if (bytes.front() != kSysexStart) return std::nullopt;
    const auto end = bytes.size() - 1;
    for (std::size_t i = 1; i < end; ++i) {
        if (bytes[i] == kSysexEnd)
            return "byte " + std::to_string(i + 1) + " ends the SysEx message before its last byte";
        if (bytes[i] > 0x7F)
            return "byte " + std::to_string(i + 1) + " of the SysEx message is above 127";
    }
    if (bytes.back() != kSysexEnd) return "the SysEx message does not end with F7";
    return std::nullopt;
}

std::string CutUtf8(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return std::string(text);
    std::size_t length = maxBytes;
    // Back off from continuation bytes to the start of the character that would be split.
    while (length > 0 && (static_cast<std::uint8_t>(text[length]) & 0xC0) == 0x80) --length;
    return std::string(text.substr(0, length));
}

}  // namespace voxtane::midi
