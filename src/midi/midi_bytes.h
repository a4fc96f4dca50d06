#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bank/synth_protocol.h"
#include "midi/mm_system.h"

// Byte-level rules of MIDI messages that the output layer checks before anything reaches a
// MIDI system.
namespace voxtane::midi {

// The bytes a message with this status byte takes, itself included; 0 for a data byte and for
// the bytes that start and end SysEx, whose length is not set by their status.
[[nodiscard]] constexpr int ShortMessageLength(std::uint8_t status) {
    if (status < 0x80) return 0;
    if (status < 0xC0 || (status >= 0xE0 && status < 0xF0)) return 3;
    if (status < 0xE0) return 2;
    switch (status) {
        case 0xF1:
        case 0xF3:
            return 2;
        case 0xF2:
            return 3;
        case kSysexStart:
        case kSysexEnd:
            return 0;
        default:
            return 1;
    }
}

// The bytes of a packed short message (status in the lowest byte): as many as its status byte
// takes; none when the lowest byte is no status byte, starts or ends a SysEx message, or a data
// byte it takes is above 127.
[[nodiscard]] inline std::vector<std::uint8_t> UnpackShortMessage(DWORD packed) {
    const std::uint8_t bytes[3] = {static_cast<std::uint8_t>(packed & 0xFF),
                                   static_cast<std::uint8_t>((packed >> 8) & 0xFF),
                                   static_cast<std::uint8_t>((packed >> 16) & 0xFF)};
    const int length = ShortMessageLength(bytes[0]);
    for (int i = 1; i < length; ++i)
        if (bytes[i] > 0x7F) return {};
    return {bytes, bytes + length};
}
// The other way: up to three bytes packed with the first in the lowest byte.
[[nodiscard]] constexpr DWORD PackShortMessage(std::span<const std::uint8_t> bytes) {
    DWORD packed = 0;
    for (std::size_t i = 0; i < bytes.size() && i < 3; ++i)
        packed |= static_cast<DWORD>(bytes[i]) << (8 * i);
    return packed;
}

// Why the bytes are no well-formed long message, or nothing. A SysEx message must end with its
// F7 and carry only data bytes between: a stray byte after F7 (a buffer sent with its spare
// zeros) or a value above 127 inside (which ends the message early) is malformed MIDI that the
// MIDI systems drop or pass on unpredictably.
[[nodiscard]] std::optional<std::string> LongMessageProblem(std::span<const std::uint8_t> bytes);

// The longest start of text of at most maxBytes bytes that ends on a whole UTF-8 character.
[[nodiscard]] std::string CutUtf8(std::string_view text, std::size_t maxBytes);

}  // namespace voxtane::midi
