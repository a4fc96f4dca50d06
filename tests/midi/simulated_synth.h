#pragma once

#include <jack/jack.h>
#include <jack/ringbuffer.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "synth_responder.h"

namespace voxtane::testing {

// A synth on a JACK server: a client with an input and an output MIDI port that answers tone
// requests as the real instrument does (see SynthResponder). Its answers leave in pieces, one
// per process cycle: either pieces of changing sizes, as a MIDI system over USB might deliver
// them, or paced at the wire's 31,250 baud, 3,125 bytes a second of real time.
//
// The process callback only moves bytes between the ports and two lock-free ringbuffers; a
// thread of the synth's own answers from those bytes, so that no lock is ever taken in the
// callback while the test changes the synth's memory or behaviour.
class SimulatedSynth {
  public:
    [[nodiscard]] static std::unique_ptr<SimulatedSynth> Open(const std::string& clientName);
    ~SimulatedSynth();
    SimulatedSynth(const SimulatedSynth&) = delete;
    SimulatedSynth& operator=(const SimulatedSynth&) = delete;

    // Full port names, "client:in" and "client:out".
    [[nodiscard]] std::string InputPortName() const;
    [[nodiscard]] std::string OutputPortName() const;

    void SetBehaviour(const SynthBehaviour& behaviour);
    void SetWireSpeed(bool wireSpeed) { wireSpeed_.store(wireSpeed, std::memory_order_relaxed); }
    // Each answer in one piece, within the cycle that brought the request: the fastest a synth
    // and a MIDI system could be.
    void SetWholeAnswers(bool whole) { whole_.store(whole, std::memory_order_relaxed); }
    void Store(midi::SynthMemory memory, const ToneRecord& tone);
    [[nodiscard]] ToneRecord Stored(midi::SynthMemory memory) const;
    // Every byte that has reached the synth's input so far, in order.
    [[nodiscard]] std::vector<std::uint8_t> Heard() const;

  private:
    SimulatedSynth() = default;
    static int OnProcess(jack_nframes_t frames, void* self);
    void TakeInput(void* buffer);
    void SendOutput(void* buffer);
    void Answer(std::stop_token stop);
    void AnswerInCycle();

    jack_client_t* client_ = nullptr;
    jack_port_t* in_ = nullptr;
    jack_port_t* out_ = nullptr;
    jack_ringbuffer_t* received_ = nullptr;  // callback to thread
    jack_ringbuffer_t* toSend_ = nullptr;    // thread to callback
    std::atomic<bool> wireSpeed_{false};
    std::atomic<bool> whole_{false};
    // The callback's own: the piece size to use next, the time of the last cycle and the
    // wire's byte credit in bytes x microseconds.
    std::size_t nextPiece_ = 0;
    jack_time_t wireClock_ = 0;
    std::uint64_t wireCredit_ = 0;

    std::vector<std::uint8_t> inCycleAnswer_ = std::vector<std::uint8_t>(1024);
    mutable std::mutex mutex_;  // guards responder_ and heard_
    SynthResponder responder_;
    std::vector<std::uint8_t> heard_;
    std::jthread answering_;
};

}  // namespace voxtane::testing
