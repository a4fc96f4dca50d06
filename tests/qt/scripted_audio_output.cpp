#include "scripted_audio_output.h"

#include <algorithm>
#include <cmath>

namespace voxtane::qttest {

voice::AudioStatus ScriptedAudioOutput::Start(const std::string& device) {
    const std::lock_guard lock(mutex_);
    voice_.reset();
    const std::string name = device.empty() && !devices_.empty() ? devices_.front() : device;
    if (std::find(devices_.begin(), devices_.end(), name) == devices_.end())
        return {false, device + " is not there"};
    starts_.push_back(name);
    voice_ = std::make_unique<voice::LiveVoice>(kSampleRate);
    return {};
}

void ScriptedAudioOutput::Stop() {
    const std::lock_guard lock(mutex_);
    voice_.reset();
}

voice::LiveVoice* ScriptedAudioOutput::Voice() {
    const std::lock_guard lock(mutex_);
    return voice_.get();
}

float ScriptedAudioOutput::Render(double seconds) {
    const std::lock_guard lock(mutex_);
    if (!voice_) return 0.0f;
    std::vector<float> block(kPeriod);
    float peak = 0.0f;
    for (int frames = int(seconds * kSampleRate); frames > 0; frames -= kPeriod) {
        voice_->Render(block);
        for (const float sample : block) peak = std::max(peak, std::abs(sample));
    }
    return peak;
}

std::vector<std::string> ScriptedAudioOutput::Starts() const {
    const std::lock_guard lock(mutex_);
    return starts_;
}

}  // namespace voxtane::qttest
