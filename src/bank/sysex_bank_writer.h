#pragma once

#include <array>
#include <cstdint>

#include "tone/tone_record.h"

namespace voxtane {

inline constexpr std::array<std::uint8_t, 6> kToneDumpHeader{0xF0, 0x44, 0x00, 0x00, 0x70, 0x20};
// The memory position byte of patch n (1 to 16) in a bank file.
[[nodiscard]] constexpr std::uint8_t MemoryPosition(int patch) {
    return static_cast<std::uint8_t>(0x20 + patch - 1);
}
// The program byte of a tone sent to the synth's edit buffer.
inline constexpr std::uint8_t kSendProgram = 0x60;

using ToneDump = std::array<std::uint8_t, 264>;

// One tone dump message: the header, the program byte, entries 1 to 256 one byte each, F7.
// Entries hold nibbles; any other value is written as its low eight bits.
[[nodiscard]] ToneDump BuildToneDump(const ToneRecord& record, std::uint8_t program);

}  // namespace voxtane
