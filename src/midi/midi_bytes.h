#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "midi/mm_system.h"

// Byte-level rules of MIDI messages that the output layer checks before anything reaches a
// MIDI system.
namespace voxtane::midi {

// The bytes of a packed short message (status in the lowest byte): as many as its status byte
// takes; none when the lowest byte is no status byte, starts or ends a SysEx message, or a data
// byte it takes is above 127.
[[nodiscard]] std::vector<std::uint8_t> UnpackShortMessage(DWORD packed);

// Why the bytes are no well-formed long message, or nothing. A SysEx message must end with its
// F7 and carry only data bytes between: a stray byte after F7 (a buffer sent with its spare
// zeros) or a value above 127 inside (which ends the message early) is malformed MIDI that the
// MIDI systems drop or pass on unpredictably.
[[nodiscard]] std::optional<std::string> LongMessageProblem(std::span<const std::uint8_t> bytes);

// The longest start of text of at most maxBytes bytes that ends on a whole UTF-8 character.
[[nodiscard]] std::string CutUtf8(std::string_view text, std::size_t maxBytes);

}  // namespace voxtane::midi
