#include "qt/bank_drop_target.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QToolTip>

#include "library/dragged_tones.h"

namespace voxtane::qt {
namespace {

QString DraggedType() {
    return QString::fromLatin1(library::kDraggedTonesType);
}

std::optional<std::vector<library::DraggedTone>> TonesOf(const QMimeData& mime) {
    if (!mime.hasFormat(DraggedType())) return std::nullopt;
    const QByteArray bytes = mime.data(DraggedType());
    auto tones =
        library::DecodeDraggedTones({reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                     static_cast<std::size_t>(bytes.size())});
    if (tones && tones->empty()) return std::nullopt;
    return tones;
}

std::vector<std::string> NamesOf(const std::vector<library::DraggedTone>& tones) {
    std::vector<std::string> names;
    for (const auto& tone : tones) names.push_back(tone.name);
    return names;
}

}  // namespace

BankDropTarget::BankDropTarget(QComboBox& patches, editor::LinkedEditor& tones)
    : QObject(&patches), patches_(patches), tones_(tones) {
    patches_.setAcceptDrops(true);
    patches_.installEventFilter(this);
    patches_.view()->viewport()->setAcceptDrops(true);
    patches_.view()->viewport()->installEventFilter(this);
}

QString BankDropTarget::Preview(const QMimeData& mime, int first) const {
    const auto tones = TonesOf(mime);
    if (!tones) return {};
    const std::vector<std::string> names = NamesOf(*tones);
    return QString::fromStdString(
        library::DescribePlacement(library::PlaceInBank(first, tones->size()), names));
}

bool BankDropTarget::Drop(const QMimeData& mime, int first) {
    const auto tones = TonesOf(mime);
    if (!tones) return false;
    const library::BankPlacement placement = library::PlaceInBank(first, tones->size());
    if (placement.count == 0) return false;
    std::vector<ToneRecord> records;
    std::vector<std::string> names;
    for (int i = 0; i < placement.count; ++i) {
        records.push_back((*tones)[static_cast<std::size_t>(i)].record);
        names.push_back((*tones)[static_cast<std::size_t>(i)].name);
    }
    tones_.TakePatches(first, records, names,
                       records.size() == 1 ? "Drop Tone from Library" : "Drop Tones from Library");
    return true;
}

int BankDropTarget::FirstPatchAt(QObject* watched, QPointF position) const {
    if (watched == patches_.view()->viewport()) {
        const QModelIndex index = patches_.view()->indexAt(position.toPoint());
        if (index.isValid()) return index.row() + 1;
    }
    return tones_.CurrentPatch();
}

bool BankDropTarget::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            const int first = FirstPatchAt(watched, drag->position());
            const QString preview = Preview(*drag->mimeData(), first);
            if (preview.isEmpty()) return false;
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
            auto* widget = static_cast<QWidget*>(watched);
            QToolTip::showText(widget->mapToGlobal(drag->position().toPoint()), preview, widget);
            patches_.setAccessibleDescription(preview);
            if (watched == patches_.view()->viewport()) {
                const auto tones = TonesOf(*drag->mimeData());
                const auto placement = library::PlaceInBank(first, tones ? tones->size() : 0);
                QItemSelection filled;
                if (placement.count > 0)
                    filled.select(patches_.model()->index(placement.first - 1, 0),
                                  patches_.model()->index(placement.last() - 1, 0));
                patches_.view()->selectionModel()->select(filled,
                                                          QItemSelectionModel::ClearAndSelect);
            }
            return true;
        }
        case QEvent::DragLeave:
            QToolTip::hideText();
            patches_.setAccessibleDescription({});
            return false;
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const int first = FirstPatchAt(watched, drop->position());
            QToolTip::hideText();
            patches_.setAccessibleDescription({});
            if (!Drop(*drop->mimeData(), first)) return false;
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            patches_.hidePopup();
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
    }
}

}  // namespace voxtane::qt
