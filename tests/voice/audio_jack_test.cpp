// The live voice through RtAudio on a real JACK server, heard by a JACK client of the test's
// own: a key pressed sounds at its pitch, and released it falls silent.
#include <gtest/gtest.h>
#include <jack/jack.h>
#include <jack/ringbuffer.h>

#include <chrono>
#include <thread>

#include "devices/quiet_libraries.h"
#include "devices/rtaudio_output.h"
#include "jack_server.h"
#include "sound_check.h"

namespace voxtane::voice::testing {
namespace {

using namespace std::chrono_literals;

// A JACK client with one audio input that keeps what it hears.
class JackListener {
  public:
    JackListener() {
        jack_status_t status{};
        client_ = jack_client_open("voxtane-listener", JackNoStartServer, &status);
        if (client_ == nullptr) return;
        ring_ = jack_ringbuffer_create(1 << 22);
        port_ = jack_port_register(client_, "in", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        jack_set_process_callback(client_, &JackListener::OnProcess, this);
        jack_activate(client_);
    }
    ~JackListener() {
        if (client_ != nullptr) jack_client_close(client_);
        if (ring_ != nullptr) jack_ringbuffer_free(ring_);
    }
    [[nodiscard]] bool Listen(const std::string& source) {
        return client_ != nullptr &&
               jack_connect(client_, source.c_str(), jack_port_name(port_)) == 0;
    }
    [[nodiscard]] double Rate() const { return jack_get_sample_rate(client_); }
    // What arrived since the last call.
    [[nodiscard]] std::vector<float> Heard() {
        std::vector<float> samples(jack_ringbuffer_read_space(ring_) / sizeof(float));
        jack_ringbuffer_read(ring_, reinterpret_cast<char*>(samples.data()),
                             samples.size() * sizeof(float));
        return samples;
    }

  private:
    static int OnProcess(jack_nframes_t frames, void* self) {
        auto& listener = *static_cast<JackListener*>(self);
        const auto* in = static_cast<const float*>(jack_port_get_buffer(listener.port_, frames));
        if (jack_ringbuffer_write_space(listener.ring_) >= frames * sizeof(float))
            jack_ringbuffer_write(listener.ring_, reinterpret_cast<const char*>(in),
                                  frames * sizeof(float));
        return 0;
    }

    jack_client_t* client_ = nullptr;
    jack_port_t* port_ = nullptr;
    jack_ringbuffer_t* ring_ = nullptr;
};

TEST(AudioThroughJack, APressedKeySoundsAtItsPitchAndFallsSilentWhenReleased) {
    devices::QuietMidiLibraries();
    std::string whyNot;
    const auto server = voxtane::testing::JackServer::Start(whyNot);
    if (!server) GTEST_SKIP() << "No JACK server for this test: " << whyNot;
    devices::RtAudioOutput output;
    std::string jack;
    for (const std::string& device : output.Devices())
        if (device.rfind("JACK: ", 0) == 0) jack = device;
    ASSERT_FALSE(jack.empty()) << "RtAudio lists no JACK output";
    const AudioStatus started = output.Start(jack);
    ASSERT_TRUE(started.ok) << started.reason;
    JackListener listener;
    ASSERT_TRUE(listener.Listen(std::string(devices::RtAudioOutput::kStreamName) + ":outport 0"));

    LiveVoice& voice = *output.Voice();
    voice.Publish(HeldTone(1, 0));
    std::this_thread::sleep_for(100ms);
    (void)listener.Heard();
    voice.Press(69);
    std::this_thread::sleep_for(700ms);
    const std::vector<float> held = listener.Heard();
    ASSERT_GT(held.size(), static_cast<std::size_t>(0.5 * listener.Rate()));
    const std::span<const float> steady(held.data() + held.size() / 3, held.size() * 2 / 3);
    EXPECT_NEAR(DominantFrequency(steady, 300, 600) * kRate / listener.Rate(), 440.0, 2.0);
    EXPECT_GT(Rms(steady), 0.01);

    voice.Release(69);
    std::this_thread::sleep_for(1500ms);
    (void)listener.Heard();
    std::this_thread::sleep_for(200ms);
    EXPECT_LT(Rms(listener.Heard()), 1e-3);
    output.Stop();
}

}  // namespace
}  // namespace voxtane::voice::testing
