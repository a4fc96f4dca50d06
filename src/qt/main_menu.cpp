#include "qt/main_menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <functional>

namespace voxtane::qt {
namespace {

QMenu* AddMenu(QMenuBar& bar, const char* name, const char* caption) {
    QMenu* menu = bar.addMenu(QString::fromLatin1(caption));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction* AddEntry(QMenu& menu, const char* name, const char* caption,
                  std::function<void()> handler = {}, QKeySequence shortcut = {}) {
    QAction* action = menu.addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    if (handler) QObject::connect(action, &QAction::triggered, action, std::move(handler));
    return action;
}

}  // namespace

QMenu* AddMainMenu(QMenuBar& bar, editor::Form1& form) {
    QMenu* file = AddMenu(bar, "cmdFile", "&File");
    AddEntry(*file, "cmdNew", "&New", [&form] { form.cmdNew_Click(); });
    AddEntry(*file, "cmdLoad", "&Load", [&form] { form.cmdLoad_Click(); });
    AddEntry(*file, "cmdSave", "&Save All", [&form] { form.cmdSave_Click(); });
    AddEntry(*file, "cmdSaveAs", "Save All &As", [&form] { form.cmdSaveAs_Click(); });
    AddEntry(*file, "cmdSaveSinglePatch", "Save Single Pa&tch As",
             [&form] { form.cmdSaveSinglePatch_Click(); });
    AddEntry(*file, "cmdImpot", "&Import");
    AddEntry(*file, "cmdExport", "&Export");
    AddEntry(*file, "cmdRecover", "&Recover...");
    AddEntry(
        *file, "cmdExit", "E&xit", [&form] { form.cmdExit_Click(); },
        QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* edit = AddMenu(bar, "cmdEdit", "&Edit");
    AddEntry(*edit, "cmdCopyPatch", "&Copy Patch", {}, QKeySequence(Qt::CTRL | Qt::Key_C));
    AddEntry(*edit, "cmdPastePatch", "&Paste Patch", {}, QKeySequence(Qt::CTRL | Qt::Key_V));

    QMenu* help = AddMenu(bar, "cmdHelp", "&Help");
    AddEntry(*help, "cmdUsingVoxtane", "&Using Voxtane", [&form] { form.cmdUsingVoxtane_Click(); });
    AddEntry(*help, "cmdAbout", "&About", [&form] { form.cmdAbout_Click(); });
    return help;
}

}  // namespace voxtane::qt
