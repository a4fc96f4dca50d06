#pragma once

#include <optional>
#include <string>
#include <variant>

#include "bank/midi_stream_framer.h"
#include "bank/tone_import.h"

// Reading one framed SysEx message, or one run of data bytes, as the synth's tone traffic. Every
// message gets a verdict; what the verdicts add up to across messages (a request and its answer,
// an answer header and its data) is left to the scan.
namespace voxtane {

// A complete tone in one message: the editor's dump or the synth's answer.
struct ToneMessage {
    ImportForm form = ImportForm::Dump;
    int channel = 1;
    std::optional<int> position;
    ToneRecord record{};
};

// The editor asking the synth for the tone at a memory position.
struct ToneRequest {
    int channel = 1;
    int position = 0;
};

// The first piece of an answer whose data comes after the message.
struct AnswerHeader {
    int channel = 1;
};

struct Rejection {
    SkipReason why = SkipReason::OtherMaker;
    std::string reason;
};

using SynthMessage = std::variant<ToneMessage, ToneRequest, AnswerHeader, Rejection>;

[[nodiscard]] SynthMessage ReadSynthMessage(const FramedSysex& message);

// The verdict on a run of data bytes while an answer header on `channel` waits for its data:
// the tone, a rejection when the run ended where the data had to be complete (at an F7 or the
// end of the file), or nothing yet when the run was other traffic.
struct NotYet {};
using AnswerData = std::variant<NotYet, ToneRecord, Rejection>;

[[nodiscard]] AnswerData ReadAnswerData(const DataRun& run, int channel);

}  // namespace voxtane
