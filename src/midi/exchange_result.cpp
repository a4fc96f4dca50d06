#include "midi/exchange_result.h"

namespace voxtane::midi {

bool ExchangeResult::Succeeded() const {
    return outcome == ExchangeOutcome::Fetched || outcome == ExchangeOutcome::Written ||
           outcome == ExchangeOutcome::SentUnconfirmed;
}

namespace {
// "F0 44 00 00 70 30 12 F7", the first bytes only.
std::string Hex(const std::vector<std::uint8_t>& bytes) {
    constexpr std::size_t kShown = 16;
    constexpr const char* kDigits = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < bytes.size() && i < kShown; ++i) {
        if (i > 0) text += ' ';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    if (bytes.size() > kShown) text += " ...";
    return text;
}
}  // namespace

std::string ExchangeResult::Describe() const {
    std::string text = DescribeOutcome();
    const bool unconfirmed = kind == ExchangeKind::Write && requestSent && !Succeeded() &&
                             outcome != ExchangeOutcome::Cancelled;
    if (unconfirmed)
        text += received.empty() ? "; nothing came back" : "; the synth sent " + Hex(received);
    return text;
}

std::string ExchangeResult::DescribeOutcome() const {
    const std::string where = SynthMemoryWords(memory);
    const std::string step =
        (kind == ExchangeKind::Fetch ? "the request for " : "the write to ") + where;
    switch (outcome) {
        case ExchangeOutcome::Fetched:
            return "fetched " + where;
        case ExchangeOutcome::Written:
            return "wrote " + where + ", confirmed by the synth";
        case ExchangeOutcome::SentUnconfirmed:
            return "sent the tone to " + where + " (no MIDI input to confirm it)";
        case ExchangeOutcome::NoAnswer:
            return "no answer from the synth to " + step;
        case ExchangeOutcome::StoppedAfterAcknowledgement:
            return "the synth stopped after acknowledging " + step;
        case ExchangeOutcome::ShortAnswer:
            return "short answer: " + std::to_string(dataBytes) + " of " +
                   std::to_string(kToneEntries) + " data bytes from " + where;
        case ExchangeOutcome::UnexpectedAnswer:
            if (kind == ExchangeKind::Write) return "the synth did not confirm " + step;
            return "unexpected answer to " + step + ": more than " + std::to_string(kToneEntries) +
                   " data bytes";
        case ExchangeOutcome::InputNeverQuiet:
            return "the MIDI input never fell quiet, so " + step + " was not sent";
        case ExchangeOutcome::SendFailed:
            return step + " could not be sent (" + reason + ")";
        case ExchangeOutcome::Cancelled:
            return step + " was cancelled";
    }
    return step;
}

}  // namespace voxtane::midi
