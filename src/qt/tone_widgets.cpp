#include "qt/tone_widgets.h"

#include <QButtonGroup>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>
#include <algorithm>
#include <vector>

#include "qt/control_binding.h"
#include "qt/twips.h"

namespace voxtane::qt {
namespace {

// Inside a group box the first row of controls stands 240 twips below its top edge, 120 twips
// from its left edge.
constexpr int kRowTop = Px(240);
constexpr int kInnerLeft = Px(120);
constexpr int kRowHeight = Px(255);
// Captioned options may come closer to the group's edges than the first control of a row.
constexpr int kCaptionMargin = 5;

// Picture elements: 495 by 375 twips, at lefts 120, 720, 1320, 1920 and tops 240, 720.
constexpr int kPictureWidth = Px(495);
constexpr int kPictureHeight = Px(375);
constexpr int kPictureColumnStep = Px(600);
constexpr int kPictureRowStep = Px(480);
constexpr int kPicturesPerRow = 4;

QButtonGroup* MakeButtonGroup(QGroupBox& group, const QString& name) {
    auto* buttons = new QButtonGroup(&group);
    buttons->setObjectName(name);
    return buttons;
}

}  // namespace

QString ElementName(const QString& arrayName, int index) {
    return QStringLiteral("%1(%2)").arg(arrayName).arg(index);
}

QGroupBox* AddGroup(QWidget& parent, const QString& name, const QString& title, QRect twips) {
    auto* group = new QGroupBox(title, &parent);
    group->setObjectName(name);
    group->setGeometry(TwipRect(twips.x(), twips.y(), twips.width(), twips.height()));
    return group;
}

// The captions differ in width ("1" beside "1+2'"), so each element gets its natural width and
// the room left over is shared out evenly between them. A group too narrow for its captions in
// the text size of this screen grows to the right; the band it stands in makes room for it.
void AddCaptionOptions(QGroupBox& group, const QString& name, editor::OptionArray& model,
                       const QStringList& captions) {
    QButtonGroup* buttons = MakeButtonGroup(group, name);
    std::vector<QRadioButton*> elements;
    int natural = 0;
    for (int i = 0; i < model.Count(); ++i) {
        auto* element = new QRadioButton(captions.value(i), &group);
        element->setObjectName(ElementName(name, i));
        buttons->addButton(element, i);
        natural += element->sizeHint().width();
        elements.push_back(element);
    }
    if (natural + 2 * kCaptionMargin > group.width()) {
        group.resize(natural + 2 * kCaptionMargin, group.height());
    }
    const int extra = (group.width() - 2 * kCaptionMargin - natural) / model.Count();
    int x = kCaptionMargin;
    for (QRadioButton* element : elements) {
        const int width = element->sizeHint().width() + extra;
        const int height = std::max(kRowHeight, element->sizeHint().height());
        element->setGeometry(x, kRowTop, width, height);
        x += width;
    }
    BindOptionArray(model, *buttons);
}

void AddPictureOptions(QGroupBox& group, const QString& name, editor::OptionArray& model,
                       PictureSet pictures) {
    QButtonGroup* buttons = MakeButtonGroup(group, name);
    for (int i = 0; i < model.Count(); ++i) {
        auto* element = new QToolButton(&group);
        element->setObjectName(ElementName(name, i));
        element->setCheckable(true);
        // Exclusive as the group makes them, and so presented as option (radio) buttons to a
        // screen reader rather than as check boxes.
        element->setAutoExclusive(true);
        element->setIcon(OptionPicture(pictures, i));
        element->setIconSize(QSize(kPictureWidth - 6, kPictureHeight - 5));
        element->setFocusPolicy(Qt::StrongFocus);
        element->setGeometry(kInnerLeft + (i % kPicturesPerRow) * kPictureColumnStep,
                             kRowTop + (i / kPicturesPerRow) * kPictureRowStep, kPictureWidth,
                             kPictureHeight);
        buttons->addButton(element, i);
    }
    BindOptionArray(model, *buttons);
}

// The bar stands at (360, 240, 975, 255) twips of its group; its value label to its left.
void AddScrollBar(QGroupBox& group, const QString& barName, editor::ScrollBar& bar,
                  const QString& labelName, editor::Label& label) {
    auto* value = new QLabel(&group);
    value->setObjectName(labelName);
    value->setGeometry(kInnerLeft - 2, kRowTop, Px(360) - kInnerLeft + 1, kRowHeight);
    value->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    BindLabel(label, *value);

    auto* scroll = new QScrollBar(Qt::Horizontal, &group);
    scroll->setObjectName(barName);
    scroll->setGeometry(TwipRect(360, 240, 975, 255));
    scroll->setFocusPolicy(Qt::StrongFocus);
    BindScrollBar(bar, *scroll);
}

void SettleBand(const std::vector<QGroupBox*>& groups, int width) {
    constexpr int kGap = 4;
    if (groups.empty()) return;
    // Left to right: a group starts no earlier than the gap after the one before it.
    for (std::size_t i = 1; i < groups.size(); ++i) {
        const int earliest = groups[i - 1]->geometry().right() + 1 + kGap;
        if (groups[i]->x() < earliest) groups[i]->move(earliest, groups[i]->y());
    }
    // Right to left: a group ends no later than the gap before the one after it, or the edge.
    int limit = width - kGap;
    for (auto it = groups.rbegin(); it != groups.rend(); ++it) {
        QGroupBox* group = *it;
        if (group->geometry().right() + 1 > limit) group->move(limit - group->width(), group->y());
        limit = group->x() - kGap;
    }
}

}  // namespace voxtane::qt
