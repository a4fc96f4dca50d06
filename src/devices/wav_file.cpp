#include "devices/wav_file.h"

#include <sndfile.h>

namespace voxtane::devices {

WavWriteResult WriteWav(const std::filesystem::path& path, std::span<const float> samples,
                        int sampleRate) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return {WavOutcome::kCannotOpen, sf_strerror(nullptr)};

    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    const auto frames = static_cast<sf_count_t>(samples.size());
    WavWriteResult result;
    if (sf_writef_float(file, samples.data(), frames) != frames)
        result = {WavOutcome::kWriteFailed, sf_strerror(file)};
    if (const int closing = sf_close(file); closing != 0 && result.Written())
        result = {WavOutcome::kCannotClose, sf_error_number(closing)};
    return result;
}

}  // namespace voxtane::devices
