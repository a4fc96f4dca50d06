#include "midi/synth_messages.h"

#include <algorithm>
#include <stdexcept>

namespace voxtane::midi {

namespace {
int ChannelNibble(int channel) {
    if (!IsMidiChannel(channel))
        throw std::out_of_range("MIDI channel " + std::to_string(channel) + " (1 to 16)");
    return channel - 1;
}
}  // namespace

std::uint8_t ChannelByte(int channel) {
    return static_cast<std::uint8_t>(0x70 | ChannelNibble(channel));
}

Acknowledgement AcknowledgementOn(int channel) {
    return {kSysexStart, 0x44, 0x00, 0x00, ChannelByte(channel), kAcknowledge};
}

FetchRequest BuildFetchRequest(int channel, SynthMemory memory) {
    const std::uint8_t channelByte = ChannelByte(channel);
    return {kSysexStart,       0x44,        0x00,    0x00, channelByte, kSendRequest,
            memory.Position(), channelByte, kGoAhead};
}

WholeFetchRequest BuildWholeFetchRequest(int channel, SynthMemory memory) {
    const FetchRequest open = BuildFetchRequest(channel, memory);
    WholeFetchRequest whole{};
    std::copy(open.begin(), open.end(), whole.begin());
    whole.back() = kSysexEnd;
    return whole;
}

std::array<std::uint8_t, 3> GoAheadClose(int channel) {
    return {ChannelByte(channel), kGoAhead, kSysexEnd};
}

std::array<std::uint8_t, 7> GoAheadMessage(int channel) {
    return {kSysexStart, 0x44, 0x00, 0x00, ChannelByte(channel), kGoAhead, kSysexEnd};
}

ToneDump BuildToneWrite(int channel, SynthMemory memory, const ToneRecord& tone) {
    ToneDump dump = BuildToneDump(tone, memory.Position());
    dump[4] = ChannelByte(channel);
    return dump;
}

std::optional<int> FirstUnsendableEntry(const ToneRecord& tone) {
    for (int entry = 1; entry <= kToneEntries; ++entry)
        if (tone[entry] < 0 || tone[entry] > 127) return entry;
    return std::nullopt;
}

std::array<std::uint8_t, 3> AllNotesOff(int channel) {
    return {static_cast<std::uint8_t>(0xB0 | ChannelNibble(channel)), 0x7B, 0x00};
}

}  // namespace voxtane::midi
