#include "qt/appearance/window_appearance.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>

#include "editor/appearance/appearance_choice.h"
#include "qt/appearance/fixed_layout_zoom.h"
#include "qt/appearance/shown_appearance.h"
#include "qt/appearance/view_menu.h"

namespace voxtane::qt {
namespace {

class WindowAppearance : public QObject {
  public:
    WindowAppearance(QMainWindow& window, QWidget& area, int textPixels,
                     editor::SettingsStore& settings)
        : QObject(&window),
          zoom_(window, area, textPixels, window.size()),
          shown_(zoom_),
          choice_(settings, AppearanceFromArguments(QCoreApplication::arguments())) {
        QMenu* view = AddViewMenu(*window.menuBar(), MenuAfterEdit(*window.menuBar()), choice_);
        choice_.OnChange([this, view](const editor::Appearance& appearance) {
            shown_.Show(appearance);
            ShowInViewMenu(*view, appearance);
        });
        shown_.Show(choice_.Current());
    }

  private:
    // View stands after Edit, as on most desktops.
    static QAction* MenuAfterEdit(QMenuBar& bar) {
        const QList<QAction*> menus = bar.actions();
        for (qsizetype i = 0; i + 1 < menus.size(); ++i)
            if (menus[i]->menu() != nullptr &&
                menus[i]->menu()->objectName() == QLatin1String("cmdEdit"))
                return menus[i + 1];
        return nullptr;
    }

    FixedLayoutZoom zoom_;
    ShownAppearance shown_;
    editor::AppearanceChoice choice_;
};

}  // namespace

void AddAppearance(QMainWindow& window, QWidget& area, int textPixels,
                   editor::SettingsStore& settings) {
    new WindowAppearance(window, area, textPixels, settings);
}

}  // namespace voxtane::qt
