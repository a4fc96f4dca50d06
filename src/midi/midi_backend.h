#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "midi/mm_system.h"

// What the MIDI output layer asks of the MIDI systems behind it. One implementation talks to
// the real systems through RtMidi; another records everything for tests. Every failure comes
// back as a result code of the layer, with the system's own words where it gave any.
namespace voxtane::midi {

struct BackendStatus {
    MMRESULT code = MMSYSERR_NOERROR;
    std::string reason;  // "" when there is nothing to add to the code's description
};

// One open output, from its open to its close.
class OutputConnection {
  public:
    virtual ~OutputConnection() = default;

    // The systems behind this layer copy the bytes while sending, so a buffer needs no locking;
    // a backend may still refuse.
    [[nodiscard]] virtual BackendStatus Prepare(std::span<const std::uint8_t> /*buffer*/) {
        return {};
    }
    [[nodiscard]] virtual BackendStatus Unprepare(std::span<const std::uint8_t> /*buffer*/) {
        return {};
    }
    // Hands one complete message to the MIDI system.
    [[nodiscard]] virtual BackendStatus SendLong(std::span<const std::uint8_t> message) = 0;
    [[nodiscard]] virtual BackendStatus SendShort(std::span<const std::uint8_t> message) = 0;
    // Returns once everything sent has been handed to the MIDI system, then lets go of the
    // device. Called once; the connection is not used afterwards, whatever the result.
    [[nodiscard]] virtual BackendStatus Close() = 0;
};

struct DeviceName {
    BackendStatus status;
    std::string name;
};

struct OpenedOutput {
    BackendStatus status;
    std::unique_ptr<OutputConnection> connection;  // set exactly when status has no error
};

class MidiBackend {
  public:
    virtual ~MidiBackend() = default;

    // Takes a fresh list of the output devices and returns their number. Device numbers of
    // later calls refer to this list until the next listing.
    [[nodiscard]] virtual std::size_t ListDevices() = 0;
    [[nodiscard]] virtual DeviceName NameOf(std::size_t device) = 0;
    [[nodiscard]] virtual OpenedOutput Open(std::size_t device) = 0;
    // The program's own output port, which other programs connect to; it is made on first use
    // and stays for the whole run, so connections made to it survive between operations.
    [[nodiscard]] virtual OpenedOutput OpenDefault() = 0;
};

}  // namespace voxtane::midi
