// Bank and names files of any bytes, kept in memory and read by the same readers as real files:
// the load and save round trip at full speed.
#include <cstdint>
#include <string_view>

#include "bank_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static voxtane::editor::MemoryBankFiles files;
    voxtane::fuzzing::CheckBankRoundTrip({reinterpret_cast<const char*>(data), size}, &files);
    return 0;
}
