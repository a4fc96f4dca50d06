// Any bytes as a MIDI file in a library folder: the reader never reads past its input, never
// gives more than it read, gives the same twice, and every tone the scan then finds in its SysEx
// is a real one (256 entries of 0 to 15).
#include <cstdint>
#include <span>

#include "bank/tone_import.h"
#include "fuzz_support.h"
#include "library/smf_reader.h"

using namespace voxtane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span input(data, size);
    const library::SmfSysex read = library::ExtractSmfSysex(input);
    VOXTANE_FUZZ_CHECK(read.stream.size() <= size);
    VOXTANE_FUZZ_CHECK(library::LooksLikeSmf(input) || (read.stream.empty() && read.tracks == 0));
    const library::SmfSysex again = library::ExtractSmfSysex(input);
    VOXTANE_FUZZ_CHECK(again.stream == read.stream && again.problem == read.problem &&
                       again.tracks == read.tracks);
    for (const FoundTone& tone : ScanForTones(read.stream).tones)
        for (int e = 1; e <= kToneEntries; ++e)
            VOXTANE_FUZZ_CHECK(tone.record[e] >= 0 && tone.record[e] <= 15);
    return 0;
}
