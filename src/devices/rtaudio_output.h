#pragma once

#include <rtaudio/RtAudio.h>

#include <memory>
#include <string>
#include <vector>

#include "voice/audio_output.h"

namespace voxtane::devices {

// The live voice heard through RtAudio, on the outputs of every audio system it reaches here
// (PulseAudio, ALSA, JACK), named with the system in front. The audio thread renders the voice
// into a buffer made beforehand and copies it to every channel.
class RtAudioOutput : public voice::AudioOutput {
  public:
    // The JACK client of a stream on JACK is named so.
    static constexpr const char* kStreamName = "Voxtane voice";
    static constexpr unsigned int kPeriodFrames = 256;

    RtAudioOutput();
    ~RtAudioOutput() override;
    RtAudioOutput(const RtAudioOutput&) = delete;
    RtAudioOutput& operator=(const RtAudioOutput&) = delete;

    [[nodiscard]] std::vector<std::string> Devices() override;
    [[nodiscard]] voice::AudioStatus Start(const std::string& device) override;
    void Stop() override;
    [[nodiscard]] voice::LiveVoice* Voice() override { return voice_.get(); }
    [[nodiscard]] int PeriodFrames() const override { return static_cast<int>(period_); }

  private:
    static int OnAudio(void* output, void* input, unsigned int frames, double time,
                       RtAudioStreamStatus status, void* self);

    std::vector<RtAudio::Api> apis_;
    std::unique_ptr<RtAudio> audio_;
    std::unique_ptr<voice::LiveVoice> voice_;
    std::vector<float> mono_;
    unsigned int channels_ = 0;
    unsigned int period_ = kPeriodFrames;
};

}  // namespace voxtane::devices
