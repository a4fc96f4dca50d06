#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "voice/audio_output.h"

namespace voxtane::qttest {

// An audio output of the test's own: the devices it is given, a voice at 48 kHz once started,
// and blocks rendered when the test asks, on the test's thread, as the audio thread would.
class ScriptedAudioOutput : public voice::AudioOutput {
  public:
    static constexpr double kSampleRate = 48000.0;
    static constexpr int kPeriod = 256;

    explicit ScriptedAudioOutput(std::vector<std::string> devices) : devices_(std::move(devices)) {}

    [[nodiscard]] std::vector<std::string> Devices() override { return devices_; }
    [[nodiscard]] voice::AudioStatus Start(const std::string& device) override;
    void Stop() override;
    [[nodiscard]] voice::LiveVoice* Voice() override;
    [[nodiscard]] int PeriodFrames() const override { return kPeriod; }

    // Renders `seconds` of sound in periods; the largest magnitude in it (0 while stopped).
    float Render(double seconds = double(kPeriod) / kSampleRate);
    // The devices started, in order.
    [[nodiscard]] std::vector<std::string> Starts() const;

  private:
    std::vector<std::string> devices_;
    mutable std::mutex mutex_;  // the window starts and stops from a thread of its own
    std::unique_ptr<voice::LiveVoice> voice_;
    std::vector<std::string> starts_;
};

}  // namespace voxtane::qttest
