#include "midi/synth_messages.h"

#include <algorithm>
#include <stdexcept>

namespace voxtane::midi {

namespace {
void CheckChannel(int channel) {
    if (!IsMidiChannel(channel))
        throw std::out_of_range("MIDI channel " + std::to_string(channel) + " (1 to 16)");
}
int ChannelNibble(int channel) {
    CheckChannel(channel);
    return channel - 1;
}
}  // namespace

std::uint8_t ChannelByte(int channel) {
    CheckChannel(channel);
    return ChannelByteOf(channel);
}

Acknowledgement AcknowledgementOn(int channel) {
    return {kSysexStart, kMakerId, 0x00, 0x00, ChannelByte(channel), kSynthAnswerCommand};
}

FetchRequest BuildFetchRequest(int channel, SynthMemory memory) {
    const std::uint8_t channelByte = ChannelByte(channel);
    return {kSysexStart,       kMakerId,          0x00,        0x00,           channelByte,
            kFetchToneCommand, memory.Position(), channelByte, kGoAheadCommand};
}

WholeFetchRequest BuildWholeFetchRequest(int channel, SynthMemory memory) {
    const FetchRequest open = BuildFetchRequest(channel, memory);
    WholeFetchRequest whole{};
    std::copy(open.begin(), open.end(), whole.begin());
    whole.back() = kSysexEnd;
    return whole;
}

std::array<std::uint8_t, 3> GoAheadClose(int channel) {
    return {ChannelByte(channel), kGoAheadCommand, kSysexEnd};
}

std::array<std::uint8_t, 7> GoAheadMessage(int channel) {
    return {kSysexStart, kMakerId, 0x00, 0x00, ChannelByte(channel), kGoAheadCommand, kSysexEnd};
}

ToneDump BuildToneWrite(int channel, SynthMemory memory, const ToneRecord& tone) {
    CheckChannel(channel);
    ToneDump dump = BuildToneDump(tone, memory.Position());
    SetDumpChannel(dump, channel);
    return dump;
}

std::array<std::uint8_t, 3> AllNotesOff(int channel) {
    return {static_cast<std::uint8_t>(0xB0 | ChannelNibble(channel)), 0x7B, 0x00};
}

}  // namespace voxtane::midi
