#include "bank/sysex_bank_writer.h"

#include <algorithm>

namespace voxtane {

ToneDump BuildToneDump(const ToneRecord& record, std::uint8_t program) {
    ToneDump dump{};
    std::copy(kToneDumpHeader.begin(), kToneDumpHeader.end(), dump.begin());
    dump[kPositionOffset] = program;
    for (int entry = 1; entry <= kToneEntries; ++entry)
        dump[kPositionOffset + entry] = static_cast<std::uint8_t>(record[entry] & 0xFF);
    dump.back() = kSysexEnd;
    return dump;
}

void SetDumpChannel(ToneDump& dump, int channel) {
    dump[kChannelOffset] = ChannelByteOf(channel);
}

}  // namespace voxtane
