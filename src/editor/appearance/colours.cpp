#include "editor/appearance/colours.h"

#include <algorithm>
#include <cmath>

namespace voxtane::editor {
namespace {

constexpr Rgb Hex(std::uint32_t rgb) {
    return {std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb)};
}

// In the order of ColourRole.
constexpr ThemeColours Colours(std::array<std::uint32_t, kColourRoleCount> roles,
                               std::uint32_t disabledText) {
    ThemeColours colours{};
    for (std::size_t i = 0; i < kColourRoleCount; ++i) colours.roles[i] = Hex(roles[i]);
    colours.disabledText = Hex(disabledText);
    return colours;
}

// Fusion's own light colours with a deeper selection colour for white text, fixed, so that Light
// looks the same whatever the desktop's scheme.
constexpr ThemeColours kLight = Colours(
    {
        0xefefef, 0x000000, 0xffffff, 0xf7f7f7, 0xffffdc, 0x000000, 0x6e6e6e,  // window .. hint
        0x000000, 0xefefef, 0x000000, 0xffffff,                                // text .. bright
        0xffffff, 0xcacaca, 0xb8b8b8, 0x9f9f9f, 0x767676,                      // light .. shadow
        0x1f6fb2, 0xffffff, 0x0000ff, 0xff00ff,                                // highlight ..
    },
    0xbebebe);

// Light keys stay light and Shadow dark, so the piano strip still reads as keys.
constexpr ThemeColours kDark = Colours(
    {
        0x2d2d2d, 0xe8e8e8, 0x1e1e1e, 0x262626, 0x3c3c3c, 0xe8e8e8, 0x9a9a9a,
        0xe8e8e8, 0x383838, 0xe8e8e8, 0xff7070, 0xc4c4c4, 0x4a4a4a, 0x6c6c6c,
        0x232323, 0x141414, 0x2a6db0, 0xffffff, 0x7fbfff, 0xc89cff,
    },
    0x7a7a7a);

// White on black. The selection colour sits between the two in lightness, so that a held key
// stands out from white and black keys alike, and takes black text.
constexpr ThemeColours kHighContrast = Colours(
    {
        0x000000, 0xffffff, 0x000000, 0x1a1a1a, 0x000000, 0xffffff, 0xbdbdbd,
        0xffffff, 0x000000, 0xffffff, 0xffff00, 0xffffff, 0xbdbdbd, 0x808080,
        0x6e6e6e, 0x000000, 0xb266ff, 0x000000, 0xffff00, 0x7fffff,
    },
    0x9a9a9a);

double Linear(std::uint8_t channel) {
    const double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

}  // namespace

std::optional<ThemeColours> ColoursOf(Theme theme) {
    switch (theme) {
        case Theme::Light:
            return kLight;
        case Theme::Dark:
            return kDark;
        case Theme::HighContrast:
            return kHighContrast;
        case Theme::System:
            break;
    }
    return std::nullopt;
}

double RelativeLuminance(Rgb colour) {
    return 0.2126 * Linear(colour.red) + 0.7152 * Linear(colour.green) +
           0.0722 * Linear(colour.blue);
}

double ContrastRatio(Rgb one, Rgb other) {
    const double a = RelativeLuminance(one);
    const double b = RelativeLuminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

}  // namespace voxtane::editor
