#pragma once

#include <cstddef>

#include "bank/synth_protocol.h"

namespace voxtane {

// A bank holds the synth's 16 internal memories, each named by one line of its names file.
inline constexpr int kBankSlots = kMemoriesPerArea;

// Names are cut after this many characters, wherever they come from (bank/patch_name.h).
inline constexpr std::size_t kMaxNameLength = 1000;

}  // namespace voxtane
