#include "qt/library_menu.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QPointer>

#include "qt/library_window.h"

namespace voxtane::qt {

void AddLibraryMenu(QMenuBar& bar, QAction* before, QWidget& window, editor::EditorRun& run,
                    std::filesystem::path path, std::function<voice::LiveVoice*()> voice,
                    std::function<void()> restoreVoice) {
    auto* menu = new QMenu(QStringLiteral("&Library"), &bar);
    menu->setObjectName(QStringLiteral("cmdLibraryMenu"));
    bar.insertMenu(before, menu);
    QAction* open = menu->addAction(QStringLiteral("&Library..."));
    open->setObjectName(QStringLiteral("cmdLibrary"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    QAction* addFolder = menu->addAction(QStringLiteral("&Add Folder..."));
    addFolder->setObjectName(QStringLiteral("cmdLibraryAddFolder"));

    auto shown = std::make_shared<QPointer<LibraryWindow>>();
    auto show = [&window, &run, shown, path = std::move(path), voice = std::move(voice),
                 restore = std::move(restoreVoice)]() -> LibraryWindow& {
        if (shown->isNull()) {
            auto* audition = new LiveVoiceAudition(voice, restore);
            auto* made = new LibraryWindow(path, run.tones, run.settings, *audition, &window);
            QObject::connect(made, &QObject::destroyed, [audition] { delete audition; });
            for (const char* name : {"cmdUndo", "cmdRedo"})
                if (auto* action = window.findChild<QAction*>(QString::fromLatin1(name)))
                    made->addAction(action);
            *shown = made;
        }
        (*shown)->show();
        (*shown)->raise();
        (*shown)->activateWindow();
        return **shown;
    };
    QObject::connect(open, &QAction::triggered, open, [show] { (void)show(); });
    QObject::connect(addFolder, &QAction::triggered, addFolder, [show, &window] {
        const QString folder = QFileDialog::getExistingDirectory(
            &window, QStringLiteral("Add a Folder to the Library"));
        if (!folder.isEmpty()) show().AddFolder(folder);
    });
}

}  // namespace voxtane::qt
