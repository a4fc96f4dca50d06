#include "midi_test_support.h"

namespace voxtane::testing {

std::vector<std::uint8_t> ExpectedToneDump(const ToneRecord& record) {
    std::vector<std::uint8_t> dump{0xF0, 0x44, 0x00, 0x00, 0x70, 0x20, 0x60};
    for (int entry = 1; entry <= 256; ++entry)
        dump.push_back(static_cast<std::uint8_t>(record[entry]));
    dump.push_back(0xF7);
    return dump;
}

}  // namespace voxtane::testing
