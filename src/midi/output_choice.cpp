#include "midi/output_choice.h"

#include <algorithm>
#include <limits>

namespace voxtane::midi {
namespace {

constexpr std::string_view kNoOutputText = "N";
// Entries stay within reach of their device id (entry - 1) in 32 bits.
constexpr std::int64_t kEntryLimit = std::numeric_limits<std::int32_t>::max();

// The number at the start of a text, as the editor reads one: leading blanks skipped, an
// optional sign, then digits up to the first other character; 0 when there are none.
std::int64_t NumericValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(value * 10 + (text[i] - '0'), kEntryLimit);
    return negative ? -value : value;
}

}  // namespace

MidiOutputChoice MidiOutputChoice::Entry(int index) {
    MidiOutputChoice choice;
    choice.kind_ = Kind::Entry;
    choice.entry_ =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(index, -kEntryLimit, kEntryLimit));
    return choice;
}

MidiOutputChoice MidiOutputChoice::NoOutput() {
    MidiOutputChoice choice;
    choice.kind_ = Kind::NoOutput;
    return choice;
}

MidiOutputChoice MidiOutputChoice::FromText(std::string_view text) {
    if (text.empty()) return {};
    if (text == kNoOutputText) return NoOutput();
    return Entry(static_cast<int>(NumericValue(text)));
}

std::string MidiOutputChoice::Text() const {
    switch (kind_) {
        case Kind::NotChosen:
            return {};
        case Kind::NoOutput:
            return std::string(kNoOutputText);
        case Kind::Entry:
            break;
    }
    // A leading blank for a number that is not negative, as the device list stores an index.
    return entry_ < 0 ? std::to_string(entry_) : std::string(" ").append(std::to_string(entry_));
}

}  // namespace voxtane::midi
