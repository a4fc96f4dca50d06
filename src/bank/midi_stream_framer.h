#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <variant>

// Splitting a recorded MIDI byte stream into the two things a tone can hide in: SysEx messages,
// and runs of data bytes outside any SysEx (where a monitor puts an answer's data when it cut
// the answer after its header). Realtime bytes (F8 to FF) may stand anywhere, even inside a
// SysEx, and are dropped. Any other status byte ends a SysEx, as it does on a MIDI cable.
// Working memory is fixed: only the first bytes of a SysEx and the last bytes of a run are kept.
namespace voxtane {

// Enough for the longest tone message: the maker's ID, 00 00, 7n, the command, a memory position or
// an acknowledgement (two bytes), and 256 data bytes.
inline constexpr std::size_t kKeptSysexBytes = 263;
// Enough for 256 data bytes and an acknowledgement before them.
inline constexpr std::size_t kKeptRunBytes = 258;

enum class StreamEnd { F7, OtherStatus, EndOfInput };

struct FramedSysex {
    std::size_t offset = 0;              // of its F0
    std::span<const std::uint8_t> kept;  // the bytes after F0, the first kKeptSysexBytes of them
    std::size_t length = 0;              // bytes after F0, not counting realtime bytes and F7
    StreamEnd end = StreamEnd::F7;
};

// Data bytes outside any SysEx, from the status byte (or F7) before them to the byte after.
struct DataRun {
    std::span<const std::uint8_t> tail;  // its last kKeptRunBytes bytes, oldest first
    std::size_t length = 0;
    // Data bytes per message of the status byte that opened the run (running status repeats
    // it); 0 when the run follows an F7, a SysEx or a status byte that takes no data.
    int messageLength = 0;
    StreamEnd end = StreamEnd::F7;
};

// What one byte completed. The spans point into the framer and last until its next call.
using StreamEvent = std::variant<std::monostate, FramedSysex, DataRun>;

class MidiStreamFramer {
  public:
    // `offset` is where the byte stands in the file; it is only passed on.
    [[nodiscard]] StreamEvent Feed(std::uint8_t byte, std::size_t offset);
    // Ends whatever the input ended inside.
    [[nodiscard]] StreamEvent Finish();

  private:
    [[nodiscard]] StreamEvent EndSysex(StreamEnd end);
    [[nodiscard]] StreamEvent EndRun(StreamEnd end);
    void BeginAfterStatus(std::uint8_t status, std::size_t offset);
    void BeginRun(int messageLength);
    void AddToRun(std::uint8_t byte);

    bool inSysex_ = false;
    std::size_t sysexOffset_ = 0;
    std::size_t sysexLength_ = 0;
    std::array<std::uint8_t, kKeptSysexBytes> sysexBytes_{};

    // Every run byte is written twice, kKeptRunBytes apart, so that the last kKeptRunBytes of
    // them always lie side by side without copying.
    std::array<std::uint8_t, 2 * kKeptRunBytes> runRing_{};
    std::size_t runLength_ = 0;
    int runMessageLength_ = 0;
};

}  // namespace voxtane
