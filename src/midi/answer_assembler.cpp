#include "midi/answer_assembler.h"

#include <algorithm>

namespace voxtane::midi {

AnswerAssembler::AnswerAssembler(int channel, int dataBytes)
    : header_(AcknowledgementOn(channel)), expected_(dataBytes) {
    data_.reserve(static_cast<std::size_t>(dataBytes));
    if (dataBytes == 0) {
        const auto close = GoAheadClose(channel);
        const auto message = GoAheadMessage(channel);
        confirmations_ = {
            {kSysexEnd}, {close.begin(), close.end()}, {message.begin(), message.end()}};
    }
}

Assembly AnswerAssembler::Feed(std::uint8_t byte) {
    if (status_ != Assembly::Incomplete || IsRealtime(byte)) return status_;
    switch (phase_) {
        case Phase::Seeking:
            // Data bytes here belong to other messages; a status byte other than F0 starts one.
            if (byte == kSysexStart) {
                phase_ = Phase::Header;
                matched_ = 1;
            }
            return status_;
        case Phase::Header:
            return FeedHeader(byte);
        case Phase::Data:
            return FeedData(byte);
    }
    return status_;
}

Assembly AnswerAssembler::FeedHeader(std::uint8_t byte) {
    if (byte == header_[static_cast<std::size_t>(matched_)]) {
        if (++matched_ == static_cast<int>(header_.size())) phase_ = Phase::Data;
        return status_;
    }
    // Some other SysEx message: skipped to its end, unless this byte starts a new one.
    matched_ = byte == kSysexStart ? 1 : 0;
    if (matched_ == 0) phase_ = Phase::Seeking;
    return status_;
}

Assembly AnswerAssembler::FeedData(std::uint8_t byte) {
    if (expected_ == 0) return FeedConfirmation(byte);
    if (byte == kSysexEnd) {
        if (DataCount() < expected_) return Fail(AnswerFault::EndedEarly);
        status_ = Assembly::Complete;
        return status_;
    }
    if (byte > 0x7F) return Fail(AnswerFault::Interrupted);
    if (DataCount() == expected_) return Fail(AnswerFault::TooLong);
    data_.push_back(byte);
    return status_;
}

Assembly AnswerAssembler::FeedConfirmation(std::uint8_t byte) {
    tail_.push_back(byte);
    bool possible = false;
    for (const auto& confirmation : confirmations_) {
        if (tail_.size() > confirmation.size() ||
            !std::equal(tail_.begin(), tail_.end(), confirmation.begin()))
            continue;
        if (tail_.size() == confirmation.size()) {
            status_ = Assembly::Complete;
            return status_;
        }
        possible = true;
    }
    if (possible) return status_;
    return Fail(byte == kSysexEnd ? AnswerFault::EndedEarly : AnswerFault::Interrupted);
}

Assembly AnswerAssembler::Fail(AnswerFault fault) {
    fault_ = fault;
    status_ = Assembly::Invalid;
    return status_;
}

}  // namespace voxtane::midi
