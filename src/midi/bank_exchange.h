#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "midi/tone_exchange.h"

// Get Bank and Write Bank: the sixteen internal memories, one exchange after the other.
namespace voxtane::midi {

enum class BankKind { Get, Write };
enum class BankOutcome { Completed, Failed, Cancelled };

struct BankProgress {
    int done = 0;  // memories fetched or written so far
    int total = 0;
};

struct BankResult {
    BankKind kind;
    BankOutcome outcome;
    // Get Bank: internal memories 1 to 16 in order, only when Completed. A bank that stopped
    // early gives no tones at all, so that no caller mixes part of the synth's bank into its own.
    std::vector<ToneRecord> tones;
    BankProgress progress;
    // The exchange that failed or was cancelled, when the bank stopped early.
    std::optional<ExchangeResult> stop;

    [[nodiscard]] std::string Describe() const;
    // For Write Bank: which memories hold their new tone, and whether the memory whose write
    // was under way may have taken its tone ("internal memories 1 to 5 were written").
    [[nodiscard]] std::string Written() const;
};

// Drives a ToneExchange through a bank. While a bank is under way the caller feeds input and
// ticks to this object, not to the exchange; afterwards the exchange is free for single tones
// again (and keeps its quiet rule across both).
class BankExchange {
  public:
    using TimePoint = ToneExchange::TimePoint;

    explicit BankExchange(ToneExchange& exchange) : exchange_(exchange) {}

    [[nodiscard]] StartOutcome StartGet(int channel, TimePoint now);
    // Tone k goes to internal memory k; 1 to 16 tones. Every tone is checked before the first
    // is sent.
    [[nodiscard]] StartOutcome StartWrite(int channel, std::span<const ToneRecord> tones,
                                          Confirmation confirmation, TimePoint now);

    // Each returns the result when the bank ends during the call; nothing otherwise.
    [[nodiscard]] std::optional<BankResult> Receive(std::span<const std::uint8_t> bytes,
                                                    TimePoint now);
    [[nodiscard]] std::optional<BankResult> Tick(TimePoint now);
    [[nodiscard]] std::optional<BankResult> Cancel(TimePoint now);

    [[nodiscard]] bool Busy() const { return kind_.has_value(); }
    [[nodiscard]] BankProgress Progress() const;
    [[nodiscard]] std::optional<TimePoint> NextDeadline() const { return exchange_.NextDeadline(); }

  private:
    [[nodiscard]] StartOutcome StartFirst(TimePoint now);
    [[nodiscard]] StartOutcome StartNext(TimePoint now);
    [[nodiscard]] std::optional<BankResult> Take(std::optional<ExchangeResult> step, TimePoint now);
    [[nodiscard]] BankResult End(BankOutcome outcome, std::optional<ExchangeResult> stop);

    ToneExchange& exchange_;
    std::optional<BankKind> kind_;
    int channel_ = 1;
    Confirmation confirmation_ = Confirmation::FromSynth;
    std::vector<ToneRecord> toWrite_;
    std::vector<ToneRecord> fetched_;
    int total_ = 0;
    int done_ = 0;
};

}  // namespace voxtane::midi
