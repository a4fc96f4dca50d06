// Bank and names files of any bytes, through real files: the file system's cases (opening,
// atomic saves, names files found beside the bank) at file-system speed.
#include <cstdint>
#include <string_view>

#include "bank_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    voxtane::fuzzing::CheckBankRoundTrip({reinterpret_cast<const char*>(data), size}, nullptr);
    return 0;
}
