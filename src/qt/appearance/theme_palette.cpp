#include "qt/appearance/theme_palette.h"

namespace voxtane::qt {

QPalette::ColorRole PaletteRoleOf(editor::ColourRole role) {
    using editor::ColourRole;
    switch (role) {
        case ColourRole::Window:
            return QPalette::Window;
        case ColourRole::WindowText:
            return QPalette::WindowText;
        case ColourRole::Base:
            return QPalette::Base;
        case ColourRole::AlternateBase:
            return QPalette::AlternateBase;
        case ColourRole::ToolTipBase:
            return QPalette::ToolTipBase;
        case ColourRole::ToolTipText:
            return QPalette::ToolTipText;
        case ColourRole::PlaceholderText:
            return QPalette::PlaceholderText;
        case ColourRole::Text:
            return QPalette::Text;
        case ColourRole::Button:
            return QPalette::Button;
        case ColourRole::ButtonText:
            return QPalette::ButtonText;
        case ColourRole::BrightText:
            return QPalette::BrightText;
        case ColourRole::Light:
            return QPalette::Light;
        case ColourRole::Midlight:
            return QPalette::Midlight;
        case ColourRole::Mid:
            return QPalette::Mid;
        case ColourRole::Dark:
            return QPalette::Dark;
        case ColourRole::Shadow:
            return QPalette::Shadow;
        case ColourRole::Highlight:
            return QPalette::Highlight;
        case ColourRole::HighlightedText:
            return QPalette::HighlightedText;
        case ColourRole::Link:
            return QPalette::Link;
        case ColourRole::LinkVisited:
            return QPalette::LinkVisited;
    }
    return QPalette::NoRole;
}

QColor ColourOf(editor::Rgb rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

QPalette PaletteOf(const editor::ThemeColours& colours) {
    QPalette palette;
    for (std::size_t i = 0; i < editor::kColourRoleCount; ++i) {
        const auto role = editor::ColourRole(i);
        palette.setColor(PaletteRoleOf(role), ColourOf(colours[role]));
    }
    const QColor disabled = ColourOf(colours.disabledText);
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::HighlightedText})
        palette.setColor(QPalette::Disabled, role, disabled);
    palette.setColor(QPalette::Disabled, QPalette::Base,
                     ColourOf(colours[editor::ColourRole::Window]));
    return palette;
}

}  // namespace voxtane::qt
