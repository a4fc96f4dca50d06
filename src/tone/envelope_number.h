#pragma once

#include <cstdint>
#include <string_view>

namespace voxtane {

// Reads the number in an envelope box the way the editor always has: blanks (spaces and tabs)
// anywhere are ignored, then an optional sign, digits, an optional fraction and an optional
// exponent (e or E); reading stops at the first character that does not fit, and a text without
// a number is 0. The number is rounded half to even. A number that does not fit a signed 16-bit
// integer reads as 0.
[[nodiscard]] std::int16_t ReadEnvelopeNumber(std::string_view text);

// What an envelope box's text holds, blanks aside: nothing, a whole number ("150", "-3"), a
// number with a fraction or an exponent ("7.5", "1e2"), or more than a number ("ab", "12ab").
enum class EnvelopeTextForm { Blank, Whole, Fraction, NotANumber };
[[nodiscard]] EnvelopeTextForm FormOfEnvelopeText(std::string_view text);

}  // namespace voxtane
