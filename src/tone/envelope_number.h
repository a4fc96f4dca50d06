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

}  // namespace voxtane
