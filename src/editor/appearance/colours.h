#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "editor/appearance/appearance.h"

namespace voxtane::editor {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The colour roles of a window's palette that the editor's themes set (the toolkit's own roles,
// one to one).
enum class ColourRole {
    Window,
    WindowText,
    Base,
    AlternateBase,
    ToolTipBase,
    ToolTipText,
    PlaceholderText,
    Text,
    Button,
    ButtonText,
    BrightText,
    Light,
    Midlight,
    Mid,
    Dark,
    Shadow,
    Highlight,
    HighlightedText,
    Link,
    LinkVisited,
};
inline constexpr std::size_t kColourRoleCount = std::size_t(ColourRole::LinkVisited) + 1;

struct ThemeColours {
    std::array<Rgb, kColourRoleCount> roles;
    // Captions, text and button captions of controls that cannot be used now.
    Rgb disabledText;

    [[nodiscard]] constexpr Rgb operator[](ColourRole role) const {
        return roles[std::size_t(role)];
    }
};

// The colours of a theme of the editor's own; none for System, which keeps the desktop's.
[[nodiscard]] std::optional<ThemeColours> ColoursOf(Theme theme);

// WCAG 2.2 relative luminance (0 for black, 1 for white) and contrast ratio (1 to 21).
[[nodiscard]] double RelativeLuminance(Rgb colour);
[[nodiscard]] double ContrastRatio(Rgb one, Rgb other);

// A colour some drawing puts on another: text has to stand out from its ground at 4.5:1, lines
// and shapes a user must make out (curves, keys, marks, the focus ring) at 3:1.
enum class Need { Text, Graphic };
struct ColourPair {
    std::string_view drawing;
    ColourRole ink;
    ColourRole ground;
    Need need;
};

// Every pair of palette roles the editor's own drawings depend on to be read; guide lines and
// shading drawn only for orientation are left out. Keep in step with the paint code.
inline constexpr std::array<ColourPair, 28> kDrawingColours = {{
    {"window text", ColourRole::WindowText, ColourRole::Window, Need::Text},
    {"control text", ColourRole::Text, ColourRole::Base, Need::Text},
    {"button caption", ColourRole::ButtonText, ColourRole::Button, Need::Text},
    {"selected text", ColourRole::HighlightedText, ColourRole::Highlight, Need::Text},
    {"tool tip", ColourRole::ToolTipText, ColourRole::ToolTipBase, Need::Text},
    {"option picture", ColourRole::WindowText, ColourRole::Button, Need::Graphic},
    {"option picture on its group", ColourRole::WindowText, ColourRole::Window, Need::Graphic},
    {"chosen option picture ring", ColourRole::Highlight, ColourRole::Button, Need::Graphic},
    {"envelope graph title and scale", ColourRole::WindowText, ColourRole::Window, Need::Text},
    {"envelope curve and step numbers", ColourRole::Text, ColourRole::Base, Need::Text},
    {"envelope key-up mark", ColourRole::PlaceholderText, ColourRole::Base, Need::Text},
    {"envelope selected point", ColourRole::Highlight, ColourRole::Base, Need::Graphic},
    {"waveform title", ColourRole::WindowText, ColourRole::Window, Need::Text},
    {"waveform curve", ColourRole::Text, ColourRole::Base, Need::Graphic},
    {"silent waveform curve", ColourRole::PlaceholderText, ColourRole::Base, Need::Graphic},
    {"waveform axes", ColourRole::Mid, ColourRole::Base, Need::Graphic},
    {"piano black key", ColourRole::Shadow, ColourRole::Light, Need::Graphic},
    {"piano key outline", ColourRole::Mid, ColourRole::Light, Need::Graphic},
    {"piano held key", ColourRole::Highlight, ColourRole::Light, Need::Graphic},
    {"piano held black key", ColourRole::Highlight, ColourRole::Shadow, Need::Graphic},
    {"piano octave name", ColourRole::Shadow, ColourRole::Light, Need::Text},
    {"piano held octave name", ColourRole::HighlightedText, ColourRole::Highlight, Need::Text},
    {"candidate amplitude envelope", ColourRole::Text, ColourRole::Base, Need::Graphic},
    {"candidate wave envelope", ColourRole::Highlight, ColourRole::Base, Need::Graphic},
    {"meter level", ColourRole::Highlight, ColourRole::Base, Need::Graphic},
    {"control edges and handles", ColourRole::Mid, ColourRole::Window, Need::Graphic},
    {"focus ring", ColourRole::Highlight, ColourRole::Window, Need::Graphic},
    {"focus ring on a plot", ColourRole::Highlight, ColourRole::Base, Need::Graphic},
}};

[[nodiscard]] constexpr double NeededRatio(Need need) {
    return need == Need::Text ? 4.5 : 3.0;
}

}  // namespace voxtane::editor
