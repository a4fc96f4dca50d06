// Properties of the tone scan over generated traffic: tones in any form, among other MIDI
// messages and realtime bytes, are found once each with their bytes, whether the file holds the
// bytes or hex text of them in any layout; a cut file gives its whole tones and no partial one.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <random>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "bank/tone_import.h"
#include "tone_lines.h"

namespace voxtane::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::array<std::uint8_t, 7> kRealtime{0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFE, 0xFF};

// Generated traffic and what a scan of it must give.
class Traffic {
  public:
    explicit Traffic(unsigned seed) : rng_(seed) {}

    // Notes with running status, a program change, another maker's SysEx, or nothing.
    void AddNoise() {
        switch (Below(4)) {
            case 1:
                Add({Byte(0x80 + 16 * Below(2) + Below(16))});
                for (int pairs = 1 + Below(4); pairs > 0; --pairs) Add({Data(), Data()});
                break;
            case 2:
                Add({Byte(0xC0 + Below(16)), Data()});
                break;
            case 3:
                skipped.push_back({bytes.size(), SkipReason::OtherMaker, ""});
                Add({0xF0, Byte(1 + Below(0x43))});
                for (int n = Below(20); n > 0; --n) Add({Data()});
                Add({0xF7});
        }
    }

    // A random tone in the given form, with noise between its messages.
    void AddTone(ImportForm form) {
        FoundTone tone{{}, bytes.size(), 1 + Below(16), std::nullopt, form};
        for (int e = 1; e <= kToneEntries; ++e)
            tone.record[e] = static_cast<std::int16_t>(Below(16));
        const int position = std::array{0x00, 0x0F, 0x20, 0x2C, 0x40, 0x4F, 0x60}[Below(7)];
        const std::uint8_t channelByte = Byte(0x6F + tone.channel);
        if (form == ImportForm::Exchange) {
            tone.position = position;
            Add({0xF0, 0x44, 0x00, 0x00, channelByte, 0x10, Byte(position)});
            if (Below(2)) Add({channelByte, 0x31});  // the acknowledgement
            if (Below(2)) Add({0xF7});
            AddNoise();
        }
        const bool dump = form == ImportForm::Dump;
        Add({0xF0, 0x44, 0x00, 0x00, channelByte, Byte(dump ? 0x20 : 0x30)});
        if (dump) {
            tone.position = position;
            Add({Byte(position)});
        }
        if (form == ImportForm::AnswerInPieces || (form == ImportForm::Exchange && Below(2))) {
            Add({0xF7});
            AddNoise();
        }
        Add(Bytes(tone.record.begin() + 1, tone.record.end()));
        Add({0xF7});
        tones.push_back(tone);
    }

    void AddAnyTone() { AddTone(static_cast<ImportForm>(Below(4))); }

    // Realtime bytes anywhere, offsets moved along.
    void SprinkleRealtime() {
        std::vector<std::size_t> moved;
        Bytes before;
        before.swap(bytes);
        for (const std::uint8_t byte : before) {
            while (Below(12) == 0) Add({kRealtime[Below(7)]});
            moved.push_back(bytes.size());
            Add({byte});
        }
        MoveOffsets(moved);
    }

    void MoveOffsets(const std::vector<std::size_t>& to) {
        for (auto& tone : tones) tone.offset = to[tone.offset];
        for (auto& skip : skipped) skip.offset = to[skip.offset];
    }

    void ExpectFrom(const ToneScan& scan) const {
        std::vector<std::string> expected;
        for (const auto& tone : tones) expected.push_back(ToneLine(tone));
        EXPECT_EQ(ToneLines(scan), expected);
        ASSERT_EQ(scan.skipped.size(), skipped.size());
        for (std::size_t i = 0; i < skipped.size(); ++i) {
            EXPECT_EQ(scan.skipped[i].offset, skipped[i].offset) << scan.skipped[i].reason;
            EXPECT_EQ(scan.skipped[i].why, skipped[i].why) << scan.skipped[i].reason;
        }
    }

    int Below(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }

    Bytes bytes;
    std::vector<FoundTone> tones;
    std::vector<SkippedMessage> skipped;  // offset and why; the words are the scan's own

  private:
    static std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(value); }
    std::uint8_t Data() { return Byte(Below(128)); }
    void Add(const Bytes& more) { bytes.insert(bytes.end(), more.begin(), more.end()); }

    std::mt19937 rng_;
};

TEST(ToneScanProperties, AToneInAnyFormAmidTrafficIsFoundOnceWithItsBytes) {
    for (unsigned seed = 0; seed < 400; ++seed) {
        SCOPED_TRACE(seed);
        Traffic traffic(seed);
        traffic.AddNoise();
        traffic.AddAnyTone();
        traffic.AddNoise();
        traffic.SprinkleRealtime();
        traffic.ExpectFrom(ScanForTones(traffic.bytes));
        if (HasFailure()) return;
    }
}

// Hex text of bytes: `prefix` and `format` give each number, `perLine` numbers to a line; with
// no separator the digits run together and lines break every `perLine` digits instead.
std::string HexText(const Bytes& bytes, const char* prefix, const char* format,
                    const std::string& separator, std::size_t perLine, const std::string& newline,
                    std::vector<std::size_t>& where) {
    std::string text;
    std::size_t count = 0;
    for (const std::uint8_t byte : bytes) {
        char number[3];
        std::snprintf(number, sizeof number, format, byte);
        where.push_back(text.size() + std::strlen(prefix));
        for (const char* part : {prefix, static_cast<const char*>(number)}) {
            for (const char* c = part; *c != '\0'; ++c) {
                text += *c;
                if (separator.empty() && ++count % perLine == 0) text += newline;
            }
        }
        if (!separator.empty()) text += ++count % perLine == 0 ? newline : separator;
    }
    return text;
}

TEST(ToneScanProperties, HexTextInAnyLayoutGivesWhatItsBytesGive) {
    for (unsigned seed = 0; seed < 40; ++seed) {
        SCOPED_TRACE(seed);
        Traffic traffic(seed);
        for (int tones = 0; tones < 4; ++tones) {
            traffic.AddAnyTone();
            traffic.AddNoise();
        }
        traffic.SprinkleRealtime();
        traffic.ExpectFrom(ScanForTones(traffic.bytes));

        const auto width = static_cast<std::size_t>(2 + traffic.Below(120));
        const std::array layouts{
            std::tuple{"", "%02X", " ", std::size_t{16}, "\n"},
            std::tuple{"0x", "%02x", ", ", std::size_t{12}, ",\r\n"},
            std::tuple{"$", "%02X", "\t", std::size_t{8}, "\n"},
            std::tuple{"0X", "%X", ",", std::size_t{20}, ",\n"},
            std::tuple{"", "%02x", "", width, "\n"},
        };
        for (const auto& [prefix, format, separator, perLine, newline] : layouts) {
            std::vector<std::size_t> where;
            const std::string text =
                HexText(traffic.bytes, prefix, format, separator, perLine, newline, where);
            SCOPED_TRACE(text.substr(0, 80));
            Traffic asText = traffic;
            asText.MoveOffsets(where);
            const ToneScan scan = ScanForTones(Bytes(text.begin(), text.end()));
            EXPECT_EQ(scan.encoding, FileEncoding::HexText);
            asText.ExpectFrom(scan);
        }
        if (HasFailure()) return;
    }
}

TEST(ToneScanProperties, ACutBankGivesItsWholeTonesAndNoPartialOne) {
    Traffic bank(1);
    for (int k = 0; k < 3; ++k) bank.AddTone(ImportForm::Dump);
    constexpr std::size_t kMessage = 264;
    for (std::size_t cut = 0; cut <= bank.bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        const ToneScan scan = ScanForTones(std::span(bank.bytes).first(cut));
        // A dump whose data is all there counts even when the cut took its F7.
        const std::size_t whole = (cut + 1) / kMessage;
        ASSERT_EQ(scan.tones.size(), whole);
        for (std::size_t k = 0; k < whole; ++k)
            EXPECT_EQ(ToneLine(scan.tones[k]), ToneLine(bank.tones[k]));
        const bool insideAMessage = cut % kMessage != 0 && (cut + 1) % kMessage != 0;
        ASSERT_EQ(scan.skipped.size(), insideAMessage ? 1u : 0u);
        if (insideAMessage) {
            EXPECT_EQ(scan.skipped[0].offset, cut / kMessage * kMessage);
        }
    }
}

TEST(ToneScanLimits, AFileOfEmptyMessagesListsOnlyTheFirstThousand) {
    Bytes junk;
    for (int i = 0; i < 2500; ++i) junk.insert(junk.end(), {0xF0, 0xF7});
    const ToneScan scan = ScanForTones(junk);
    EXPECT_TRUE(scan.tones.empty());
    ASSERT_EQ(scan.skipped.size(), kMaxListedSkips);
    EXPECT_EQ(scan.skipped.back().offset, 2 * (kMaxListedSkips - 1));
    EXPECT_EQ(scan.skippedBeyondList, 2500 - kMaxListedSkips);
}

}  // namespace
}  // namespace voxtane::testing
