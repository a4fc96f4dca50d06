#include "qt/appearance/shown_appearance.h"

#include <QApplication>
#include <QStyle>

#include "editor/appearance/colours.h"
#include "qt/appearance/fixed_layout_zoom.h"
#include "qt/appearance/theme_palette.h"
#include "qt/compact_style.h"

namespace voxtane::qt {
namespace {

// The desktop's look as the application first had it, before any theme or zoom of the editor's.
struct DesktopLook {
    QPalette palette = QApplication::palette();
    QFont font = QApplication::font();
};

const DesktopLook& Desktop() {
    static const DesktopLook look;
    return look;
}

QFont ZoomedFont(const QFont& font, int percent) {
    QFont zoomed = font;
    if (font.pixelSize() > 0)
        zoomed.setPixelSize(font.pixelSize() * percent / 100);
    else
        zoomed.setPointSizeF(font.pointSizeF() * percent / 100.0);
    return zoomed;
}

CompactStyle* Style() {
    return dynamic_cast<CompactStyle*>(QApplication::style());
}

// Dark and High Contrast take the edges of controls from the palette: Fusion's own, a shade of
// the window colour, hardly show on a dark one.
void ShowTheme(editor::Theme theme) {
    const std::optional<editor::ThemeColours> colours = editor::ColoursOf(theme);
    if (CompactStyle* style = Style())
        style->SetStrongOutlines(theme == editor::Theme::Dark ||
                                 theme == editor::Theme::HighContrast);
    QApplication::setPalette(colours ? PaletteOf(*colours) : Desktop().palette);
}

void ShowZoom(int percent) {
    if (CompactStyle* style = Style()) style->SetZoom(percent);
    QApplication::setFont(ZoomedFont(Desktop().font, percent));
}

}  // namespace

ShownAppearance::ShownAppearance(FixedLayoutZoom& mainWindowZoom) : zoom_(mainWindowZoom) {
    (void)Desktop();
}

ShownAppearance::~ShownAppearance() {
    if (shown_.theme != editor::Theme::System) ShowTheme(editor::Theme::System);
    if (shown_.zoomPercent != editor::kActualSize) ShowZoom(editor::kActualSize);
}

// Only what changed is set: at System and actual size the application keeps the desktop's
// palette and font untouched, as it had them before there were themes.
void ShownAppearance::Show(const editor::Appearance& appearance) {
    if (appearance.theme != shown_.theme) ShowTheme(appearance.theme);
    if (appearance.zoomPercent != shown_.zoomPercent) {
        ShowZoom(appearance.zoomPercent);
        zoom_.Show(appearance.zoomPercent);
    }
    shown_ = appearance;
}

editor::AppearanceOptions AppearanceFromArguments(const QStringList& arguments) {
    std::vector<std::string> words;
    for (const QString& argument : arguments.mid(1)) words.push_back(argument.toStdString());
    editor::AppearanceOptions options = editor::ReadAppearanceOptions(words);
    if (!options.error.empty()) return {};
    return options;
}

}  // namespace voxtane::qt
