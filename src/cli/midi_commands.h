#pragma once

#include <CLI/CLI.hpp>

#include <iosfwd>
#include <optional>
#include <string>

#include "cli/exchange_commands.h"
#include "midi/clock.h"
#include "midi/midi_backend.h"

// The MIDI subcommands of voxtane-syx: `ports` and `send`, run through the editor's own device
// list and senders.
namespace voxtane::cli {

struct SendOptions {
    std::string file;
    int patch = 1;
    // A device id as `ports` shows it, or a device's name; absent: the default output.
    std::optional<std::string> port;
    bool note = false;
};

// Prints the device list as the editor's device window shows it, one entry a line with the
// device id that choosing it gives ("-1  Device not enabled", "0  ALSA: ..."), and kNoOutputs
// after them when no device is listed.
int RunPorts(midi::MidiBackend& backend, std::ostream& out);

// Loads the bank file as "&Load" does, selects the patch, chooses the port in the device list,
// presses "Send Patch" and, with `note`, "Play Note". What the editor reports in its message
// boxes is thrown as a failure; a port or patch that does not exist is a usage error.
int RunSend(const SendOptions& options, midi::MidiBackend& backend, midi::Clock& clock,
            std::ostream& out);

// Adds `ports`, `send`, `get` and `put` to the program's command line; after parsing, RunParsed
// runs the one that was chosen on this machine's MIDI systems.
class MidiCommands {
  public:
    explicit MidiCommands(CLI::App& app);
    // The exit code of the MIDI subcommand given, or nothing when the command line chose
    // another one. Failures are thrown as CliError.
    [[nodiscard]] std::optional<int> RunParsed();

  private:
    CLI::App* ports_;
    bool portsIn_ = false;
    CLI::App* send_;
    SendOptions sendOptions_;
    std::optional<int> sendPatch_;
    CLI::App* get_;
    GetOptions getOptions_;
    CLI::App* put_;
    PutOptions putOptions_;
};

}  // namespace voxtane::cli
