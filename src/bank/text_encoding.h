#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The two character sets a names file may use: the 8-bit Latin-1 set of older files, and UTF-8.
// Names are held in memory as UTF-8.
namespace voxtane {

[[nodiscard]] bool IsValidUtf8(std::string_view bytes);
[[nodiscard]] std::string Latin1ToUtf8(std::string_view latin1);
// The Latin-1 bytes of a UTF-8 text, or false when a character lies outside Latin-1.
[[nodiscard]] bool Utf8ToLatin1(std::string_view utf8, std::string& latin1);
// A valid UTF-8 text: the text itself when valid, else its bytes read as Latin-1.
[[nodiscard]] std::string ToValidUtf8(std::string_view bytes);
// The text cut after `maxCharacters` characters (UTF-8 input).
[[nodiscard]] std::string CutToCharacters(std::string_view utf8, std::size_t maxCharacters);

// Checks UTF-8 a piece at a time, so that a text of any length can be checked without being held.
class Utf8Validator {
  public:
    void Feed(std::string_view bytes);
    // True when everything fed so far is valid and no character was left unfinished.
    [[nodiscard]] bool Valid() const { return valid_ && pending_ == 0; }

  private:
    bool valid_ = true;
    int pending_ = 0;            // continuation bytes still expected
    unsigned char low_ = 0x80;   // bounds of the next continuation byte (rules out overlong
    unsigned char high_ = 0xBF;  // forms, surrogates and values above U+10FFFF)
};

}  // namespace voxtane
