#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// SysEx written out as hexadecimal text, the way owners paste it into posts and mails: "F0 44 00",
// "0xF0,0x44", "$F0 $44", or digits run together over lines of any width, in either case.
namespace voxtane {

// True when the text holds at least one hex digit and nothing but hex digits, blanks, tabs, line
// breaks, commas, x (of "0x") and $.
[[nodiscard]] bool IsHexText(std::span<const std::uint8_t> text);

enum class HexByteDigits {
    Two,       // a pair of digits
    Single,    // a number of one digit alone, such as "0x7" or "$0"
    LeftOver,  // the last digit of a number with an odd count of digits
};

struct HexByte {
    std::uint8_t value = 0;
    std::size_t offset = 0;  // of its first digit in the text
    HexByteDigits digits = HexByteDigits::Two;
};

// Reads the bytes of hex text one at a time. Blanks, tabs, commas, "0x" and "$" end a number; a
// line break ends it too, except inside a number of run-together digits cut at an odd column,
// which goes on at the start of the next line.
class HexTextReader {
  public:
    explicit HexTextReader(std::span<const std::uint8_t> text) : text_(text) {}
    [[nodiscard]] std::optional<HexByte> Next();

  private:
    [[nodiscard]] bool DigitAfterLineBreaks(std::size_t from) const;
    [[nodiscard]] std::optional<HexByte> EndNumber();

    std::span<const std::uint8_t> text_;
    std::size_t position_ = 0;
    std::size_t digitsInNumber_ = 0;
    std::optional<HexByte> firstDigit_;  // a digit waiting for its partner
};

}  // namespace voxtane
