#pragma once

#include <memory>
#include <string>
#include <vector>

#include "voice/live_voice.h"

namespace voxtane::voice {

struct AudioStatus {
    bool ok = true;
    std::string reason;  // the audio system's own words when something failed
};

// Where the live voice is heard: an audio output of this machine. The window's is RtAudio's
// (ALSA, PulseAudio, JACK); tests play into a stream of their own.
class AudioOutput {
  public:
    virtual ~AudioOutput() = default;
    // The outputs that play sound, by name ("PulseAudio: Default"); none where there are none.
    [[nodiscard]] virtual std::vector<std::string> Devices() = 0;
    // Opens the named output (the first when "") and plays `voice` on it from the audio
    // thread; the voice is made for the output's sample rate.
    [[nodiscard]] virtual AudioStatus Start(const std::string& device) = 0;
    virtual void Stop() = 0;
    // The voice that plays while started; nothing otherwise.
    [[nodiscard]] virtual LiveVoice* Voice() = 0;
    [[nodiscard]] virtual int PeriodFrames() const = 0;
};

}  // namespace voxtane::voice
