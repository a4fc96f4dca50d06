#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The SysEx inside a Standard MIDI File, laid out again as the bytes a cable would have carried,
// so that the tone scan finds dumps in it as in any recording. Tracks are walked event by event;
// lengths are checked against the bytes left, so a cut or forged file ends the track, never the
// reader. The output is never longer than the input.
namespace voxtane::library {

[[nodiscard]] bool LooksLikeSmf(std::span<const std::uint8_t> bytes);

struct SmfSysex {
    // F0 and its bytes for every SysEx event; the bytes of F7 events (continuations and escapes)
    // as they are.
    std::vector<std::uint8_t> stream;
    int tracks = 0;       // track chunks read
    std::string problem;  // the first thing that ended a track early, empty when none did
};

[[nodiscard]] SmfSysex ExtractSmfSysex(std::span<const std::uint8_t> bytes);

}  // namespace voxtane::library
