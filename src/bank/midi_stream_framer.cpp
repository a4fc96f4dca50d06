#include "bank/midi_stream_framer.h"

#include "bank/synth_protocol.h"

namespace voxtane {
namespace {

constexpr std::uint8_t kFirstRealtimeByte = 0xF8;

[[nodiscard]] constexpr bool IsStatus(std::uint8_t byte) {
    return byte >= 0x80;
}

// Data bytes that follow a status byte: note on and off, key pressure, controllers and pitch
// bend take two, program change and channel pressure one; of the system messages, song position
// takes two, time code quarter frames and song select one.
[[nodiscard]] constexpr int DataBytesAfter(std::uint8_t status) {
    if (status < 0xF0) {
        const int kind = status & 0xF0;
        return (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
    }
    if (status == 0xF2) return 2;
    if (status == 0xF1 || status == 0xF3) return 1;
    return 0;
}

}  // namespace

StreamEvent MidiStreamFramer::Feed(std::uint8_t byte, std::size_t offset) {
    if (byte >= kFirstRealtimeByte) return std::monostate{};
    if (!IsStatus(byte)) {
        if (inSysex_) {
            if (sysexLength_ < sysexBytes_.size()) sysexBytes_[sysexLength_] = byte;
            ++sysexLength_;
        } else {
            AddToRun(byte);
        }
        return std::monostate{};
    }
    const StreamEnd end = byte == kSysexEnd ? StreamEnd::F7 : StreamEnd::OtherStatus;
    StreamEvent ended = inSysex_ ? EndSysex(end) : EndRun(end);
    BeginAfterStatus(byte, offset);
    return ended;
}

StreamEvent MidiStreamFramer::Finish() {
    StreamEvent ended = inSysex_ ? EndSysex(StreamEnd::EndOfInput) : EndRun(StreamEnd::EndOfInput);
    BeginRun(0);
    return ended;
}

StreamEvent MidiStreamFramer::EndSysex(StreamEnd end) {
    inSysex_ = false;
    const std::size_t kept = sysexLength_ < sysexBytes_.size() ? sysexLength_ : sysexBytes_.size();
    return FramedSysex{sysexOffset_, std::span(sysexBytes_.data(), kept), sysexLength_, end};
}

StreamEvent MidiStreamFramer::EndRun(StreamEnd end) {
    if (runLength_ == 0) return std::monostate{};
    const std::size_t start = runLength_ < kKeptRunBytes ? 0 : runLength_ % kKeptRunBytes;
    const std::size_t kept = runLength_ < kKeptRunBytes ? runLength_ : kKeptRunBytes;
    return DataRun{std::span(runRing_.data() + start, kept), runLength_, runMessageLength_, end};
}

void MidiStreamFramer::BeginAfterStatus(std::uint8_t status, std::size_t offset) {
    if (status == kSysexStart) {
        inSysex_ = true;
        sysexOffset_ = offset;
        sysexLength_ = 0;
        BeginRun(0);
        return;
    }
    BeginRun(DataBytesAfter(status));
}

void MidiStreamFramer::BeginRun(int messageLength) {
    runLength_ = 0;
    runMessageLength_ = messageLength;
}

void MidiStreamFramer::AddToRun(std::uint8_t byte) {
    const std::size_t at = runLength_ % kKeptRunBytes;
    runRing_[at] = byte;
    runRing_[at + kKeptRunBytes] = byte;
    ++runLength_;
}

}  // namespace voxtane
