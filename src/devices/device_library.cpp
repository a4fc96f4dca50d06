#include "devices/device_library.h"

#include <cstring>

#include "devices/rtaudio_output.h"
#include "devices/system_midi_backend.h"
#include "devices/wav_file.h"

extern "C" voxtane::midi::MidiBackend* voxtane_make_system_midi_backend() {
    return new voxtane::devices::SystemMidiBackend();
}

extern "C" voxtane::voice::AudioOutput* voxtane_make_audio_output() {
    return new voxtane::devices::RtAudioOutput();
}

extern "C" int voxtane_write_wav(const char* path, const float* samples, std::size_t count,
                                 int sampleRate, char* reason, std::size_t reasonSize) {
    const voxtane::devices::WavWriteResult written =
        voxtane::devices::WriteWav(path, std::span(samples, count), sampleRate);
    if (written.Written()) return 0;
    if (reasonSize > 0) {
        const std::size_t length = std::min(written.reason.size(), reasonSize - 1);
        std::memcpy(reason, written.reason.data(), length);
        reason[length] = '\0';
    }
    return 1;
}
