#include "midi/synth_memory.h"

#include <array>
#include <charconv>
#include <stdexcept>

namespace voxtane::midi {

namespace {

struct AreaNaming {
    MemoryArea area;
    std::string_view text;   // as typed, before the colon
    std::string_view words;  // in messages, before the number
    std::uint8_t firstPosition;
};

constexpr std::array<AreaNaming, 3> kNumberedAreas{{
    {MemoryArea::Preset, "preset", "preset", kPresetArea},
    {MemoryArea::Internal, "internal", "internal memory", kInternalArea},
    {MemoryArea::Cartridge, "cartridge", "cartridge memory", kCartridgeArea},
}};
constexpr std::string_view kCurrentText = "current";

const AreaNaming& NamingOf(MemoryArea area) {
    for (const AreaNaming& naming : kNumberedAreas)
        if (naming.area == area) return naming;
    throw std::out_of_range("the current tone has no numbered area");
}

SynthMemory Checked(MemoryArea area, int number) {
    const auto memory = SynthMemory::Numbered(area, number);
    if (!memory) throw std::out_of_range("memory number " + std::to_string(number));
    return *memory;
}

}  // namespace

SynthMemory SynthMemory::Preset(int number) {
    return Checked(MemoryArea::Preset, number);
}
SynthMemory SynthMemory::Internal(int number) {
    return Checked(MemoryArea::Internal, number);
}
SynthMemory SynthMemory::Cartridge(int number) {
    return Checked(MemoryArea::Cartridge, number);
}

std::optional<SynthMemory> SynthMemory::Numbered(MemoryArea area, int number) {
    if (area == MemoryArea::Current || number < 1 || number > kMemoriesPerArea) return std::nullopt;
    return SynthMemory(area, number);
}

std::optional<SynthMemory> SynthMemory::AtPosition(std::uint8_t position) {
    if (position == kCurrentTonePosition) return Current();
    for (const AreaNaming& naming : kNumberedAreas)
        if (position >= naming.firstPosition && position < naming.firstPosition + kMemoriesPerArea)
            return SynthMemory(naming.area, position - naming.firstPosition + 1);
    return std::nullopt;
}

std::uint8_t SynthMemory::Position() const {
    if (area_ == MemoryArea::Current) return kCurrentTonePosition;
    return static_cast<std::uint8_t>(NamingOf(area_).firstPosition + number_ - 1);
}

std::optional<SynthMemory> ParseSynthMemory(std::string_view text) {
    if (text == kCurrentText) return SynthMemory::Current();
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const std::string_view digits = text.substr(colon + 1);
    // Plain decimal digits only: from_chars alone would take a sign or stop at trailing junk.
    if (digits.empty() || digits.size() > 2 || digits.front() < '1' || digits.front() > '9')
        return std::nullopt;
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
    for (const AreaNaming& naming : kNumberedAreas)
        if (text.substr(0, colon) == naming.text) return SynthMemory::Numbered(naming.area, number);
    return std::nullopt;
}

std::string SynthMemoryText(SynthMemory memory) {
    if (memory.Area() == MemoryArea::Current) return std::string(kCurrentText);
    return std::string(NamingOf(memory.Area()).text) + ":" + std::to_string(memory.Number());
}

std::string SynthMemoryWords(SynthMemory memory) {
    if (memory.Area() == MemoryArea::Current) return "the current tone";
    return std::string(NamingOf(memory.Area()).words) + " " + std::to_string(memory.Number());
}

}  // namespace voxtane::midi
