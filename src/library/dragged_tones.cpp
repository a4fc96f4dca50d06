#include "library/dragged_tones.h"

#include <algorithm>

#include "bank/bank_limits.h"
#include "library/tone_identity.h"

namespace voxtane::library {
namespace {

// "VXT1", then per tone: its entry bytes, the name's length in two bytes and the name in UTF-8.
constexpr std::uint8_t kMagic[] = {'V', 'X', 'T', '1'};
constexpr std::size_t kMostNameBytes = 0xFFFF;
constexpr auto kEntries = static_cast<std::size_t>(kToneEntries);

}  // namespace

std::vector<std::uint8_t> EncodeDraggedTones(std::span<const DraggedTone> tones) {
    std::vector<std::uint8_t> bytes(std::begin(kMagic), std::end(kMagic));
    for (const DraggedTone& tone : tones) {
        const std::vector<std::uint8_t> entries = EntryBytes(tone.record);
        bytes.insert(bytes.end(), entries.begin(), entries.end());
        const std::size_t length = std::min(tone.name.size(), kMostNameBytes);
        bytes.push_back(static_cast<std::uint8_t>(length >> 8));
        bytes.push_back(static_cast<std::uint8_t>(length & 0xFF));
        bytes.insert(bytes.end(), tone.name.begin(),
                     tone.name.begin() + static_cast<std::ptrdiff_t>(length));
    }
    return bytes;
}

std::optional<std::vector<DraggedTone>> DecodeDraggedTones(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < std::size(kMagic) ||
        !std::equal(std::begin(kMagic), std::end(kMagic), bytes.begin()))
        return std::nullopt;
    std::vector<DraggedTone> tones;
    std::size_t at = std::size(kMagic);
    while (at < bytes.size()) {
        if (bytes.size() - at < kEntries + 2) return std::nullopt;
        DraggedTone tone;
        tone.record =
            RecordFromEntryBytes({bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                  bytes.begin() + static_cast<std::ptrdiff_t>(at + kEntries)});
        at += kEntries;
        const std::size_t length = (std::size_t{bytes[at]} << 8) | bytes[at + 1];
        at += 2;
        if (bytes.size() - at < length) return std::nullopt;
        tone.name.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                         bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
        tones.push_back(std::move(tone));
    }
    return tones;
}

BankPlacement PlaceInBank(int first, std::size_t count) {
    if (first < 1 || first > kBankSlots) return {first, 0};
    return {first,
            static_cast<int>(std::min(count, static_cast<std::size_t>(kBankSlots - first + 1)))};
}

std::string DescribePlacement(const BankPlacement& placement, std::span<const std::string> names) {
    if (placement.count == 0) return "No patch to put them in";
    std::string text = placement.count == 1 ? "Patch " + std::to_string(placement.first)
                                            : "Patches " + std::to_string(placement.first) +
                                                  " to " + std::to_string(placement.last());
    text += ":";
    for (int i = 0; i < placement.count && static_cast<std::size_t>(i) < names.size(); ++i)
        text += (i == 0 ? " " : ", ") + (names[static_cast<std::size_t>(i)].empty()
                                             ? std::string("(no name)")
                                             : names[static_cast<std::size_t>(i)]);
    if (names.size() > static_cast<std::size_t>(placement.count)) {
        const std::size_t left = names.size() - static_cast<std::size_t>(placement.count);
        text +=
            " (" + std::to_string(left) + (left == 1 ? " tone does" : " tones do") + " not fit)";
    }
    return text;
}

}  // namespace voxtane::library
