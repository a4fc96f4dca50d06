#include "qt/shortcuts_dialog.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <utility>
#include <vector>

namespace voxtane::qt {
namespace {

using Row = std::pair<QString, QString>;  // keys, what they do

// The keys that are no menu entry's.
const std::vector<Row> kMovingKeys{
    {QStringLiteral("Tab, Shift+Tab"),
     QStringLiteral("Next or previous control: patch list, buttons, then each group in reading "
                    "order, envelopes step by step (rate, level, sustain, end)")},
    {QStringLiteral("Arrow keys"), QStringLiteral("Choose the next or previous option of a group")},
    {QStringLiteral("Up, Down"),
     QStringLiteral("In an envelope's rate or level box: the same box of the step above or below")},
    {QStringLiteral("Left, Right, Page Up, Page Down"), QStringLiteral("Move a slider")},
    {QStringLiteral("Space"), QStringLiteral("Press the button or choose the option with focus")},
};

QString Plain(QString text) {
    text.remove(QLatin1Char('&'));
    if (text.endsWith(QStringLiteral("..."))) text.chop(3);
    return text;
}

void AddShortcutsOf(const QList<QAction*>& actions, std::vector<Row>& rows) {
    for (QAction* action : actions) {
        if (QMenu* menu = action->menu()) {
            AddShortcutsOf(menu->actions(), rows);
        } else if (!action->shortcuts().isEmpty()) {
            QStringList keys;
            for (const QKeySequence& key : action->shortcuts())
                keys << key.toString(QKeySequence::NativeText);
            rows.emplace_back(keys.join(QStringLiteral(", ")), Plain(action->text()));
        }
    }
}

}  // namespace

void ShowKeyboardShortcuts(QMainWindow& window) {
    std::vector<Row> rows = kMovingKeys;
    AddShortcutsOf(window.actions(), rows);
    AddShortcutsOf(window.menuBar()->actions(), rows);

    QDialog dialog(&window);
    dialog.setObjectName(QStringLiteral("KeyboardShortcuts"));
    dialog.setWindowTitle(QStringLiteral("Keyboard Shortcuts"));
    auto* table = new QTableWidget(int(rows.size()), 2, &dialog);
    table->setObjectName(QStringLiteral("tblShortcuts"));
    table->setAccessibleName(QStringLiteral("Keyboard shortcuts"));
    table->setHorizontalHeaderLabels({QStringLiteral("Keys"), QStringLiteral("Does")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setWordWrap(true);
    // Tab leaves the table for the Close button; the arrows read it row by row.
    table->setTabKeyNavigation(false);
    for (int i = 0; i < int(rows.size()); ++i) {
        table->setItem(i, 0, new QTableWidgetItem(rows[i].first));
        table->setItem(i, 1, new QTableWidgetItem(rows[i].second));
    }
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    table->resizeRowsToContents();
    table->setCurrentCell(0, 0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* column = new QVBoxLayout(&dialog);
    column->addWidget(table);
    column->addWidget(buttons);
    dialog.resize(640, 480);
    dialog.exec();
}

}  // namespace voxtane::qt
