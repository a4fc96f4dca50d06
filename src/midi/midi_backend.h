#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

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
    // How long since the open nothing sent could leave at `now`: a MIDI system still making
    // the connection, or one that stood still. No wait for an answer should count that time.
    [[nodiscard]] virtual std::chrono::steady_clock::duration Stalled(
        std::chrono::steady_clock::time_point /*now*/) const {
        return {};
    }
};

// One open input, from its open to its close. What arrives waits until it is looked at.
class InputConnection {
  public:
    virtual ~InputConnection() = default;
    // What arrived since the last call, in order: whole messages or pieces of them, as the MIDI
    // system delivered them.
    [[nodiscard]] virtual std::vector<std::vector<std::uint8_t>> Received() = 0;
    // How long since the open nothing could arrive at `now`: a MIDI system still making the
    // connection, or one that stood still (a JACK server whose cycles stall on a busy machine).
    // No wait for an answer should count that time.
    [[nodiscard]] virtual std::chrono::steady_clock::duration Stalled(
        std::chrono::steady_clock::time_point /*now*/) const {
        return {};
    }
    // Called once; the connection is not used afterwards, whatever the result.
    [[nodiscard]] virtual BackendStatus Close() = 0;
};

struct OpenedInput {
    BackendStatus status;
    std::unique_ptr<InputConnection> connection;  // set exactly when status has no error
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

    // The devices that give MIDI to the program, listed afresh, named as the outputs are. An
    // input is opened by its name, which stays the same between runs.
    [[nodiscard]] virtual std::vector<std::string> InputNames() { return {}; }
    [[nodiscard]] virtual OpenedInput OpenInput(const std::string& name) {
        return {{MMSYSERR_BADDEVICEID, name + " is no MIDI input here"}, nullptr};
    }

    // What happened to the MIDI systems outside any operation that the user should learn of
    // (a server that stopped), once; nothing when there is nothing new.
    [[nodiscard]] virtual std::optional<std::string> TakeNotice() { return std::nullopt; }
};

}  // namespace voxtane::midi
