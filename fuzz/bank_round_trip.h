#pragma once

#include <string_view>

#include "memory_bank_files.h"

namespace voxtane::fuzzing {

// Any bytes as a bank file, with or without a names file of any bytes: the load must leave a
// sound bank, and saving it and loading the result must give the same bank and names. The input
// is split at the first "\n--names--\n" into the bank file and its names file; without the
// marker there is no names file. The files are real files when `memory` is null, otherwise
// bytes in it, read by the same readers.
void CheckBankRoundTrip(std::string_view input, editor::MemoryBankFiles* memory);

}  // namespace voxtane::fuzzing
