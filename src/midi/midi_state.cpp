#include "midi/midi_state.h"

#include <algorithm>
#include <limits>

namespace voxtane::midi {

std::int64_t NumericValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(value * 10 + (text[i] - '0'), kLimit);
    return negative ? -value : value;
}

std::string IndexText(int index) {
    return index < 0 ? std::to_string(index) : " " + std::to_string(index);
}

}  // namespace voxtane::midi
