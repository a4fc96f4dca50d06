#include "devices/rtaudio_output.h"

#include <algorithm>

namespace voxtane::devices {

namespace {
// The systems in the order a desktop user expects them.
constexpr RtAudio::Api kPreferred[] = {RtAudio::LINUX_PULSE, RtAudio::LINUX_ALSA,
                                       RtAudio::UNIX_JACK};
constexpr unsigned int kPreferredRate = 48000;
// Room for any block an audio system asks for.
constexpr std::size_t kLongestBlock = 16384;

// Named as the MIDI devices are: the system, then the device.
std::string Named(RtAudio::Api api, const std::string& device) {
    switch (api) {
        case RtAudio::LINUX_PULSE:
            return "PulseAudio: " + device;
        case RtAudio::LINUX_ALSA:
            return "ALSA: " + device;
        case RtAudio::UNIX_JACK:
            return "JACK: " + device;
        default:
            return RtAudio::getApiDisplayName(api) + ": " + device;
    }
}
}  // namespace

RtAudioOutput::RtAudioOutput() : mono_(kLongestBlock) {
    std::vector<RtAudio::Api> compiled;
    RtAudio::getCompiledApi(compiled);
    for (RtAudio::Api api : kPreferred)
        if (std::find(compiled.begin(), compiled.end(), api) != compiled.end())
            apis_.push_back(api);
}

RtAudioOutput::~RtAudioOutput() {
    Stop();
}

// Asking a system that does not run here is answered with an error, which only means it offers
// no device.
std::vector<std::string> RtAudioOutput::Devices() {
    std::vector<std::string> names;
    for (RtAudio::Api api : apis_) {
        try {
            RtAudio audio(api);
            audio.showWarnings(false);
            for (unsigned int i = 0; i < audio.getDeviceCount(); ++i) {
                const RtAudio::DeviceInfo info = audio.getDeviceInfo(i);
                if (info.probed && info.outputChannels > 0) names.push_back(Named(api, info.name));
            }
        } catch (const RtAudioError&) {
        }
    }
    return names;
}

voice::AudioStatus RtAudioOutput::Start(const std::string& device) {
    Stop();
    for (RtAudio::Api api : apis_) {
        try {
            auto audio = std::make_unique<RtAudio>(api);
            audio->showWarnings(false);
            for (unsigned int i = 0; i < audio->getDeviceCount(); ++i) {
                const RtAudio::DeviceInfo info = audio->getDeviceInfo(i);
                if (!info.probed || info.outputChannels == 0) continue;
                if (!device.empty() && Named(api, info.name) != device) continue;
                const bool rateSupported =
                    std::find(info.sampleRates.begin(), info.sampleRates.end(), kPreferredRate) !=
                    info.sampleRates.end();
                unsigned int rate = rateSupported ? kPreferredRate : info.preferredSampleRate;
                if (rate == 0) rate = kPreferredRate;
                channels_ = std::min(info.outputChannels, 2u);
                RtAudio::StreamParameters parameters{i, channels_, 0};
                RtAudio::StreamOptions options;
                options.streamName = kStreamName;
                options.flags = RTAUDIO_MINIMIZE_LATENCY;
                period_ = kPeriodFrames;
                voice_ = std::make_unique<voice::LiveVoice>(rate);
                audio->openStream(&parameters, nullptr, RTAUDIO_FLOAT32, rate, &period_,
                                  &RtAudioOutput::OnAudio, this, &options);
                // The voice renders at the rate the stream got.
                const unsigned int got = audio->getStreamSampleRate();
                if (got != rate) voice_ = std::make_unique<voice::LiveVoice>(got);
                audio->startStream();
                audio_ = std::move(audio);
                return {};
            }
        } catch (const RtAudioError& e) {
            voice_.reset();
            return {false, e.getMessage()};
        }
    }
    return {false, device.empty() ? "no audio output here" : device + " is not there"};
}

void RtAudioOutput::Stop() {
    if (audio_) {
        try {
            if (audio_->isStreamRunning()) audio_->stopStream();
            if (audio_->isStreamOpen()) audio_->closeStream();
        } catch (const RtAudioError&) {
        }
        audio_.reset();
    }
    voice_.reset();
}

int RtAudioOutput::OnAudio(void* output, void*, unsigned int frames, double, RtAudioStreamStatus,
                           void* self) {
    auto& out = *static_cast<RtAudioOutput*>(self);
    auto* samples = static_cast<float*>(output);
    const std::size_t count = std::min<std::size_t>(frames, out.mono_.size());
    out.voice_->Render(std::span(out.mono_.data(), count));
    for (std::size_t frame = 0; frame < frames; ++frame)
        for (unsigned int channel = 0; channel < out.channels_; ++channel)
            samples[frame * out.channels_ + channel] = frame < count ? out.mono_[frame] : 0.0f;
    return 0;
}

}  // namespace voxtane::devices
