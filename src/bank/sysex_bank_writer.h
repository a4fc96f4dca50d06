#pragma once

#include <array>
#include <cstdint>

#include "bank/synth_protocol.h"
#include "tone/tone_record.h"

namespace voxtane {

// The memory position byte of patch n (1 to 16) in a bank file.
[[nodiscard]] constexpr std::uint8_t MemoryPosition(int patch) {
    return static_cast<std::uint8_t>(kInternalArea + patch - 1);
}
// The program byte of a tone sent to the synth's edit buffer.
inline constexpr std::uint8_t kSendProgram = kCurrentTonePosition;

using ToneDump = std::array<std::uint8_t, kToneDumpLength>;

// One tone dump message: the header, the program byte, entries 1 to 256 one byte each, F7.
// Entries hold nibbles; any other value is written as its low eight bits.
[[nodiscard]] ToneDump BuildToneDump(const ToneRecord& record, std::uint8_t program);

// Moves a tone dump to a channel (its 7n byte); callers check the channel.
void SetDumpChannel(ToneDump& dump, int channel);

}  // namespace voxtane
