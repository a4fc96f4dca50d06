#include "midi/exchange_result.h"

namespace voxtane::midi {

bool ExchangeResult::Succeeded() const {
    return outcome == ExchangeOutcome::Fetched || outcome == ExchangeOutcome::Written ||
           outcome == ExchangeOutcome::SentUnconfirmed;
}

std::string ExchangeResult::Describe() const {
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
            return "unexpected answer to " + step +
                   (kind == ExchangeKind::Fetch
                        ? ": more than " + std::to_string(kToneEntries) + " data bytes"
                        : ": other bytes where its closing F7 belongs");
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
