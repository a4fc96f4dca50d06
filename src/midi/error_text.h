#pragma once

#include <optional>
#include <string_view>

#include "midi/mm_system.h"

namespace voxtane::midi {

// The plain-language description of a result code of the MIDI output layer, without a final
// full stop; none for a number that is no result code.
[[nodiscard]] std::optional<std::string_view> DescribeResult(MMRESULT code);

}  // namespace voxtane::midi
