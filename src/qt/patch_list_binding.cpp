#include "qt/patch_list_binding.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QSignalBlocker>
#include <QTimer>
#include <utility>

namespace voxtane::qt {
namespace {

// The model counts its caret in bytes of UTF-8 text; the line edit counts characters.
int CaretInCharacters(const std::string& text, int bytePosition) {
    if (bytePosition >= static_cast<int>(text.size())) return QString::fromStdString(text).size();
    return QString::fromUtf8(text.data(), bytePosition).size();
}

void Show(const editor::PatchList& model, QComboBox& combo) {
    const QSignalBlocker blocker(&combo);
    while (combo.count() > model.ListCount()) combo.removeItem(combo.count() - 1);
    for (int i = 0; i < model.ListCount(); ++i) {
        const QString name = QString::fromStdString(model.List(i));
        if (i >= combo.count()) {
            combo.addItem(name);
        } else if (combo.itemText(i) != name) {
            combo.setItemText(i, name);
        }
    }
    if (combo.currentIndex() != model.ListIndex()) combo.setCurrentIndex(model.ListIndex());
    QLineEdit* edit = combo.lineEdit();
    const QString text = QString::fromStdString(model.Text());
    if (edit->text() != text) edit->setText(text);
    edit->setCursorPosition(CaretInCharacters(model.Text(), model.SelStart()));
}

// Whether the drop-down list is open, or was until this moment: a pick from it comes after it
// has closed, within the same event.
class DropDownWatch : public QObject {
  public:
    explicit DropDownWatch(QComboBox& combo) : QObject(&combo) {
        combo.view()->window()->installEventFilter(this);
    }
    [[nodiscard]] bool TakePick() { return std::exchange(open_, false); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) open_ = true;
        if (event->type() == QEvent::Hide) QTimer::singleShot(0, this, [this] { open_ = false; });
        return QObject::eventFilter(watched, event);
    }

  private:
    bool open_ = false;
};

// Gives the focus to the control after the combo box in the tab order, as Tab would.
void FocusNextControl(QComboBox& combo) {
    for (QWidget* next = combo.nextInFocusChain(); next != &combo;
         next = next->nextInFocusChain()) {
        if (combo.isAncestorOf(next) || (next->focusPolicy() & Qt::TabFocus) == 0 ||
            !next->isVisible() || !next->isEnabled())
            continue;
        next->setFocus(Qt::TabFocusReason);
        return;
    }
}

}  // namespace

void BindPatchList(editor::PatchList& model, QComboBox& combo) {
    combo.setEditable(true);
    // The entries are the 16 patches: typing renames, it never adds an entry, and no completion
    // may put other text into the field than what the user typed.
    combo.setInsertPolicy(QComboBox::NoInsert);
    combo.setCompleter(nullptr);
    combo.setMaxVisibleItems(16);
    // The names file keeps no longer names either.
    combo.lineEdit()->setMaxLength(static_cast<int>(kMaxNameLength));

    const QPointer<QComboBox> guard(&combo);
    Show(model, combo);
    model.observers.Add([&model, guard] {
        if (guard) Show(model, *guard);
    });
    // activated is the user's pick, also of the entry already selected. After a pick from the
    // drop-down the focus moves on: left in the name field, Ctrl+V would paste the clipboard's
    // text into the name instead of pasting a patch, and typing would rename the patch. Up and
    // Down in the field keep it there, to go on through the patches.
    auto* dropDown = new DropDownWatch(combo);
    QObject::connect(&combo, &QComboBox::activated, &combo, [&model, &combo, dropDown](int index) {
        if (index >= 0 && index < model.ListCount()) model.SetListIndex(index);
        if (dropDown->TakePick()) FocusNextControl(combo);
    });
    QObject::connect(combo.lineEdit(), &QLineEdit::textEdited, &combo,
                     [&model](const QString& text) { model.SetText(text.toStdString()); });
}

}  // namespace voxtane::qt
