#include "qt/edit_additions.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>

#include <algorithm>
#include <memory>

#include "qt/twips.h"

namespace voxtane::qt {
namespace {

// Keeps Undo and Redo away from the text boxes' own undo: the shortcut goes to the window.
class OneHistory : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
                key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y))
                return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

QAction* Named(QMainWindow& window, const char* name) {
    return window.findChild<QAction*>(QString::fromLatin1(name));
}

QAction* NewEntry(QMenu& menu, QAction* before, const char* name, const char* caption) {
    auto* action = new QAction(QString::fromLatin1(caption), &menu);
    action->setObjectName(QString::fromLatin1(name));
    menu.insertAction(before, action);
    return action;
}

bool InsideAny(const QList<QWidget*>& widgets, const QWidget* focused) {
    if (focused == nullptr) return false;
    return std::any_of(widgets.begin(), widgets.end(), [focused](const QWidget* widget) {
        return widget == focused || widget->isAncestorOf(focused);
    });
}

}  // namespace

void AddEditorAdditions(QMainWindow& window, QWidget& toneArea, editor::EditorRun& run) {
    QAction* copy = Named(window, "cmdCopyPatch");
    QAction* paste = Named(window, "cmdPastePatch");
    auto* edit = qobject_cast<QMenu*>(copy->parent());
    QObject::connect(copy, &QAction::triggered, copy, [&run] { run.clipboard.CopyPatch(); });
    QObject::connect(paste, &QAction::triggered, paste, [&run] { run.clipboard.PastePatch(); });
    QAction* import = Named(window, "cmdImpot");
    QObject::connect(import, &QAction::triggered, import, [&run] { run.transfer.Import(); });
    QAction* exporting = Named(window, "cmdExport");
    QObject::connect(exporting, &QAction::triggered, exporting, [&run] { run.transfer.Export(); });
    QAction* recover = Named(window, "cmdRecover");
    QObject::connect(recover, &QAction::triggered, recover, [&run] { run.recovery.Recover(); });

    QAction* undo = NewEntry(*edit, copy, "cmdUndo", "&Undo");
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QObject::connect(undo, &QAction::triggered, undo, [&run] {
        run.compare.SetComparing(false);
        run.history.Undo();
    });
    QAction* redo = NewEntry(*edit, copy, "cmdRedo", "&Redo");
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    QObject::connect(redo, &QAction::triggered, redo, [&run] {
        run.compare.SetComparing(false);
        run.history.Redo();
    });
    edit->insertSeparator(copy);
    edit->addSeparator();
    QAction* compare = edit->addAction(QStringLiteral("Co&mpare"));
    compare->setObjectName(QStringLiteral("cmdCompareMenu"));
    compare->setCheckable(true);
    compare->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    auto* button = new QPushButton(QStringLiteral("Compare"), &toneArea);
    button->setObjectName(QStringLiteral("cmdCompare"));
    button->setCheckable(true);
    button->setGeometry(TwipRect(10320, 0, 1215, 495));
    QObject::connect(compare, &QAction::triggered, compare,
                     [&run](bool on) { run.compare.SetComparing(on); });
    QObject::connect(button, &QPushButton::clicked, button,
                     [&run](bool on) { run.compare.SetComparing(on); });

    // The tone controls: every widget named after a tone control or one of its elements.
    QStringList names;
    for (const editor::NamedControl& control : run.form1.All())
        names << QRegularExpression::escape(
            QString::fromLatin1(control.name.data(), qsizetype(control.name.size())));
    const QRegularExpression tone(QStringLiteral("^(%1)(\\(\\d+\\))?$").arg(names.join('|')));
    QList<QWidget*> toneWidgets = toneArea.findChildren<QWidget*>(tone);

    auto* unsaved = new QLabel(&window);
    unsaved->setObjectName(QStringLiteral("lblUnsaved"));
    window.statusBar()->addPermanentWidget(unsaved);

    auto* filter = new OneHistory(&window);
    for (QLineEdit* box : window.findChildren<QLineEdit*>()) box->installEventFilter(filter);

    const QPointer<QMainWindow> guard(&window);
    auto focusBefore = std::make_shared<QPointer<QWidget>>();
    const auto follow = [guard, &run, undo, redo, compare, button, toneWidgets, unsaved,
                         focusBefore] {
        if (!guard) return;
        const std::string undoText = run.history.UndoText();
        const std::string redoText = run.history.RedoText();
        undo->setEnabled(!undoText.empty());
        undo->setText(undoText.empty() ? QStringLiteral("&Undo")
                                       : "&" + QString::fromStdString(undoText));
        redo->setEnabled(!redoText.empty());
        redo->setText(redoText.empty() ? QStringLiteral("&Redo")
                                       : "&" + QString::fromStdString(redoText));
        const bool comparing = run.compare.Comparing();
        compare->setChecked(comparing);
        button->setChecked(comparing);
        // A control that is made read-only gives its focus to the next one, the patch list's
        // name field, where the next keystroke would rename the patch: the focus waits on
        // Compare instead, where Space or Ctrl+K ends it again, and then goes back.
        if (comparing && InsideAny(toneWidgets, QApplication::focusWidget())) {
            *focusBefore = QApplication::focusWidget();
            button->setFocus(Qt::OtherFocusReason);
        }
        for (QWidget* widget : toneWidgets) widget->setEnabled(!comparing);
        if (!comparing && *focusBefore) {
            if (button->hasFocus()) (*focusBefore)->setFocus(Qt::OtherFocusReason);
            *focusBefore = nullptr;
        }
        unsaved->setText(run.recovery.Unsaved() ? QStringLiteral("Unsaved changes") : QString());
    };
    follow();
    run.history.changed.Add(follow);
    run.compare.changed.Add(follow);
    run.recovery.changed.Add(follow);
}

}  // namespace voxtane::qt
