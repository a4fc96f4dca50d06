#include "midi/tone_exchange.h"

#include <algorithm>

namespace voxtane::midi {

StartOutcome ToneExchange::StartFetch(int channel, SynthMemory memory, TimePoint now) {
    return Start({ExchangeKind::Fetch, channel, memory, Confirmation::FromSynth, {}, fetchForm_},
                 now);
}

StartOutcome ToneExchange::StartWrite(int channel, SynthMemory memory, const ToneRecord& tone,
                                      Confirmation confirmation, TimePoint now) {
    if (!IsMidiChannel(channel)) return StartOutcome::InvalidChannel;
    if (FirstUnsendableEntry(tone)) return StartOutcome::UnsendableTone;
    return Start(
        {ExchangeKind::Write, channel, memory, confirmation, BuildToneWrite(channel, memory, tone)},
        now);
}

StartOutcome ToneExchange::AwaitConfirmation(int channel, SynthMemory memory, TimePoint now) {
    if (Busy()) return StartOutcome::Busy;
    if (!IsMidiChannel(channel)) return StartOutcome::InvalidChannel;
    // The tone is out already: there is no quiet to wait for before it.
    request_ = Request{ExchangeKind::Write, channel, memory, Confirmation::FromSynth, {}};
    received_.clear();
    requestSent_ = true;
    answer_.emplace(channel, 0);
    step_ = Step::AwaitingAcknowledgement;
    deadline_ = now + timing_.answerTimeout;
    return StartOutcome::Started;
}

StartOutcome ToneExchange::Start(const Request& request, TimePoint now) {
    if (Busy()) return StartOutcome::Busy;
    if (!IsMidiChannel(request.channel)) return StartOutcome::InvalidChannel;
    request_ = request;
    requestSent_ = false;
    received_.clear();
    SendWhenQuiet(now);
    return StartOutcome::Started;
}

void ToneExchange::SendWhenQuiet(TimePoint now) {
    if (mustWaitForQuiet_ && now - QuietFrom() < timing_.quietSpell) {
        step_ = Step::AwaitingQuiet;
        deadline_ = now + timing_.quietLimit;
    } else {
        SendRequest(now);
    }
}

SinkStatus ToneExchange::SendFetch(const Request& request) {
    if (request.form == FetchForm::Whole)
        return output_.Send(BuildWholeFetchRequest(request.channel, request.memory));
    return output_.Send(BuildFetchRequest(request.channel, request.memory));
}

void ToneExchange::SendRequest(TimePoint now) {
    const Request& request = *request_;
    const bool fetch = request.kind == ExchangeKind::Fetch;
    answer_.emplace(request.channel, fetch ? kToneEntries : 0);
    const SinkStatus sent = fetch ? SendFetch(request) : output_.Send(request.tone);
    requestSent_ = sent.sent;
    if (!sent.sent) {
        step_ = Step::SendFailed;
        deadline_ = now;
        sendFailure_ = sent.reason;
        return;
    }
    if (!fetch && request.confirmation == Confirmation::NoInput) {
        step_ = Step::Settling;
        deadline_ = now + timing_.unconfirmedPause;
    } else {
        step_ = Step::AwaitingAcknowledgement;
        deadline_ = now + timing_.answerTimeout;
    }
}

std::optional<ExchangeResult> ToneExchange::Receive(std::span<const std::uint8_t> bytes,
                                                    TimePoint now) {
    std::optional<ExchangeResult> result;
    for (const std::uint8_t byte : bytes) {
        if (IsRealtime(byte)) continue;
        lastInput_ = now;
        // Bytes after the end of an exchange in the same piece are looked at no further: they
        // only count as input for the quiet rule.
        if (result || (step_ != Step::AwaitingAcknowledgement && step_ != Step::AwaitingRest))
            continue;
        if (received_.size() < ExchangeResult::kKeptBytes) received_.push_back(byte);
        result = Take(answer_->Feed(byte), now);
    }
    if (result) return result;
    return Advance(now);
}

std::optional<ExchangeResult> ToneExchange::Take(Assembly assembly, TimePoint now) {
    const bool fetch = request_->kind == ExchangeKind::Fetch;
    switch (assembly) {
        case Assembly::Incomplete:
            if (step_ == Step::AwaitingAcknowledgement && answer_->Acknowledged()) {
                step_ = Step::AwaitingRest;
                deadline_ = now + timing_.answerTimeout;
            }
            return std::nullopt;
        case Assembly::Complete:
            return Finish(fetch ? ExchangeOutcome::Fetched : ExchangeOutcome::Written, now);
        case Assembly::Invalid:
            break;
    }
    const bool cutShort =
        answer_->Fault() == AnswerFault::EndedEarly || answer_->Fault() == AnswerFault::Interrupted;
    return Finish(
        fetch && cutShort ? ExchangeOutcome::ShortAnswer : ExchangeOutcome::UnexpectedAnswer, now);
}

std::optional<ExchangeResult> ToneExchange::Tick(TimePoint now) {
    return Advance(now);
}

std::optional<ExchangeResult> ToneExchange::Advance(TimePoint now) {
    switch (step_) {
        case Step::Idle:
            return std::nullopt;
        case Step::AwaitingQuiet:
            if (now - QuietFrom() >= timing_.quietSpell) {
                SendRequest(now);
                return std::nullopt;
            }
            if (now >= deadline_) return Finish(ExchangeOutcome::InputNeverQuiet, now);
            return std::nullopt;
        case Step::AwaitingAcknowledgement:
            if (now < deadline_) return std::nullopt;
            if (request_->kind == ExchangeKind::Fetch && !request_->retried) {
                AskAgainInOtherForm(now);
                return std::nullopt;
            }
            return Finish(ExchangeOutcome::NoAnswer, now);
        case Step::AwaitingRest:
            if (now < deadline_) return std::nullopt;
            return Finish(answer_->DataCount() == 0 ? ExchangeOutcome::StoppedAfterAcknowledgement
                                                    : ExchangeOutcome::ShortAnswer,
                          now);
        case Step::Settling:
            if (now >= deadline_) return Finish(ExchangeOutcome::SentUnconfirmed, now);
            return std::nullopt;
        case Step::SendFailed:
            return Finish(ExchangeOutcome::SendFailed, now);
    }
    return std::nullopt;
}

void ToneExchange::AskAgainInOtherForm(TimePoint now) {
    if (request_->form == FetchForm::Open) (void)output_.Send(kFetchClose);
    request_->form = OtherForm(request_->form);
    request_->retried = true;
    mustWaitForQuiet_ = true;
    uncleanEnd_ = now;
    requestSent_ = false;
    SendWhenQuiet(now);
}

std::optional<ExchangeResult> ToneExchange::Cancel(TimePoint now) {
    if (!Busy()) return std::nullopt;
    return Finish(ExchangeOutcome::Cancelled, now);
}

ExchangeResult ToneExchange::Finish(ExchangeOutcome outcome, TimePoint now) {
    const Request request = *request_;
    const bool requestSent = requestSent_;
    ExchangeResult result{request.kind, request.memory,      outcome, 0, std::nullopt, {},
                          requestSent,  std::move(received_)};
    received_.clear();
    if (outcome == ExchangeOutcome::SendFailed) result.reason = sendFailure_;
    if (request.kind == ExchangeKind::Fetch && answer_) result.dataBytes = answer_->DataCount();
    if (outcome == ExchangeOutcome::Fetched) {
        ToneRecord tone{};
        std::copy(answer_->Data().begin(), answer_->Data().end(), tone.begin() + 1);
        result.tone = tone;
        fetchForm_ = request.form;
    }
    // An open fetch request is closed however the exchange ends, so that the synth's side ends
    // too and what follows on the output is well formed.
    // Should the close not go out either, the outcome says what went wrong first.
    if (requestSent && request.kind == ExchangeKind::Fetch && request.form == FetchForm::Open)
        (void)output_.Send(kFetchClose);
    if (result.Succeeded()) {
        mustWaitForQuiet_ = false;
    } else if (requestSent) {
        mustWaitForQuiet_ = true;
        uncleanEnd_ = now;
    }
    step_ = Step::Idle;
    request_.reset();
    answer_.reset();
    return result;
}

ToneExchange::TimePoint ToneExchange::QuietFrom() const {
    return std::max(uncleanEnd_, lastInput_);
}

std::optional<ToneExchange::TimePoint> ToneExchange::NextDeadline() const {
    switch (step_) {
        case Step::Idle:
            return std::nullopt;
        case Step::AwaitingQuiet:
            return std::min(deadline_, QuietFrom() + timing_.quietSpell);
        default:
            return deadline_;
    }
}

}  // namespace voxtane::midi
