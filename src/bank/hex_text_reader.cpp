#include "bank/hex_text_reader.h"

namespace voxtane {
namespace {

[[nodiscard]] std::optional<std::uint8_t> DigitValue(std::uint8_t c) {
    if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
    return std::nullopt;
}

[[nodiscard]] bool IsLineBreak(std::uint8_t c) {
    return c == '\r' || c == '\n';
}

[[nodiscard]] bool IsPrefixX(std::uint8_t c) {
    return c == 'x' || c == 'X';
}

[[nodiscard]] bool IsSeparatorOrPrefix(std::uint8_t c) {
    return c == ' ' || c == '\t' || c == ',' || c == '$' || IsLineBreak(c) || IsPrefixX(c);
}

}  // namespace

bool IsHexText(std::span<const std::uint8_t> text) {
    bool anyDigit = false;
    for (const std::uint8_t c : text) {
        if (DigitValue(c)) {
            anyDigit = true;
        } else if (!IsSeparatorOrPrefix(c)) {
            return false;
        }
    }
    return anyDigit;
}

std::optional<HexByte> HexTextReader::Next() {
    while (position_ < text_.size()) {
        const std::uint8_t c = text_[position_];
        if (const auto digit = DigitValue(c)) {
            ++digitsInNumber_;
            if (!firstDigit_) {
                firstDigit_ = HexByte{*digit, position_++, HexByteDigits::Two};
                continue;
            }
            ++position_;
            HexByte byte = *firstDigit_;
            byte.value = static_cast<std::uint8_t>(byte.value * 16 + *digit);
            firstDigit_.reset();
            return byte;
        }
        if (IsLineBreak(c) && firstDigit_ && digitsInNumber_ > 1 &&
            DigitAfterLineBreaks(position_)) {
            while (IsLineBreak(text_[position_])) ++position_;
            continue;
        }
        if (IsPrefixX(c) && digitsInNumber_ == 1 && firstDigit_->value == 0) {
            // The zero of "0x" starts a number rather than being one.
            firstDigit_.reset();
            digitsInNumber_ = 0;
            ++position_;
            continue;
        }
        ++position_;
        if (auto lone = EndNumber()) return lone;
    }
    return EndNumber();
}

bool HexTextReader::DigitAfterLineBreaks(std::size_t from) const {
    while (from < text_.size() && IsLineBreak(text_[from])) ++from;
    return from < text_.size() && DigitValue(text_[from]).has_value();
}

std::optional<HexByte> HexTextReader::EndNumber() {
    const std::size_t digits = digitsInNumber_;
    digitsInNumber_ = 0;
    if (!firstDigit_) return std::nullopt;
    HexByte lone = *firstDigit_;
    firstDigit_.reset();
    lone.digits = digits == 1 ? HexByteDigits::Single : HexByteDigits::LeftOver;
    return lone;
}

}  // namespace voxtane
