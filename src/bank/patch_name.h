#pragma once

#include <string>
#include <string_view>

#include "bank/bank_limits.h"

namespace voxtane {

// A patch name as the bank keeps it, whatever way it came in (typed, pasted, imported, fetched,
// given on the command line): valid UTF-8, one line (line breaks and other control characters
// become blanks, or they would shift the names of every later patch in the names file), and at
// most kMaxNameLength characters.
[[nodiscard]] std::string PatchName(std::string_view text);

}  // namespace voxtane
