#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <span>
#include <vector>

#include "midi/message_sink.h"
#include "midi/synth_messages.h"
#include "tone/tone_record.h"

// What the tests of the tone exchange share: a sink that keeps what is sent, tones that differ
// from each other, and the synth's answers written out byte by byte.
namespace voxtane::testing {

using Bytes = std::vector<std::uint8_t>;

struct RecordingSink : midi::MessageSink {
    midi::SinkStatus Send(std::span<const std::uint8_t> message) override {
        sent.emplace_back(message.begin(), message.end());
        return {};
    }
    std::vector<Bytes> sent;
};

// A tone of nibbles made from `seed`; tones of different seeds differ.
inline ToneRecord TestTone(int seed) {
    std::mt19937 random(static_cast<std::uint32_t>(seed));
    ToneRecord tone{};
    for (int entry = 1; entry <= kToneEntries; ++entry)
        tone[entry] = static_cast<std::int16_t>(random() % 16);
    return tone;
}

inline Bytes Acknowledgement(int channel) {
    return {0xF0, 0x44, 0x00, 0x00, static_cast<std::uint8_t>(0x70 + channel - 1), 0x30};
}

// The acknowledgement, `dataBytes` entries of the tone (more than 256 repeat the last), and,
// unless left open, F7.
inline Bytes FetchAnswer(int channel, const ToneRecord& tone, int dataBytes = kToneEntries,
                         bool closed = true) {
    Bytes answer = Acknowledgement(channel);
    for (int i = 1; i <= dataBytes; ++i)
        answer.push_back(static_cast<std::uint8_t>(tone[std::min(i, kToneEntries)]));
    if (closed) answer.push_back(0xF7);
    return answer;
}

inline Bytes WriteConfirmation(int channel) {
    Bytes answer = Acknowledgement(channel);
    answer.push_back(0xF7);
    return answer;
}

inline Bytes Joined(std::initializer_list<Bytes> parts) {
    Bytes joined;
    for (const Bytes& part : parts) joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

inline Bytes AsBytes(std::span<const std::uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

}  // namespace voxtane::testing
