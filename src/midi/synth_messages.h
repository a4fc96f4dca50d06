#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "bank/synth_protocol.h"
#include "bank/sysex_bank_writer.h"
#include "midi/synth_memory.h"
#include "tone/tone_record.h"

// The messages the program sends the synth, and the acknowledgement the synth answers with.
// Channels are 1 to 16; the builders throw std::out_of_range for others.
namespace voxtane::midi {

inline constexpr int kMidiChannels = 16;
[[nodiscard]] constexpr bool IsMidiChannel(int channel) {
    return channel >= 1 && channel <= kMidiChannels;
}
// Clock, active sensing and the other realtime bytes may appear anywhere, also inside SysEx.
[[nodiscard]] constexpr bool IsRealtime(std::uint8_t byte) {
    return byte >= 0xF8;
}

// 7n: the byte after the manufacturer's header that carries the channel.
[[nodiscard]] std::uint8_t ChannelByte(int channel);

using Acknowledgement = std::array<std::uint8_t, 6>;
// F0 44 00 00 7n 30: how the synth starts each answer.
[[nodiscard]] Acknowledgement AcknowledgementOn(int channel);

// The two ways of asking for a tone. Both send the request and the go-ahead together, so that
// the synth's answer comes as one message.
enum class FetchForm {
    // F0 44 00 00 7n 10 pp 7n 31, left open and closed with kFetchClose after the answer. Its
    // 9 bytes fill three USB-MIDI packets, so a cable holds none of them back.
    Open,
    // The same with its F7: one whole message, a form published for this synth family.
    Whole,
};
[[nodiscard]] constexpr FetchForm OtherForm(FetchForm form) {
    return form == FetchForm::Open ? FetchForm::Whole : FetchForm::Open;
}

using FetchRequest = std::array<std::uint8_t, 9>;
[[nodiscard]] FetchRequest BuildFetchRequest(int channel, SynthMemory memory);
using WholeFetchRequest = std::array<std::uint8_t, 10>;
[[nodiscard]] WholeFetchRequest BuildWholeFetchRequest(int channel, SynthMemory memory);
inline constexpr std::array<std::uint8_t, 1> kFetchClose{kSysexEnd};

// What may follow the acknowledgement to confirm a stored tone, besides its own F7: the
// go-ahead and F7 in the same message, or after F7, a message F0 44 00 00 7n 31 F7.
[[nodiscard]] std::array<std::uint8_t, 3> GoAheadClose(int channel);
[[nodiscard]] std::array<std::uint8_t, 7> GoAheadMessage(int channel);

// F0 44 00 00 7n 20 pp, the 256 data bytes, F7: a tone for a memory of the synth, in one
// message. Entries are written as their low eight bits; check them with FirstUnsendableEntry
// (bank/synth_protocol.h).
[[nodiscard]] ToneDump BuildToneWrite(int channel, SynthMemory memory, const ToneRecord& tone);

// Bn 7B 00.
[[nodiscard]] std::array<std::uint8_t, 3> AllNotesOff(int channel);

}  // namespace voxtane::midi
