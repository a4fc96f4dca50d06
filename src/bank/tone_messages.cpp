#include "bank/tone_messages.h"

#include <cstdint>
#include <span>
#include <utility>

#include "bank/synth_protocol.h"

namespace voxtane {
namespace {

constexpr std::uint8_t kLargestNibble = 0x0F;

// The framer keeps the bytes after F0, so every offset from F0 is one less here.
constexpr std::size_t kHeaderLength = kCommandOffset;  // 44 00 00 7n command
constexpr std::size_t kPositionIndex = kPositionOffset - 1;
constexpr std::size_t kDataLength = kToneEntries;

[[nodiscard]] std::string Hex(std::uint8_t byte) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[byte >> 4], kDigits[byte & 15]};
}

[[nodiscard]] Rejection Reject(SkipReason why, std::string reason) {
    return Rejection{why, std::move(reason)};
}

// Presets, internal memories, cartridge, and the temporary area the synth sounds from.
[[nodiscard]] bool IsTonePosition(std::uint8_t position) {
    const int area = position & 0xF0;
    return area == kPresetArea || area == kInternalArea || area == kCartridgeArea ||
           position == kCurrentTonePosition;
}

// The acknowledgement 7n 31 the editor sends when the answer's header has come; monitors that
// merge both directions record it inside the request or before the answer's data.
[[nodiscard]] bool IsAcknowledgement(std::span<const std::uint8_t> two, int channel) {
    return two.size() == 2 && two[0] == ChannelByteOf(channel) && two[1] == kGoAheadCommand;
}

[[nodiscard]] std::variant<ToneRecord, Rejection> ReadData(std::span<const std::uint8_t> kept,
                                                           std::size_t count, StreamEnd end) {
    if (count < kDataLength && end != StreamEnd::F7)
        return Reject(SkipReason::WrongLength,
                      "cut off after " + std::to_string(count) + " of 256 data bytes");
    if (count != kDataLength)
        return Reject(SkipReason::WrongLength,
                      std::to_string(count) + " data bytes instead of 256");
    ToneRecord record{};
    for (std::size_t i = 0; i < kDataLength; ++i) {
        if (kept[i] > kLargestNibble)
            return Reject(SkipReason::NotANibble, "data byte " + Hex(kept[i]) + " at entry " +
                                                      std::to_string(i + 1) + " is above 0F");
        record[i + 1] = kept[i];
    }
    return record;
}

[[nodiscard]] SynthMessage ToneOrRejection(std::variant<ToneRecord, Rejection> data,
                                           ImportForm form, int channel,
                                           std::optional<int> position) {
    if (auto* rejection = std::get_if<Rejection>(&data)) return std::move(*rejection);
    return ToneMessage{form, channel, position, std::get<ToneRecord>(data)};
}

[[nodiscard]] std::optional<Rejection> CheckPosition(const FramedSysex& message) {
    if (message.length <= kPositionIndex)
        return Reject(SkipReason::TooShort, "ends before its memory position");
    const std::uint8_t position = message.kept[kPositionIndex];
    if (!IsTonePosition(position))
        return Reject(SkipReason::UnknownPosition,
                      "memory position " + Hex(position) + " does not exist");
    return std::nullopt;
}

[[nodiscard]] SynthMessage ReadDump(const FramedSysex& message, int channel) {
    if (auto rejection = CheckPosition(message)) return std::move(*rejection);
    constexpr std::size_t start = kPositionIndex + 1;
    return ToneOrRejection(
        ReadData(message.kept.subspan(start), message.length - start, message.end),
        ImportForm::Dump, channel, message.kept[kPositionIndex]);
}

[[nodiscard]] SynthMessage ReadAnswer(const FramedSysex& message, int channel) {
    std::size_t start = kHeaderLength;
    if (message.length >= start + 2 && IsAcknowledgement(message.kept.subspan(start, 2), channel))
        start += 2;
    if (message.length == start) return AnswerHeader{channel};
    return ToneOrRejection(
        ReadData(message.kept.subspan(start), message.length - start, message.end),
        ImportForm::Answer, channel, std::nullopt);
}

[[nodiscard]] SynthMessage ReadRequest(const FramedSysex& message, int channel) {
    if (auto rejection = CheckPosition(message)) return std::move(*rejection);
    constexpr std::size_t start = kPositionIndex + 1;
    const std::size_t extra = message.length - start;
    if (extra != 0 && !(extra == 2 && IsAcknowledgement(message.kept.subspan(start, 2), channel)))
        return Reject(SkipReason::UnexpectedBytes,
                      std::to_string(extra) + " unexpected bytes after a tone request");
    return ToneRequest{channel, message.kept[kPositionIndex]};
}

}  // namespace

SynthMessage ReadSynthMessage(const FramedSysex& message) {
    const auto bytes = message.kept;
    const std::size_t length = message.length;
    if (length == 0) return Reject(SkipReason::TooShort, "empty message");
    if (bytes[0] != kMakerId)
        return Reject(SkipReason::OtherMaker,
                      "message of another maker (ID " + Hex(bytes[0]) + ")");
    if ((length > 1 && bytes[1] != 0) || (length > 2 && bytes[2] != 0) ||
        (length > 3 && (bytes[3] & 0xF0) != kChannelByteBase))
        return Reject(SkipReason::OtherInstrument,
                      "message of this synth's maker for another instrument");
    if (length < kHeaderLength)
        return Reject(SkipReason::TooShort,
                      "ends after " + std::to_string(length + 1) + " bytes, inside its header");

    const int channel = (bytes[3] & 0x0F) + 1;
    const std::uint8_t command = bytes[4];
    switch (command) {
        case kStoreToneCommand:
            return ReadDump(message, channel);
        case kSynthAnswerCommand:
            return ReadAnswer(message, channel);
        case kFetchToneCommand:
            return ReadRequest(message, channel);
        default:
            return Reject(SkipReason::OtherCommand, "command " + Hex(command) + " carries no tone");
    }
}

AnswerData ReadAnswerData(const DataRun& run, int channel) {
    // Only an F7 or the end of the file says the data is over; a run that another status byte
    // ended may have been other traffic, and the data may still come.
    const bool mustBeComplete = run.end != StreamEnd::OtherStatus;
    if (run.length < kDataLength) {
        if (!mustBeComplete) return NotYet{};
        return Reject(SkipReason::WrongLength, std::to_string(run.length) +
                                                   " data bytes after the answer header "
                                                   "instead of 256");
    }
    // Bytes before the data belong to the message whose status byte opened the run (a note
    // between the pieces, repeated by running status), or are the editor's acknowledgement.
    const std::size_t extra = run.length - kDataLength;
    const bool fits =
        run.messageLength == 0
            ? extra == 0 || (extra == 2 && IsAcknowledgement(run.tail.first(2), channel))
            : extra > 0 && extra % static_cast<std::size_t>(run.messageLength) == 0;
    if (!fits) {
        if (!mustBeComplete) return NotYet{};
        return Reject(SkipReason::WrongLength, std::to_string(run.length) +
                                                   " data bytes after the answer header "
                                                   "instead of 256");
    }
    auto data = ReadData(run.tail.last(kDataLength), kDataLength, run.end);
    if (auto* rejection = std::get_if<Rejection>(&data)) {
        if (!mustBeComplete) return NotYet{};
        return std::move(*rejection);
    }
    return std::get<ToneRecord>(data);
}

}  // namespace voxtane
