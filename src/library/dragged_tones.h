#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tone/tone_record.h"

// Tones carried by a drag from the library to the bank: each tone's 256 data entries and the name
// it goes by, in a few bytes the drop reads back without the library; and the patches a drop
// fills.
namespace voxtane::library {

inline constexpr const char* kDraggedTonesType = "application/x-voxtane-tones";

struct DraggedTone {
    ToneRecord record{};
    std::string name;
    friend bool operator==(const DraggedTone&, const DraggedTone&) = default;
};

[[nodiscard]] std::vector<std::uint8_t> EncodeDraggedTones(std::span<const DraggedTone> tones);
// Nothing when the bytes are not what EncodeDraggedTones makes (cut short, or from elsewhere).
[[nodiscard]] std::optional<std::vector<DraggedTone>> DecodeDraggedTones(
    std::span<const std::uint8_t> bytes);

// The patches `count` tones put in from patch `first` on fill: first to at most 16.
struct BankPlacement {
    int first = 1;
    int count = 0;  // as many as fit; none when first is not a patch
    [[nodiscard]] int last() const { return first + count - 1; }
};
[[nodiscard]] BankPlacement PlaceInBank(int first, std::size_t count);
// "Patch 3: Warm Brass" or "Patches 3 to 5: Warm Brass, Glass Bell, Deep Bass", with a note of
// the tones left out when not all fit.
[[nodiscard]] std::string DescribePlacement(const BankPlacement& placement,
                                            std::span<const std::string> names);

}  // namespace voxtane::library
