// Any bytes as a file an owner shares: the tone scan finds only real tones (256 entries of 0 to
// 15, a channel, a memory position the synth has), lists everything inside the input and in
// order, gives the same twice, and gives the same findings for binary input written out as hex
// text, each at the place its digits start.
#include <cstdint>
#include <span>
#include <vector>

#include "bank/tone_import.h"
#include "fuzz_support.h"

using namespace voxtane;

namespace {

// Presets, internal memories, cartridge and the temporary area.
bool IsTonePosition(int p) {
    return (p >= 0x00 && p <= 0x0F) || (p >= 0x20 && p <= 0x2F) || (p >= 0x40 && p <= 0x4F) ||
           p == 0x60;
}

bool SameTone(const FoundTone& a, const FoundTone& b, std::size_t offsetScale) {
    return a.record == b.record && a.offset * offsetScale == b.offset && a.channel == b.channel &&
           a.position == b.position && a.form == b.form;
}

// Whether `b` holds the findings of `a`, with every offset of `a` multiplied by `offsetScale`.
bool SameFindings(const ToneScan& a, const ToneScan& b, std::size_t offsetScale) {
    if (a.tones.size() != b.tones.size() || a.skipped.size() != b.skipped.size() ||
        a.skippedBeyondList != b.skippedBeyondList)
        return false;
    for (std::size_t i = 0; i < a.tones.size(); ++i) {
        if (!SameTone(a.tones[i], b.tones[i], offsetScale)) return false;
    }
    for (std::size_t i = 0; i < a.skipped.size(); ++i) {
        if (a.skipped[i].offset * offsetScale != b.skipped[i].offset ||
            a.skipped[i].why != b.skipped[i].why || a.skipped[i].reason != b.skipped[i].reason)
            return false;
    }
    return true;
}

void CheckScan(const ToneScan& scan, std::size_t size) {
    std::size_t previous = 0;
    for (const FoundTone& tone : scan.tones) {
        VOXTANE_FUZZ_CHECK(tone.record[0] == 0);
        for (int e = 1; e <= kToneEntries; ++e)
            VOXTANE_FUZZ_CHECK(tone.record[e] >= 0 && tone.record[e] <= 15);
        VOXTANE_FUZZ_CHECK(tone.offset < size && tone.offset >= previous);
        previous = tone.offset;
        VOXTANE_FUZZ_CHECK(tone.channel >= 1 && tone.channel <= 16);
        VOXTANE_FUZZ_CHECK(!tone.position || IsTonePosition(*tone.position));
        VOXTANE_FUZZ_CHECK(tone.position.has_value() ==
                           (tone.form == ImportForm::Dump || tone.form == ImportForm::Exchange));
    }
    previous = 0;
    for (const SkippedMessage& skip : scan.skipped) {
        VOXTANE_FUZZ_CHECK(skip.offset < size && skip.offset >= previous);
        previous = skip.offset;
        VOXTANE_FUZZ_CHECK(!skip.reason.empty());
    }
    VOXTANE_FUZZ_CHECK(scan.skipped.size() <= kMaxListedSkips);
    VOXTANE_FUZZ_CHECK(scan.skippedBeyondList == 0 || scan.skipped.size() == kMaxListedSkips);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span input(data, size);
    const ToneScan scan = ScanForTones(input);
    CheckScan(scan, size);
    VOXTANE_FUZZ_CHECK(SameFindings(scan, ScanForTones(input), 1));

    if (scan.encoding == FileEncoding::Binary && size > 0) {
        // "XX " for every byte: the digits of byte i start at character 3i.
        constexpr char kDigits[] = "0123456789abcdef";
        std::vector<std::uint8_t> text;
        text.reserve(3 * size);
        for (const std::uint8_t byte : input) {
            text.push_back(static_cast<std::uint8_t>(kDigits[byte >> 4]));
            text.push_back(static_cast<std::uint8_t>(kDigits[byte & 15]));
            text.push_back(' ');
        }
        const ToneScan asText = ScanForTones(text);
        VOXTANE_FUZZ_CHECK(asText.encoding == FileEncoding::HexText);
        VOXTANE_FUZZ_CHECK(SameFindings(scan, asText, 3));
    }
    return 0;
}
