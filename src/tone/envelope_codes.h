#pragma once

#include <array>
#include <string_view>

// The six eight-step envelopes of a tone: where they lie and how their bytes are coded.
namespace voxtane {

enum class EnvelopeKind { DCA, DCW, DCO };

inline constexpr int kEnvelopeSteps = 8;
inline constexpr int kFallingFlag = 128;  // bit 7 of a rate byte
inline constexpr int kSustainFlag = 128;  // bit 7 of a level byte

struct EnvelopeSpec {
    EnvelopeKind kind;
    int line;                  // 1 or 2
    int baseEntry;             // entry of the end-step byte; steps follow as rate/level byte pairs
    std::string_view caption;  // "DCA 1": also the name used in decoding messages

    [[nodiscard]] constexpr int EndEntry() const { return baseEntry; }
    // Step s is 1 to 8.
    [[nodiscard]] constexpr int RateEntry(int step) const { return baseEntry + 4 * step - 2; }
    [[nodiscard]] constexpr int LevelEntry(int step) const { return baseEntry + 4 * step; }
};

// Record order: line 1 (DCA, DCW, DCO), then line 2.
enum EnvelopeId { kDCA1, kDCW1, kDCO1, kDCA2, kDCW2, kDCO2, kEnvelopeCount };
inline constexpr std::array<EnvelopeSpec, kEnvelopeCount> kEnvelopes{{
    {EnvelopeKind::DCA, 1, 41, "DCA 1"},
    {EnvelopeKind::DCW, 1, 75, "DCW 1"},
    {EnvelopeKind::DCO, 1, 109, "DCO 1"},
    {EnvelopeKind::DCA, 2, 155, "DCA 2"},
    {EnvelopeKind::DCW, 2, 189, "DCW 2"},
    {EnvelopeKind::DCO, 2, 223, "DCO 2"},
}};

// Any line value other than 1 selects line 2.
[[nodiscard]] constexpr EnvelopeId EnvelopeOf(EnvelopeKind kind, int lineVal) {
    const int first = lineVal == 1 ? 0 : 3;
    return static_cast<EnvelopeId>(first + static_cast<int>(kind));
}

// Shown rate of a rate byte; the falling flag is ignored.
[[nodiscard]] int DecodeRateByte(EnvelopeKind kind, int rateByte);
// Shown level of a level byte without its sustain flag.
[[nodiscard]] int DecodeLevelCode(EnvelopeKind kind, int levelCode);

// The numbers the boxes are meant to hold: 0 to this.
inline constexpr int kEnvelopeTop = 99;

// Codes for the numbers the boxes are meant to hold. Any other number is coded as 0 would be, so
// that a stray entry never spills into the flag bit or below zero.
[[nodiscard]] int EncodeRateCode(EnvelopeKind kind, int rate);
[[nodiscard]] int EncodeLevelCode(EnvelopeKind kind, int level);

}  // namespace voxtane
