#include "tone/envelope_number.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

namespace voxtane {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The longest prefix of `s` (already free of blanks) that forms a number.
std::string NumberPrefix(const std::string& s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    const std::size_t mantissaStart = i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i;
    }
    // A lone sign or a lone point holds no digit.
    bool hasDigit = false;
    for (std::size_t k = mantissaStart; k < i; ++k) hasDigit = hasDigit || IsDigit(s[k]);
    if (!hasDigit) return {};
    // The exponent counts only when digits follow it.
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j])) ++j;
            i = j;
        }
    }
    return s.substr(0, i);
}

std::string WithoutBlanks(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t') compact.push_back(c);
    return compact;
}

}  // namespace

EnvelopeTextForm FormOfEnvelopeText(std::string_view text) {
    const std::string compact = WithoutBlanks(text);
    if (compact.empty()) return EnvelopeTextForm::Blank;
    if (NumberPrefix(compact) != compact) return EnvelopeTextForm::NotANumber;
    const std::size_t digits = compact.front() == '+' || compact.front() == '-' ? 1 : 0;
    return compact.find_first_not_of("0123456789", digits) == std::string::npos
               ? EnvelopeTextForm::Whole
               : EnvelopeTextForm::Fraction;
}

std::int16_t ReadEnvelopeNumber(std::string_view text) {
    const std::string compact = WithoutBlanks(text);

    std::string number = NumberPrefix(compact);
    if (number.empty()) return 0;
    // from_chars takes no leading plus sign.
    if (number.front() == '+') number.erase(0, 1);

    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc{}) return 0;        // out of double's range: far outside 16 bits
    const double rounded = std::nearbyint(value);  // the default rounding mode: half to even
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) return 0;
    return static_cast<std::int16_t>(rounded);
}

}  // namespace voxtane
