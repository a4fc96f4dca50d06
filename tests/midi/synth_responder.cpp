#include "synth_responder.h"

#include "midi/synth_messages.h"

namespace voxtane::testing {

namespace {
using midi::MemoryArea;
using midi::SynthMemory;
constexpr std::array<std::uint8_t, 3> kManufacturer{0x44, 0x00, 0x00};
}  // namespace

SynthResponder::SynthResponder() {
    // Every memory starts with a tone of its own, so that a fetch of the wrong one shows.
    for (std::size_t i = 0; i < memories_.size(); ++i)
        for (int entry = 1; entry <= kToneEntries; ++entry)
            memories_[i][entry] = static_cast<std::int16_t>((entry * 7 + i * 3) % 16);
}

void SynthResponder::Feed(std::uint8_t byte, std::vector<std::uint8_t>& answer) {
    if (midi::IsRealtime(byte) || behaviour_.fault == SynthFault::Silent) return;
    if (byte == kSysexStart) {  // a new message ends whatever came before
        step_ = Step::Header;
        matched_ = 0;
        return;
    }
    const std::uint8_t channelByte = midi::ChannelByte(behaviour_.channel);
    switch (step_) {
        case Step::Idle:
            return;
        case Step::Header:
            if (matched_ < 3) {
                step_ = byte == kManufacturer[static_cast<std::size_t>(matched_++)] ? Step::Header
                                                                                    : Step::Idle;
            } else {
                step_ = byte == channelByte ? Step::Command : Step::Idle;
            }
            return;
        case Step::Command:
            sending_ = byte == kFetchToneCommand;
            step_ = sending_ || byte == kStoreToneCommand ? Step::Position : Step::Idle;
            return;
        case Step::Position:
            TakePosition(byte, answer);
            return;
        case Step::GoAheadChannel:
            step_ = byte == channelByte ? Step::GoAhead : Step::Idle;
            return;
        case Step::GoAhead:
            if (byte != kGoAheadCommand)
                step_ = Step::Idle;
            else if (behaviour_.fault == SynthFault::WholeRequestsOnly)
                step_ = Step::AwaitingWhole;
            else
                SendTone(answer);
            return;
        case Step::AwaitingWhole:
            if (byte == kSysexEnd) {
                Acknowledge(answer);
                SendTone(answer);
            }
            step_ = Step::Idle;  // the request's own F7 has closed it
            return;
        case Step::AwaitingClose:
            if (byte == kSysexEnd) step_ = Step::Idle;
            return;
        case Step::ReceivingTone:
            TakeToneByte(byte, answer);
            return;
    }
}

void SynthResponder::TakePosition(std::uint8_t position, std::vector<std::uint8_t>& answer) {
    memory_ = SynthMemory::AtPosition(position);
    // The presets are read-only: a write to one is not taken, and not answered.
    if (!memory_ || (!sending_ && memory_->Area() == MemoryArea::Preset)) {
        step_ = Step::Idle;
        return;
    }
    if (sending_ && behaviour_.fault == SynthFault::WholeRequestsOnly) {
        step_ = Step::GoAheadChannel;  // acknowledged once the whole request is in
        return;
    }
    Acknowledge(answer);
    if (behaviour_.fault == SynthFault::StopAfterAcknowledgement) {
        step_ = Step::Idle;
        return;
    }
    step_ = sending_ ? Step::GoAheadChannel : Step::ReceivingTone;
    incoming_.clear();
}

void SynthResponder::Acknowledge(std::vector<std::uint8_t>& answer) const {
    const auto acknowledgement = midi::AcknowledgementOn(behaviour_.channel);
    answer.insert(answer.end(), acknowledgement.begin(), acknowledgement.end());
}

void SynthResponder::SendTone(std::vector<std::uint8_t>& answer) {
    const ToneRecord& tone = Stored(*memory_);
    const int count =
        behaviour_.fault == SynthFault::ShortAnswer ? behaviour_.shortDataBytes : kToneEntries;
    for (int entry = 1; entry <= count; ++entry)
        answer.push_back(static_cast<std::uint8_t>(tone[entry]));
    answer.push_back(kSysexEnd);
    step_ = Step::AwaitingClose;
}

void SynthResponder::TakeToneByte(std::uint8_t byte, std::vector<std::uint8_t>& answer) {
    if (byte < 0x80 && incoming_.size() < static_cast<std::size_t>(kToneEntries)) {
        incoming_.push_back(byte);
        return;
    }
    step_ = Step::Idle;
    if (byte != kSysexEnd || incoming_.size() != static_cast<std::size_t>(kToneEntries))
        return;  // a broken write is not taken
    ToneRecord tone{};
    std::copy(incoming_.begin(), incoming_.end(), tone.begin() + 1);
    Store(*memory_, tone);
    switch (behaviour_.confirmation) {
        case SynthConfirmation::Close:
            answer.push_back(kSysexEnd);
            break;
        case SynthConfirmation::GoAheadClose: {
            const auto close = midi::GoAheadClose(behaviour_.channel);
            answer.insert(answer.end(), close.begin(), close.end());
            break;
        }
        case SynthConfirmation::GoAheadMessage: {
            const auto message = midi::GoAheadMessage(behaviour_.channel);
            answer.push_back(kSysexEnd);
            answer.insert(answer.end(), message.begin(), message.end());
            break;
        }
    }
}

void SynthResponder::Store(SynthMemory memory, const ToneRecord& tone) {
    memories_[IndexOf(memory)] = tone;
}

const ToneRecord& SynthResponder::Stored(SynthMemory memory) const {
    return memories_[IndexOf(memory)];
}

std::size_t SynthResponder::IndexOf(SynthMemory memory) const {
    switch (memory.Area()) {
        case MemoryArea::Preset:
            return static_cast<std::size_t>(memory.Number() - 1);
        case MemoryArea::Internal:
            return static_cast<std::size_t>(16 + memory.Number() - 1);
        case MemoryArea::Cartridge:
            return static_cast<std::size_t>(32 + memory.Number() - 1);
        case MemoryArea::Current:
            break;
    }
    return 48;
}

}  // namespace voxtane::testing
