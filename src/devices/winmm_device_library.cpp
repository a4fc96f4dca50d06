// The device library's entry points in the Windows build, where MIDI goes through WinMM and
// there is no libsndfile: see docs/platforms.md.
#include <algorithm>
#include <cstring>

#include "devices/device_library.h"
#include "devices/winmm_backend.h"

extern "C" voxtane::midi::MidiBackend* voxtane_make_system_midi_backend() {
    return new voxtane::devices::WinMmBackend(voxtane::devices::MakeSystemWinMmApi());
}

extern "C" int voxtane_write_wav(const char* /*path*/, const float* /*samples*/,
                                 std::size_t /*count*/, int /*sampleRate*/, char* reason,
                                 std::size_t reasonSize) {
    constexpr const char* kWhyNot = "this Windows build writes no WAV files (it has no libsndfile)";
    if (reasonSize > 0) {
        const std::size_t length = std::min(std::strlen(kWhyNot), reasonSize - 1);
        std::memcpy(reason, kWhyNot, length);
        reason[length] = '\0';
    }
    return 1;
}
