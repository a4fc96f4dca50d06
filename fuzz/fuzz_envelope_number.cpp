// Any text in an envelope box reads as a number without failing, blanks make no difference, and
// the number read back from its own text is itself.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "tone/envelope_number.h"

using namespace voxtane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::int16_t value = ReadEnvelopeNumber(text);

    std::string withoutBlanks;
    std::string spread;
    for (char c : text) {
        if (c != ' ' && c != '\t') withoutBlanks.push_back(c);
        spread.push_back(c);
        spread.push_back(' ');
    }
    VOXTANE_FUZZ_CHECK(ReadEnvelopeNumber(withoutBlanks) == value);
    VOXTANE_FUZZ_CHECK(ReadEnvelopeNumber(spread) == value);
    VOXTANE_FUZZ_CHECK(ReadEnvelopeNumber(std::to_string(value)) == value);
    if (value != 0) VOXTANE_FUZZ_CHECK(text.find_first_of("0123456789") != std::string::npos);
    return 0;
}
