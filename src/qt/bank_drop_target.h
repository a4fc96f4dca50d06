#pragma once

#include <QObject>
#include <QString>

#include "editor/linked_editor.h"

class QComboBox;
class QMimeData;

namespace voxtane::qt {

// Tones dragged from the Library window land in the bank: on the patch list, from the current
// patch on; on a patch of the list's open drop-down, from that patch on. While the drag hovers,
// the patches they will fill are shown (a tip at the pointer, and in the drop-down those patches
// selected); the drop is one step of the history and the names come along.
class BankDropTarget : public QObject {
  public:
    BankDropTarget(QComboBox& patches, editor::LinkedEditor& tones);

    // What a drop of `mime` from patch `first` on would fill; empty when it carries no tones.
    [[nodiscard]] QString Preview(const QMimeData& mime, int first) const;
    // Takes the tones `mime` carries into the bank from patch `first` on; false when it carries
    // none or none fit.
    bool Drop(const QMimeData& mime, int first);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The patch a drag at `position` of `watched` starts from.
    [[nodiscard]] int FirstPatchAt(QObject* watched, QPointF position) const;

    QComboBox& patches_;
    editor::LinkedEditor& tones_;
};

}  // namespace voxtane::qt
