#include "bank/sysex_bank_writer.h"

#include <algorithm>

namespace voxtane {

ToneDump BuildToneDump(const ToneRecord& record, std::uint8_t program) {
    ToneDump dump{};
    std::copy(kToneDumpHeader.begin(), kToneDumpHeader.end(), dump.begin());
    dump[6] = program;
    for (int entry = 1; entry <= kToneEntries; ++entry)
        dump[6 + entry] = static_cast<std::uint8_t>(record[entry] & 0xFF);
    dump[263] = 0xF7;
    return dump;
}

}  // namespace voxtane
