#include "bank/tone_import.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "bank/hex_text_reader.h"
#include "bank/midi_stream_framer.h"
#include "bank/tone_messages.h"

namespace voxtane {
namespace {

constexpr int kChannels = 16;

struct PendingRequest {
    std::size_t offset = 0;
    int position = 0;
};

struct PendingHeader {
    std::size_t offset = 0;
    int channel = 1;
};

// Puts the messages of one file together: a request waits for the next answer on its channel,
// an answer header for the data run that completes it. Only these few are remembered, so the
// scan needs the same memory for any file.
class ToneScanner {
  public:
    void Feed(std::uint8_t byte, std::size_t offset) { Take(framer_.Feed(byte, offset)); }

    void Skip(std::size_t offset, SkipReason why, std::string reason) {
        if (scan_.skipped.size() < kMaxListedSkips) {
            scan_.skipped.push_back(SkippedMessage{offset, why, std::move(reason)});
        } else {
            ++scan_.skippedBeyondList;
        }
    }

    [[nodiscard]] ToneScan Finish(FileEncoding encoding) {
        Take(framer_.Finish());
        DropHeader();
        for (auto& request : requests_) {
            if (request) SkipUnanswered(*request);
        }
        // Exchanges are found at their answer but listed at their request, and unanswered
        // requests only at the end; order both lists by offset for the reader.
        const auto byOffset = [](const auto& a, const auto& b) { return a.offset < b.offset; };
        std::stable_sort(scan_.tones.begin(), scan_.tones.end(), byOffset);
        std::stable_sort(scan_.skipped.begin(), scan_.skipped.end(), byOffset);
        scan_.encoding = encoding;
        return std::move(scan_);
    }

  private:
    void Take(const StreamEvent& event) {
        if (const auto* sysex = std::get_if<FramedSysex>(&event)) TakeSysex(*sysex);
        if (const auto* run = std::get_if<DataRun>(&event)) TakeRun(*run);
    }

    void TakeSysex(const FramedSysex& sysex) {
        auto message = ReadSynthMessage(sysex);
        if (auto* tone = std::get_if<ToneMessage>(&message)) {
            Add(std::move(*tone), sysex.offset);
        } else if (const auto* request = std::get_if<ToneRequest>(&message)) {
            auto& waiting = requests_[request->channel - 1];
            if (waiting) SkipUnanswered(*waiting);
            waiting = PendingRequest{sysex.offset, request->position};
        } else if (const auto* header = std::get_if<AnswerHeader>(&message)) {
            DropHeader();
            header_ = PendingHeader{sysex.offset, header->channel};
        } else {
            auto& rejection = std::get<Rejection>(message);
            Skip(sysex.offset, rejection.why, std::move(rejection.reason));
        }
    }

    void TakeRun(const DataRun& run) {
        if (!header_) return;
        auto data = ReadAnswerData(run, header_->channel);
        if (auto* record = std::get_if<ToneRecord>(&data)) {
            Add(ToneMessage{ImportForm::AnswerInPieces, header_->channel, std::nullopt, *record},
                header_->offset);
            header_.reset();
        } else if (auto* rejection = std::get_if<Rejection>(&data)) {
            Skip(header_->offset, rejection->why, std::move(rejection->reason));
            header_.reset();
        }
    }

    // An answer after a request on its channel completes the exchange: it takes the memory
    // position from the request and is listed where the request starts.
    void Add(ToneMessage tone, std::size_t offset) {
        auto& request = requests_[tone.channel - 1];
        if (tone.form != ImportForm::Dump && request) {
            tone.form = ImportForm::Exchange;
            tone.position = request->position;
            offset = request->offset;
            request.reset();
        }
        scan_.tones.push_back(
            FoundTone{tone.record, offset, tone.channel, tone.position, tone.form});
    }

    void DropHeader() {
        if (!header_) return;
        Skip(header_->offset, SkipReason::AnswerWithoutData, "answer header without its data");
        header_.reset();
    }

    void SkipUnanswered(const PendingRequest& request) {
        Skip(request.offset, SkipReason::UnansweredRequest, "tone request without an answer");
    }

    MidiStreamFramer framer_;
    std::array<std::optional<PendingRequest>, kChannels> requests_;
    std::optional<PendingHeader> header_;
    ToneScan scan_;
};

}  // namespace

ToneScan ScanForTones(std::span<const std::uint8_t> bytes) {
    ToneScanner scanner;
    if (!IsHexText(bytes)) {
        for (std::size_t i = 0; i < bytes.size(); ++i) scanner.Feed(bytes[i], i);
        return scanner.Finish(FileEncoding::Binary);
    }
    HexTextReader reader(bytes);
    while (const auto byte = reader.Next()) {
        if (byte->digits == HexByteDigits::LeftOver)
            scanner.Skip(byte->offset, SkipReason::OddHexDigits,
                         "a number with an odd count of hex digits; its last digit was read alone");
        scanner.Feed(byte->value, byte->offset);
    }
    return scanner.Finish(FileEncoding::HexText);
}

}  // namespace voxtane
