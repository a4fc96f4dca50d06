#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "tone/tone_record.h"

// The bytes of the synth's tone exchange, named by what each means in it. Every message is
// F0 44 00 00 7n, a command, what the command carries, F7; n is the channel less one.
//
//   computer: F0 44 00 00 7n 10 pp  7n 31        "send me the tone at position pp", "go ahead"
//   synth:    F0 44 00 00 7n 30, 256 data bytes, F7     the answer
//   computer: F0 44 00 00 7n 20 pp, 256 data bytes, F7  a tone for position pp (264 bytes)
namespace voxtane {

inline constexpr std::uint8_t kSysexStart = 0xF0;
inline constexpr std::uint8_t kSysexEnd = 0xF7;
inline constexpr std::uint8_t kMakerId = 0x44;
// The byte 7n after the two zero bytes names channel n + 1.
inline constexpr std::uint8_t kChannelByteBase = 0x70;

// Where the bytes lie from a message's F0.
inline constexpr std::size_t kChannelOffset = 4;
inline constexpr std::size_t kCommandOffset = 5;
inline constexpr std::size_t kPositionOffset = 6;

// The command byte after 7n.
inline constexpr std::uint8_t kFetchToneCommand = 0x10;    // the computer asks for a tone
inline constexpr std::uint8_t kStoreToneCommand = 0x20;    // the computer sends a tone
inline constexpr std::uint8_t kSynthAnswerCommand = 0x30;  // how the synth starts each answer
inline constexpr std::uint8_t kGoAheadCommand = 0x31;      // the computer's "send the data"

// Memory positions: each numbered area holds 16 tones from its first position on; the tone the
// synth sounds now has one position of its own.
inline constexpr int kMemoriesPerArea = 16;
inline constexpr std::uint8_t kPresetArea = 0x00;
inline constexpr std::uint8_t kInternalArea = 0x20;
inline constexpr std::uint8_t kCartridgeArea = 0x40;
inline constexpr std::uint8_t kCurrentTonePosition = 0x60;

// The byte 7n for a channel 1 to 16; callers check the channel.
[[nodiscard]] constexpr std::uint8_t ChannelByteOf(int channel) {
    return static_cast<std::uint8_t>(kChannelByteBase + channel - 1);
}

// How a tone dump starts, on channel 1.
inline constexpr std::array<std::uint8_t, kCommandOffset + 1> kToneDumpHeader{
    kSysexStart, kMakerId, 0x00, 0x00, ChannelByteOf(1), kStoreToneCommand};

// A tone dump: F0, 44 00 00 7n 20, the position, the 256 data bytes, F7.
inline constexpr int kToneDumpLength = static_cast<int>(kPositionOffset) + 1 + kToneEntries + 1;
static_assert(kToneDumpLength == 264);
// The synth's answer as it comes: F0 44 00 00 7n 30, the 256 data bytes, F7.
inline constexpr int kSynthAnswerLength = static_cast<int>(kCommandOffset) + 1 + kToneEntries + 1;
static_assert(kSynthAnswerLength == 263);

// The first entry (1 to 256) that no data byte can carry, being outside 0 to 127: it would end
// the message on the wire (a negative entry would go as its low byte, above 127 too). Nothing
// when every entry can go.
[[nodiscard]] constexpr std::optional<int> FirstUnsendableEntry(const ToneRecord& tone) {
    for (int entry = 1; entry <= kToneEntries; ++entry)
        if (tone[entry] < 0 || tone[entry] > 127) return entry;
    return std::nullopt;
}

}  // namespace voxtane
