// render: a patch of a bank file played by the software voice, into a WAV file.
#include <algorithm>
#include <cmath>
#include <iostream>

#include "cli/cli_error.h"
#include "cli/commands.h"
#include "cli/device_library_loader.h"
#include "cli/headless_editor.h"
#include "tone/decoded_tone.h"
#include "tone/default_tone.h"
#include "voice/note_range.h"
#include "voice/render_note.h"

namespace voxtane::cli {

namespace {
constexpr double kLongest = 600.0;  // seconds of sound at the most
constexpr float kHighestPeak = 0.98f;
}  // namespace

int RunRender(const RenderOptions& options) {
    if (options.note < voice::kLowestMidiNote || options.note > voice::kHighestMidiNote)
        throw UsageError("--note " + std::to_string(options.note) + ": notes are 0 to 127");
    if (!(options.hold >= 0) || options.hold > kLongest)
        throw UsageError("--hold: 0 to 600 seconds");
    const double seconds = options.seconds.value_or(options.hold + 1.0);
    if (!(seconds > 0) || seconds > kLongest) throw UsageError("--seconds: up to 600 seconds");
    if (options.rate < 8000 || options.rate > 192000)
        throw UsageError("--rate " + std::to_string(options.rate) + ": 8000 to 192000 Hz");

    HeadlessEditor bank;
    bank.Load(options.file);
    const int count = bank.State().PatchCount;
    if (options.patch < 1 || options.patch > count)
        throw UsageError("--patch " + std::to_string(options.patch) + ": \"" + options.file +
                         "\" holds patches 1 to " + std::to_string(count));
    // As a freshly started editor shows the patch.
    const DecodedTone tone =
        DecodeTone(bank.State().PatchBank[options.patch], DefaultDecodedTone()).tone;
    std::vector<float> sound =
        voice::RenderNote(tone, options.note, options.hold, seconds, options.rate);
    // Full scale itself is left alone: 16-bit samples hold one step less above zero than below.
    float peak = 0.0f;
    for (float sample : sound) peak = std::max(peak, std::abs(sample));
    if (peak > kHighestPeak)
        for (float& sample : sound) sample *= kHighestPeak / peak;

    std::string whyNot;
    const std::unique_ptr<DeviceLibrary> library = DeviceLibrary::Load(whyNot);
    if (!library) throw RuntimeFailure(whyNot);
    if (const std::string failed = library->WriteWav(options.out, sound, options.rate);
        !failed.empty())
        throw RuntimeFailure("The file \"" + options.out + "\" could not be written: " + failed +
                             ".");
    std::cout << "Rendered patch " << options.patch << " at note " << options.note;
    // As on the instrument, a note outside 36 to 96 sounds an octave or more nearer.
    if (const int sounding = voice::SoundingNote(options.note); sounding != options.note)
        std::cout << " (sounding as note " << sounding << ")";
    std::cout << " into " << options.out << '\n';
    return kExitOk;
}

}  // namespace voxtane::cli
