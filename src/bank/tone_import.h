#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tone/tone_record.h"

// Finding the synth's tones in whatever file an owner shares: the editor's own bank files, the
// synth's answers as a MIDI monitor recorded them (whole, after a request, or in pieces), with
// any other MIDI traffic around them, as raw bytes or as hexadecimal text. Nothing is decided by
// the file's name; the scan reads the bytes, keeps every tone it can vouch for and says why it
// passed over every other SysEx message.
namespace voxtane {

// How a tone was carried.
enum class ImportForm {
    Dump,            // the editor's tone message: F0 44 00 00 7n 20 pp, 256 data bytes, F7
    Answer,          // the synth's answer alone: F0 44 00 00 7n 30, 256 data bytes, F7
    AnswerInPieces,  // F0 44 00 00 7n 30 as a message of its own, then 256 data bytes and F7
    Exchange,        // a request F0 44 00 00 7n 10 pp, then the answer, whole or in pieces
};

// Whether the file was read as bytes or as hexadecimal text. In text, every offset counts
// characters of the file (the first hex digit of the byte meant), not decoded bytes.
enum class FileEncoding { Binary, HexText };

enum class SkipReason {
    OtherMaker,         // the manufacturer byte is not this synth's maker's 44
    OtherInstrument,    // this maker, but not the header this synth uses (44 00 00 7n)
    OtherCommand,       // this synth, but not a tone dump, answer or request
    TooShort,           // ends before its header is complete
    UnknownPosition,    // a memory position the synth does not have
    WrongLength,        // not exactly 256 data bytes
    NotANibble,         // a data byte above 0F
    UnexpectedBytes,    // a request followed by more than the acknowledgement
    UnansweredRequest,  // a request that no answer on its channel followed
    AnswerWithoutData,  // an answer header whose 256 data bytes never came
    OddHexDigits,       // text: a number with an odd count of digits; its last digit stood alone
};

struct FoundTone {
    ToneRecord record{};          // entries 1 to 256, each 0 to 15; entry 0 is 0
    std::size_t offset = 0;       // where the tone's first message starts (its F0)
    int channel = 1;              // MIDI channel 1 to 16
    std::optional<int> position;  // the memory position (00-0F, 20-2F, 40-4F, 60) if named
    ImportForm form = ImportForm::Dump;
};

struct SkippedMessage {
    std::size_t offset = 0;  // of the message's F0 (or of the odd digit in text)
    SkipReason why = SkipReason::OtherMaker;
    std::string reason;  // a short sentence for the user, with the byte or count at fault
};

// At most this many skipped messages are listed; a file of junk would otherwise make a list
// many times its own size. The rest are only counted.
inline constexpr std::size_t kMaxListedSkips = 1000;

struct ToneScan {
    FileEncoding encoding = FileEncoding::Binary;
    std::vector<FoundTone> tones;         // in the order of their offsets
    std::vector<SkippedMessage> skipped;  // likewise
    std::size_t skippedBeyondList = 0;    // skipped messages not listed
};

// Scans a whole file's content. Hexadecimal text is recognised by its characters alone: hex
// digits, blanks, tabs, line breaks, commas, "0x" and "$" prefixes, and at least one digit.
// Runs in one pass with constant working memory and never throws (short of running out of
// memory for the results).
[[nodiscard]] ToneScan ScanForTones(std::span<const std::uint8_t> bytes);

}  // namespace voxtane
