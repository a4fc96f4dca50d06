#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "bank/synth_protocol.h"

// Where a tone lives in the synth: sixteen presets, sixteen internal memories, sixteen cartridge
// memories, and the temporary area that holds the tone the synth plays now.
namespace voxtane::midi {

enum class MemoryArea { Current, Preset, Internal, Cartridge };

// One memory of the synth. Only valid memories can be made: a numbered area takes 1 to 16.
class SynthMemory {
  public:
    [[nodiscard]] static constexpr SynthMemory Current() { return {MemoryArea::Current, 0}; }
    // These throw std::out_of_range for a number outside 1 to 16: a caller with a number from
    // outside the program checks it with Numbered first.
    [[nodiscard]] static SynthMemory Preset(int number);
    [[nodiscard]] static SynthMemory Internal(int number);
    [[nodiscard]] static SynthMemory Cartridge(int number);
    // Nothing for a number outside 1 to 16 or for the current tone, which has no number.
    [[nodiscard]] static std::optional<SynthMemory> Numbered(MemoryArea area, int number);
    // The memory a request's position byte names, or nothing for a byte no memory has.
    [[nodiscard]] static std::optional<SynthMemory> AtPosition(std::uint8_t position);

    [[nodiscard]] constexpr MemoryArea Area() const { return area_; }
    [[nodiscard]] constexpr int Number() const { return number_; }  // 0 for the current tone
    // The position byte of requests: presets 00-0F, internal 20-2F, cartridge 40-4F, current 60.
    [[nodiscard]] std::uint8_t Position() const;

    friend constexpr bool operator==(const SynthMemory&, const SynthMemory&) = default;

  private:
    constexpr SynthMemory(MemoryArea area, int number) : area_(area), number_(number) {}

    MemoryArea area_;
    int number_;
};

// The forms a user types: "current", "preset:N", "internal:N", "cartridge:N" with N 1 to 16.
inline constexpr std::string_view kSynthMemoryForms =
    "current, preset:N, internal:N or cartridge:N with N from 1 to 16";
[[nodiscard]] std::optional<SynthMemory> ParseSynthMemory(std::string_view text);
[[nodiscard]] std::string SynthMemoryText(SynthMemory memory);

// The memory in words for messages: "internal memory 3", "preset 5", "the current tone".
[[nodiscard]] std::string SynthMemoryWords(SynthMemory memory);

}  // namespace voxtane::midi
