#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "midi/clock.h"
#include "midi/midi_backend.h"

// The exchanges with the synth from the command line: `ports --in`, `get` and `put`, run by the
// same exchange machines as the window's Synth menu, on a loop of the command's own.
namespace voxtane::cli {

struct GetOptions {
    std::string out;
    std::string input;   // id or name as `ports --in` shows them
    std::string output;  // id or name as `ports` shows them
    int channel = 1;
    std::string from = "current";  // current, preset:N, internal:N, cartridge:N
    bool bank = false;
};

struct PutOptions {
    std::string file;
    std::string output;
    std::optional<std::string> input;
    int channel = 1;
    int patch = 1;
    std::string to = "current";  // current or internal:N
    bool bank = false;
};

// What the listings and the commands that need a device say when the system offers none.
inline constexpr const char* kNoOutputs = "no MIDI output devices";
inline constexpr const char* kNoInputs = "no MIDI inputs";

// Lists the MIDI inputs, one a line with the id that chooses it ("0  JACK: synth:out"), or
// kNoInputs.
int RunInputPorts(midi::MidiBackend& backend, std::ostream& out);
// Fetches a tone (or internal memories 1 to 16) and writes them as the editor saves one patch
// (or a 16-patch bank) with the names file; nothing is written when an exchange fails.
int RunGet(const GetOptions& options, midi::MidiBackend& backend, midi::Clock& clock,
           std::ostream& out);
// Writes a patch (or patches 1 to the file's count) into the synth; with an input, each must be
// confirmed.
int RunPut(const PutOptions& options, midi::MidiBackend& backend, midi::Clock& clock,
           std::ostream& out);

}  // namespace voxtane::cli
