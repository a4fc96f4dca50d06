// What the ALSA output hands the sequencer for each piece of an exchange, checked with alsa-lib's
// own decoder: no sequencer is needed, so it runs on machines without /dev/snd/seq.
#include <alsa/asoundlib.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "devices/alsa_events.h"
#include "exchange_test_support.h"
#include "midi/tone_exchange.h"

namespace voxtane::testing {
namespace {

using midi::SynthMemory;

// The bytes a MIDI port would carry for the events, as alsa-lib's decoder writes them.
Bytes Decoded(const std::vector<snd_seq_event_t>& events) {
    snd_midi_event_t* decoder = nullptr;
    EXPECT_EQ(snd_midi_event_new(1024, &decoder), 0);
    Bytes bytes;
    std::vector<unsigned char> buffer(1024);
    for (const snd_seq_event_t& event : events) {
        const long count =
            snd_midi_event_decode(decoder, buffer.data(), static_cast<long>(buffer.size()), &event);
        EXPECT_GT(count, 0) << "event type " << static_cast<int>(event.type);
        if (count > 0) bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + count);
    }
    snd_midi_event_free(decoder);
    return bytes;
}

// Every piece the exchanges and the editor's senders hand the output, in their order.
std::vector<Bytes> PiecesOfEveryExchange() {
    RecordingSink sink;
    midi::ToneExchange exchange(sink);
    midi::Clock::TimePoint now{};
    const ToneRecord tone = TestTone(7);
    (void)exchange.StartFetch(3, SynthMemory::Internal(2), now);
    (void)exchange.Receive(FetchAnswer(3, tone), now);
    exchange.PreferFetchForm(midi::FetchForm::Whole);
    (void)exchange.StartFetch(16, SynthMemory::Cartridge(16), now);
    (void)exchange.Receive(FetchAnswer(16, tone), now);
    (void)exchange.StartWrite(1, SynthMemory::Internal(1), tone, midi::Confirmation::NoInput, now);
    std::vector<Bytes> pieces = sink.sent;
    pieces.push_back(AsBytes(midi::AllNotesOff(9)));
    pieces.push_back({0x90, 0x3C, 0x7F});
    pieces.push_back({0x8F, 0x3C, 0x7F});
    return pieces;
}

TEST(AlsaEvents, EveryPieceLeavesWholeInOrderAndEachSysexPieceAsOneEvent) {
    const std::vector<Bytes> pieces = PiecesOfEveryExchange();
    ASSERT_EQ(pieces.size(), 7u);
    EXPECT_EQ(pieces[0].size(), 9u) << "the open request and its go-ahead, three USB packets";
    EXPECT_EQ(pieces[1], Bytes{0xF7});
    EXPECT_EQ(pieces[2].size(), 10u) << "the whole request";
    devices::AlsaEventBuilder builder;
    for (const Bytes& piece : pieces) {
        SCOPED_TRACE(::testing::PrintToString(piece));
        const devices::AlsaEvents built = builder.Build(piece);
        ASSERT_EQ(built.problem, "");
        EXPECT_EQ(Decoded(built.events), piece);
        if (piece.front() == 0xF0 || piece.front() == 0xF7) {
            ASSERT_EQ(built.events.size(), 1u);
            EXPECT_EQ(built.events[0].type, SND_SEQ_EVENT_SYSEX);
            EXPECT_EQ(built.events[0].flags & SND_SEQ_EVENT_LENGTH_MASK,
                      SND_SEQ_EVENT_LENGTH_VARIABLE);
        }
    }
}

// The byte encoder that a general MIDI library sends through waits for F7 and sends nothing of
// the open request: the reason the output builds its SysEx events itself.
TEST(AlsaEvents, AlsaLibsByteEncoderWouldHoldTheOpenRequestBack) {
    snd_midi_event_t* encoder = nullptr;
    ASSERT_EQ(snd_midi_event_new(32, &encoder), 0);
    const Bytes request = AsBytes(midi::BuildFetchRequest(1, SynthMemory::Internal(1)));
    snd_seq_event_t event;
    snd_seq_ev_clear(&event);
    EXPECT_EQ(
        snd_midi_event_encode(encoder, request.data(), static_cast<long>(request.size()), &event),
        static_cast<long>(request.size()));
    EXPECT_EQ(event.type, SND_SEQ_EVENT_NONE);
    snd_midi_event_free(encoder);
}

// A tone dump cut anywhere, any number of times: each piece goes as it is, nothing kept for the
// next; a message that is not SysEx must be whole.
TEST(AlsaEvents, AnyCutOfASysexMessageGoesPieceByPieceAndOtherMessagesMustBeWhole) {
    const Bytes dump = AsBytes(midi::BuildToneWrite(4, SynthMemory::Internal(5), TestTone(5)));
    std::mt19937 random(44);
    devices::AlsaEventBuilder builder;
    for (int trial = 0; trial < 100; ++trial) {
        Bytes wire;
        for (std::size_t at = 0; at < dump.size();) {
            const std::size_t size = std::min<std::size_t>(1 + random() % 40, dump.size() - at);
            const Bytes piece(dump.begin() + static_cast<std::ptrdiff_t>(at),
                              dump.begin() + static_cast<std::ptrdiff_t>(at + size));
            const Bytes decoded = Decoded(builder.Build(piece).events);
            ASSERT_EQ(decoded, piece) << "trial " << trial << " at " << at;
            wire.insert(wire.end(), decoded.begin(), decoded.end());
            at += size;
        }
        ASSERT_EQ(wire, dump);
    }
    EXPECT_THAT(builder.Build(Bytes{0x90, 0x3C}).problem, ::testing::HasSubstr("incomplete"));
    EXPECT_EQ(builder.Build(Bytes{0x90, 0x3C, 0x40, 0x80, 0x3C, 0x40}).events.size(), 2u);
}

}  // namespace
}  // namespace voxtane::testing
