#pragma once

#include <cstddef>

namespace voxtane {

// A bank holds 16 patches, each named by one line of its names file.
inline constexpr int kBankSlots = 16;

// Names are cut after this many characters, wherever they come from (bank/patch_name.h).
inline constexpr std::size_t kMaxNameLength = 1000;

}  // namespace voxtane
