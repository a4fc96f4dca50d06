#include "midi/bank_exchange.h"

namespace voxtane::midi {

StartOutcome BankExchange::StartGet(int channel, TimePoint now) {
    if (Busy() || exchange_.Busy()) return StartOutcome::Busy;
    if (!IsMidiChannel(channel)) return StartOutcome::InvalidChannel;
    kind_ = BankKind::Get;
    channel_ = channel;
    total_ = kMemoriesPerArea;
    done_ = 0;
    fetched_.clear();
    return StartFirst(now);
}

StartOutcome BankExchange::StartWrite(int channel, std::span<const ToneRecord> tones,
                                      Confirmation confirmation, TimePoint now) {
    if (Busy() || exchange_.Busy()) return StartOutcome::Busy;
    if (!IsMidiChannel(channel)) return StartOutcome::InvalidChannel;
    if (tones.empty() || tones.size() > static_cast<std::size_t>(kMemoriesPerArea))
        return StartOutcome::InvalidToneCount;
    for (const ToneRecord& tone : tones)
        if (FirstUnsendableEntry(tone)) return StartOutcome::UnsendableTone;
    kind_ = BankKind::Write;
    channel_ = channel;
    confirmation_ = confirmation;
    toWrite_.assign(tones.begin(), tones.end());
    total_ = static_cast<int>(tones.size());
    done_ = 0;
    return StartFirst(now);
}

StartOutcome BankExchange::StartFirst(TimePoint now) {
    const StartOutcome started = StartNext(now);
    if (started != StartOutcome::Started) kind_.reset();
    return started;
}

StartOutcome BankExchange::StartNext(TimePoint now) {
    const SynthMemory memory = SynthMemory::Internal(done_ + 1);
    return *kind_ == BankKind::Get
               ? exchange_.StartFetch(channel_, memory, now)
               : exchange_.StartWrite(channel_, memory, toWrite_[static_cast<std::size_t>(done_)],
                                      confirmation_, now);
}

std::optional<BankResult> BankExchange::Receive(std::span<const std::uint8_t> bytes,
                                                TimePoint now) {
    if (!Busy()) return std::nullopt;
    return Take(exchange_.Receive(bytes, now), now);
}

std::optional<BankResult> BankExchange::Tick(TimePoint now) {
    if (!Busy()) return std::nullopt;
    return Take(exchange_.Tick(now), now);
}

std::optional<BankResult> BankExchange::Cancel(TimePoint now) {
    if (!Busy()) return std::nullopt;
    return End(BankOutcome::Cancelled, exchange_.Cancel(now));
}

std::optional<BankResult> BankExchange::Take(std::optional<ExchangeResult> step, TimePoint now) {
    if (!step) return std::nullopt;
    if (!step->Succeeded()) return End(BankOutcome::Failed, std::move(step));
    if (step->tone) fetched_.push_back(*step->tone);
    if (++done_ == total_) return End(BankOutcome::Completed, std::nullopt);
    if (StartNext(now) != StartOutcome::Started) return End(BankOutcome::Failed, std::nullopt);
    return std::nullopt;
}

BankResult BankExchange::End(BankOutcome outcome, std::optional<ExchangeResult> stop) {
    BankResult result{*kind_, outcome, {}, Progress(), std::move(stop)};
    if (outcome == BankOutcome::Completed && *kind_ == BankKind::Get)
        result.tones = std::move(fetched_);
    kind_.reset();
    fetched_.clear();
    toWrite_.clear();
    return result;
}

BankProgress BankExchange::Progress() const {
    return {done_, total_};
}

std::string BankResult::Describe() const {
    const bool get = kind == BankKind::Get;
    const std::string name = get ? "Get Bank" : "Write Bank";
    const std::string range = "internal memories 1 to " + std::to_string(progress.total);
    switch (outcome) {
        case BankOutcome::Completed:
            return (get ? "fetched " : "wrote ") + range;
        case BankOutcome::Failed:
        case BankOutcome::Cancelled:
            break;
    }
    const std::string how = outcome == BankOutcome::Cancelled ? " was cancelled" : " failed";
    const std::string what = get ? ", nothing was taken" : " (" + Written() + ")";
    const std::string after = " after " + std::to_string(progress.done) + " of " +
                              std::to_string(progress.total) + " memories";
    return name + how + after + what + (stop ? ": " + stop->Describe() : "");
}

}  // namespace voxtane::midi

namespace voxtane::midi {

std::string BankResult::Written() const {
    std::string text = progress.done == 0   ? std::string("no memory was written")
                       : progress.done == 1 ? std::string("internal memory 1 was written")
                                            : "internal memories 1 to " +
                                                  std::to_string(progress.done) + " were written";
    if (stop && stop->requestSent && stop->kind == ExchangeKind::Write)
        text += ", and " + SynthMemoryWords(stop->memory) + " may have taken its tone";
    return text;
}

}  // namespace voxtane::midi
