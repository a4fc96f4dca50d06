#include "qt/explore_menu.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

#include "qt/explore_window.h"

namespace voxtane::qt {

void AddToolsMenu(QMenuBar& bar, QAction* before, QWidget& window, editor::EditorRun& run,
                  std::filesystem::path library, std::function<voice::LiveVoice*()> voice,
                  std::function<void()> restoreVoice) {
    auto* menu = new QMenu(QStringLiteral("&Tools"), &bar);
    menu->setObjectName(QStringLiteral("cmdTools"));
    bar.insertMenu(before, menu);
    QAction* explore = menu->addAction(QStringLiteral("&Explore..."));
    explore->setObjectName(QStringLiteral("cmdExplore"));
    explore->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    auto shown = std::make_shared<QPointer<ExploreWindow>>();
    QObject::connect(
        explore, &QAction::triggered, explore,
        [&window, &run, shown, library = std::move(library), voice = std::move(voice),
         restore = std::move(restoreVoice)] {
            if (shown->isNull()) {
                auto* audition = new LiveVoiceAudition(voice, restore);
                auto* made = new ExploreWindow(run.tones, run.settings, *audition, &run.synthLink,
                                               library, &window);
                QObject::connect(made, &QObject::destroyed, [audition] { delete audition; });
                // Undo and Redo reach the editor from this window too.
                for (const char* name : {"cmdUndo", "cmdRedo"})
                    if (auto* action = window.findChild<QAction*>(QString::fromLatin1(name)))
                        made->addAction(action);
                *shown = made;
            }
            (*shown)->show();
            (*shown)->raise();
            (*shown)->activateWindow();
        });
}

}  // namespace voxtane::qt
