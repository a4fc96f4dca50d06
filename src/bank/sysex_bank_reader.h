#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "bank/synth_protocol.h"
#include "tone/tone_record.h"

// Reading the messages of a SysEx bank file: tone dumps of 264 bytes back to back (F0, five
// header bytes, the memory position, 256 data bytes, F7). Reading is tolerant, byte by byte as
// the editor always read: a message ends after its F7 or at the end of the file, bytes past the
// 263rd are dropped, and reading stops at the first message that does not start with F0. The
// file is streamed in blocks, so a huge file never takes more than a block of memory.
//
// Files that owners made with generic tools hold the synth's answer as it came, a byte shorter
// and without a memory position: read as a tone dump, every entry would be shifted by one. A
// message of exactly that form (command 30 at offset 5, F7 at offset 262) is read as the answer.
namespace voxtane {

enum class MessageForm {
    ToneDump,     // the editor's own: the memory position at offset 6, data from offset 7
    SynthAnswer,  // the synth's answer: no memory position, data from offset 6
};

struct SysexMessage {
    std::uint64_t offset = 0;              // of its F0 in the file
    std::uint64_t length = 0;              // bytes belonging to it, F0 up to and including its F7
    bool endedByF7 = false;                // false when the file ended inside it
    std::array<std::uint8_t, 6> header{};  // the bytes after F0 (offsets 1 to 6)
    int headerCount = 0;
    std::array<std::uint8_t, kToneEntries> data{};  // entries 1 to 256 as far as present
    int dataCount = 0;
    MessageForm form = MessageForm::ToneDump;
    // Where data[0] lies from the message's F0.
    [[nodiscard]] int DataOffset() const {
        return static_cast<int>(form == MessageForm::SynthAnswer ? kCommandOffset + 1
                                                                 : kPositionOffset + 1);
    }
};

// Pulls messages from an open file, one at a time.
class SysexMessageReader {
  public:
    explicit SysexMessageReader(std::FILE* file) : file_(file) {}

    // The next message, or nothing when the file has no byte left or the next byte is not F0
    // (that byte is then left unread for AtEnd() and Offset()).
    [[nodiscard]] std::optional<SysexMessage> Next();
    [[nodiscard]] bool AtEnd();
    // Offset of the next unread byte.
    [[nodiscard]] std::uint64_t Offset() const { return offset_; }
    // True when a read from the file failed (as opposed to reaching its end).
    [[nodiscard]] bool ReadFailed() const { return readFailed_; }

  private:
    bool Fill();
    std::optional<std::uint8_t> Peek();
    std::uint8_t Take();

    std::FILE* file_;
    // Left uninitialised: only the bytes read are used, and a small file then touches only the
    // memory it fills (a short-lived `show` pays for every page it touches).
    std::array<std::uint8_t, 65536> buffer_;
    std::size_t position_ = 0;
    std::size_t size_ = 0;
    std::uint64_t offset_ = 0;
    bool readFailed_ = false;
};

enum class BankReadStatus {
    Read,        // at least one message
    CannotOpen,  // the file could not be opened for reading
    Empty,       // the file holds no byte
    NotSysex,    // its first byte is not F0
    ReadError,   // reading failed before any message was complete
};

struct BankReadResult {
    BankReadStatus status = BankReadStatus::CannotOpen;
    std::string reason;  // the system's words when the file could not be opened or read
    std::vector<SysexMessage> messages;  // at most the number asked for
};

// Reads up to `maxMessages` messages from the file at `path`.
[[nodiscard]] BankReadResult ReadSysexBank(const std::string& path, int maxMessages);
// The same from a stream already open: a file, or bytes in memory through fmemopen.
[[nodiscard]] BankReadResult ReadSysexBank(std::FILE* file, int maxMessages);

}  // namespace voxtane
