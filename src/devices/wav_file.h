#pragma once

#include <filesystem>
#include <span>
#include <string>

// Rendered sound to a WAV file (mono, 16-bit PCM) through libsndfile.
namespace voxtane::devices {

enum class WavOutcome { kWritten, kCannotOpen, kWriteFailed, kCannotClose };

struct WavWriteResult {
    WavOutcome outcome = WavOutcome::kWritten;
    std::string reason;  // libsndfile's own words when something failed
    [[nodiscard]] bool Written() const { return outcome == WavOutcome::kWritten; }
};

// Samples beyond [-1, 1] are clipped to full scale.
[[nodiscard]] WavWriteResult WriteWav(const std::filesystem::path& path,
                                      std::span<const float> samples, int sampleRate);

}  // namespace voxtane::devices
