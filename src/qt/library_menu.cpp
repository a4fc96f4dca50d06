#include "qt/library_menu.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>
#include <thread>

#include "library/own_tones.h"
#include "qt/bank_drop_target.h"
#include "qt/library_window.h"

namespace voxtane::qt {
namespace {

// What "Add to Library" did, in a line of the status bar.
QString Outcome(const library::AddedTone& added, const QString& what) {
    const QString file = QString::fromStdString(added.file.filename().string());
    const QString folder = QString::fromStdString(added.file.parent_path().string());
    switch (added.outcome) {
        case library::AddOutcome::Added:
            return QStringLiteral("%1 added to the library as \"%2\" in %3")
                .arg(what, file, folder);
        case library::AddOutcome::NotWritten:
            return QStringLiteral("%1 not added to the library: %2 could not be written (%3)")
                .arg(what, file.isEmpty() ? folder : file, QString::fromStdString(added.reason));
        case library::AddOutcome::LibraryFailed:
            break;
    }
    return QStringLiteral("%1 written as \"%2\" in %3, but the library could not take it (%4)")
        .arg(what, file, folder, QString::fromStdString(added.reason));
}

// Writes the current patch or the whole bank into the library's folder "Editor" and scans, off
// the window's thread (a scan walks every folder); the status bar tells the outcome.
void AddToLibrary(QWidget& window, editor::LinkedEditor& tones, const std::filesystem::path& path,
                  bool wholeBank) {
    std::vector<ToneRecord> records;
    std::vector<std::string> names;
    if (wholeBank) {
        const editor::BankTones bank = tones.Tones();
        for (int patch = 1; patch <= tones.PatchCount(); ++patch) {
            records.push_back(bank[static_cast<std::size_t>(patch - 1)]);
            names.push_back(tones.Name(patch));
        }
    } else {
        records.push_back(tones.CurrentTone());
        names.push_back(tones.Name(tones.CurrentPatch()));
    }
    auto* bar = qobject_cast<QMainWindow*>(&window) ? static_cast<QMainWindow&>(window).statusBar()
                                                    : nullptr;
    if (bar) bar->showMessage(QStringLiteral("Adding to the library..."));
    const QString what = wholeBank ? QStringLiteral("The bank") : QStringLiteral("The patch");
    const QPointer<QStatusBar> guard(bar);
    // Owned by the window, which waits for the work when it goes first.
    struct Adding : QObject {
        using QObject::QObject;
        std::jthread thread;
    };
    auto* adding = new Adding(&window);
    const QPointer<Adding> owner(adding);
    adding->thread = std::jthread([path, records, names, wholeBank, what, guard, owner] {
        const library::AddedTone added =
            wholeBank ? library::AddBankToLibrary(path, "Editor", records, names, "Bank")
                      : library::AddToneToLibrary(path, "Editor", records.front(), names.front());
        const QString text = Outcome(added, what);
        QMetaObject::invokeMethod(qApp, [guard, text, owner] {
            if (guard) guard->showMessage(text);
            if (owner) owner->deleteLater();
        });
    });
}

}  // namespace

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
    menu->addSeparator();
    QAction* addPatch = menu->addAction(QStringLiteral("Add &Patch to Library"));
    addPatch->setObjectName(QStringLiteral("cmdLibraryAddPatch"));
    QAction* addBank = menu->addAction(QStringLiteral("Add &Bank to Library"));
    addBank->setObjectName(QStringLiteral("cmdLibraryAddBank"));
    QObject::connect(addPatch, &QAction::triggered, addPatch,
                     [&window, &run, path] { AddToLibrary(window, run.tones, path, false); });
    QObject::connect(addBank, &QAction::triggered, addBank,
                     [&window, &run, path] { AddToLibrary(window, run.tones, path, true); });
    // Tones dragged from the Library window land on the patch list.
    if (auto* patches = window.findChild<QComboBox*>(QStringLiteral("cboPatches")))
        new BankDropTarget(*patches, run.tones);

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
