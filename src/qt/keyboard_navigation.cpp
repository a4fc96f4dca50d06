#include "qt/keyboard_navigation.h"

#include <QAction>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScrollArea>
#include <algorithm>

#include "qt/shortcuts_dialog.h"

namespace voxtane::qt {
namespace {

bool TakesTab(const QWidget& widget) {
    return (widget.focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

// The tab stops inside `block`: the block itself when it takes focus, else the controls inside
// it that take focus and are not part of another control.
QList<QWidget*> StopsIn(QWidget& block) {
    if (TakesTab(block)) return {&block};
    QList<QWidget*> stops;
    for (QWidget* widget : block.findChildren<QWidget*>()) {
        if (!TakesTab(*widget) || !widget->isVisibleTo(&block)) continue;
        bool insideAnother = false;
        for (QWidget* up = widget->parentWidget(); up != &block; up = up->parentWidget())
            insideAnother = insideAnother || TakesTab(*up);
        if (!insideAnother) stops << widget;
    }
    return stops;
}

// Row by row, left to right within a row; a widget whose middle lies below the bottom of the
// first widget of the current row starts the next row. Rows hold widgets of different heights
// (a bar beside a taller group), so a row is not one top edge.
void SortForReading(QList<QWidget*>& widgets, const QWidget& frame) {
    auto place = [&frame](const QWidget* widget) {
        return QRect(widget->mapTo(&frame, QPoint(0, 0)), widget->size());
    };
    std::stable_sort(widgets.begin(), widgets.end(), [&](const QWidget* a, const QWidget* b) {
        return place(a).center().y() < place(b).center().y();
    });
    QList<std::pair<int, QWidget*>> rows;
    int row = 0;
    int rowBottom = widgets.isEmpty() ? 0 : place(widgets.front()).bottom();
    for (QWidget* widget : widgets) {
        if (place(widget).center().y() > rowBottom) {
            ++row;
            rowBottom = place(widget).bottom();
        }
        rows.append({row, widget});
    }
    std::stable_sort(rows.begin(), rows.end(), [&](const auto& a, const auto& b) {
        if (a.first != b.first) return a.first < b.first;
        return place(a.second).x() < place(b.second).x();
    });
    for (qsizetype i = 0; i < rows.size(); ++i) widgets[i] = rows[i].second;
}

// Up and Down in a text box go to the box above or below in its column.
class ColumnArrows : public QObject {
  public:
    using QObject::QObject;

    static QLineEdit* Neighbour(const QWidget& box, int direction) {
        QLineEdit* nearest = nullptr;
        for (QLineEdit* other :
             box.parentWidget()->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
            const QRect there = other->geometry();
            const int distance = (there.y() - box.y()) * direction;
            if (other == &box || distance <= 0 || there.left() > box.geometry().right() ||
                there.right() < box.x())
                continue;
            if (nearest == nullptr || distance < (nearest->y() - box.y()) * direction)
                nearest = other;
        }
        return nearest;
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const int direction = key->key() == Qt::Key_Up ? -1 : key->key() == Qt::Key_Down ? 1 : 0;
        if (direction == 0 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        QLineEdit* next = Neighbour(*static_cast<QWidget*>(watched), direction);
        // As in Tab, the box taken holds its text selected, so typing replaces the value.
        if (next != nullptr && next->isEnabled()) next->setFocus(Qt::TabFocusReason);
        return true;
    }
};

void AddColumnArrows(QWidget& area) {
    auto* arrows = new ColumnArrows(&area);
    for (QLineEdit* box : area.findChildren<QLineEdit*>()) {
        if (ColumnArrows::Neighbour(*box, -1) != nullptr ||
            ColumnArrows::Neighbour(*box, 1) != nullptr)
            box->installEventFilter(arrows);
    }
}

void ShowWhole(QWidget& widget) {
    for (QWidget* up = widget.parentWidget(); up != nullptr; up = up->parentWidget()) {
        if (auto* scroller = qobject_cast<QScrollArea*>(up)) scroller->ensureWidgetVisible(&widget);
    }
}

// Ctrl+1 to Ctrl+6: the first rate box of each envelope, in reading order.
void AddEnvelopeJumps(QMainWindow& window, const QList<QWidget*>& order) {
    static const QRegularExpression firstRate(QStringLiteral("^txt\\w+Rate\\(0\\)$"));
    int number = 0;
    for (QWidget* target : order) {
        if (!firstRate.match(target->objectName()).hasMatch()) continue;
        const auto* group = qobject_cast<QGroupBox*>(target->parentWidget());
        auto* jump = new QAction(
            QStringLiteral("Go to the %1 envelope").arg(group ? group->title() : QString()),
            &window);
        jump->setObjectName(QStringLiteral("cmdGoToEnvelope%1").arg(++number));
        jump->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + number)));
        QObject::connect(jump, &QAction::triggered, target, [target] {
            target->setFocus(Qt::ShortcutFocusReason);
            ShowWhole(*target);
        });
        window.addAction(jump);
    }
}

void AddShortcutsEntry(QMainWindow& window) {
    auto* help = window.menuBar()->findChild<QMenu*>(QStringLiteral("cmdHelp"));
    if (help == nullptr) return;
    auto* entry = new QAction(QStringLiteral("&Keyboard Shortcuts"), help);
    entry->setObjectName(QStringLiteral("cmdKeyboardShortcuts"));
    auto* about = help->findChild<QAction*>(QStringLiteral("cmdAbout"));
    help->insertAction(about, entry);
    QObject::connect(entry, &QAction::triggered, &window,
                     [&window] { ShowKeyboardShortcuts(window); });
}

}  // namespace

QList<QWidget*> ReadingOrder(QWidget& container) {
    // Only blocks with controls count: a caption above a control must not make a row of its own.
    QList<QWidget*> blocks;
    for (QWidget* child : container.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isHidden() && !StopsIn(*child).isEmpty()) blocks << child;
    SortForReading(blocks, container);
    QList<QWidget*> order;
    for (QWidget* block : blocks) {
        QList<QWidget*> stops = StopsIn(*block);
        SortForReading(stops, container);
        order << stops;
    }
    return order;
}

void AddKeyboardNavigation(QMainWindow& window, QWidget& area) {
    for (QWidget* up = area.parentWidget(); up != nullptr && up != &window; up = up->parentWidget())
        up->setFocusPolicy(Qt::NoFocus);
    const QList<QWidget*> order = ReadingOrder(area);
    for (qsizetype i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
    AddColumnArrows(area);
    AddEnvelopeJumps(window, order);
    AddShortcutsEntry(window);
}

}  // namespace voxtane::qt
