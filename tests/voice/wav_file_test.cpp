// A rendered note written as the command line writes it, and read back by libsndfile.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "devices/wav_file.h"
#include "sound_check.h"

namespace voxtane::voice::testing {
namespace {

TEST(WavFile, RenderedNoteReadsBackAsMono16BitAtItsRate) {
    const std::vector<float> note = Play(HeldTone(1, 60), 60, 0.3, 0.5);
    ASSERT_EQ(note.size(), static_cast<std::size_t>(0.5 * kRate));
    const auto path = std::filesystem::temp_directory_path() /
                      ("voxtane-voice-" + std::to_string(::getpid()) + ".wav");
    const devices::WavWriteResult result = devices::WriteWav(path, note, static_cast<int>(kRate));
    ASSERT_TRUE(result.Written()) << result.reason;

    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(info.channels, 1);
    EXPECT_EQ(info.samplerate, 48000);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    std::vector<float> back(note.size());
    EXPECT_EQ(sf_readf_float(file, back.data(), info.frames), static_cast<sf_count_t>(note.size()));
    sf_close(file);
    std::filesystem::remove(path);
    for (std::size_t i = 0; i < note.size(); ++i) ASSERT_NEAR(back[i], note[i], 1.0 / 32767) << i;
}

TEST(WavFile, FailureCarriesLibsndfilesReason) {
    const std::vector<float> silence(100);
    const devices::WavWriteResult missing =
        devices::WriteWav("/nonexistent-folder/x.wav", silence, 48000);
    EXPECT_EQ(missing.outcome, devices::WavOutcome::kCannotOpen);
    EXPECT_FALSE(missing.reason.empty());
    const devices::WavWriteResult badRate =
        devices::WriteWav("/tmp/voxtane-bad-rate.wav", silence, 0);
    EXPECT_EQ(badRate.outcome, devices::WavOutcome::kCannotOpen);
    EXPECT_FALSE(badRate.reason.empty());
}

}  // namespace
}  // namespace voxtane::voice::testing
