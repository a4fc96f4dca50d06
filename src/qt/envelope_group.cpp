#include "qt/envelope_group.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "qt/control_binding.h"
#include "qt/tone_widgets.h"
#include "qt/twips.h"

namespace voxtane::qt {
namespace {

// Design of a group, in twips from its own edges.
constexpr int kGroupTop = 4680;
// 30 twips less than the distance between neighbouring groups, so that their frames stand
// apart.
constexpr int kGroupWidth = 1890;
constexpr int kGroupHeight = 3615;
constexpr int kStepLeft = 120;
constexpr int kRateLeft = 360;
constexpr int kLevelLeft = 840;
constexpr int kSustainLeft = 1320;
constexpr int kEndGroupLeft = 1560;
constexpr int kBoxWidth = 375;
constexpr int kBoxHeight = 285;
constexpr int kOptionSize = 240;
constexpr int kHeadingTop = 360;
constexpr int kFirstRowTop = 600;
constexpr int kRowStep = 360;
// The inner group spans the rows with the "E" heading, inside the outer one's frame.
constexpr int kEndGroupTop = 270;
constexpr int kEndGroupWidth = 300;
constexpr int kEndGroupHeight = kFirstRowTop + kEnvelopeSteps * kRowStep - kEndGroupTop;

int RowTop(int step) {
    return kFirstRowTop + kRowStep * step;
}

QLabel* AddHeading(QWidget& parent, const QString& text, int centreTwips, int topTwips) {
    auto* heading = new QLabel(text, &parent);
    heading->setAlignment(Qt::AlignCenter);
    const int width = Px(480);
    heading->setGeometry(Px(centreTwips) - width / 2, Px(topTwips), width, Px(240));
    return heading;
}

QLineEdit* AddBox(QWidget& parent, const QString& name, int leftTwips, int step) {
    auto* box = new QLineEdit(&parent);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignCenter);
    box->setGeometry(TwipRect(leftTwips, RowTop(step), kBoxWidth, kBoxHeight));
    return box;
}

QRadioButton* AddStepOption(QWidget& parent, const QString& name, int leftTwips, int topTwips) {
    auto* option = new QRadioButton(&parent);
    option->setObjectName(name);
    option->setGeometry(
        TwipRect(leftTwips, topTwips + (kBoxHeight - kOptionSize) / 2, kOptionSize, kOptionSize));
    return option;
}

}  // namespace

void AddEnvelopeGroup(QWidget& parent, const EnvelopeGroupDesign& design,
                      editor::EnvelopeControls& envelope) {
    QGroupBox* group = AddGroup(parent, design.frameName, design.title,
                                QRect(design.leftTwips, kGroupTop, kGroupWidth, kGroupHeight));
    // The end options get a box of their own, so that they are a selection group apart from the
    // sustain options beside them.
    auto* endGroup = new QGroupBox(group);
    endGroup->setObjectName(design.innerName);
    endGroup->setGeometry(TwipRect(kEndGroupLeft, kEndGroupTop, kEndGroupWidth, kEndGroupHeight));

    AddHeading(*group, QStringLiteral("Rate"), kRateLeft + kBoxWidth / 2, kHeadingTop);
    AddHeading(*group, QStringLiteral("Level"), kLevelLeft + kBoxWidth / 2, kHeadingTop);
    AddHeading(*group, QStringLiteral("S"), kSustainLeft + kOptionSize / 2, kHeadingTop);
    AddHeading(*endGroup, QStringLiteral("E"), kEndGroupWidth / 2, kHeadingTop - kEndGroupTop);

    const QString rateName = QStringLiteral("txt%1Rate").arg(design.prefix);
    const QString levelName = QStringLiteral("txt%1Lvl").arg(design.prefix);
    auto* sustain = new QButtonGroup(group);
    sustain->setObjectName(QStringLiteral("opt%1S").arg(design.prefix));
    auto* end = new QButtonGroup(endGroup);
    end->setObjectName(QStringLiteral("opt%1E").arg(design.prefix));

    for (int step = 0; step < kEnvelopeSteps; ++step) {
        auto* number = new QLabel(QString::number(step + 1), group);
        number->setObjectName(ElementName(QStringLiteral("Label1"), design.firstStepLabel + step));
        number->setGeometry(TwipRect(kStepLeft, RowTop(step), kRateLeft - kStepLeft, kBoxHeight));

        BindTextBox(envelope.rate, step,
                    *AddBox(*group, ElementName(rateName, step), kRateLeft, step));
        BindTextBox(envelope.level, step,
                    *AddBox(*group, ElementName(levelName, step), kLevelLeft, step));
        sustain->addButton(AddStepOption(*group, ElementName(sustain->objectName(), step),
                                         kSustainLeft, RowTop(step)),
                           step);
        end->addButton(
            AddStepOption(*endGroup, ElementName(end->objectName(), step),
                          (kEndGroupWidth - kOptionSize) / 2, RowTop(step) - kEndGroupTop),
            step);
    }
    BindOptionArray(envelope.sustain, *sustain);
    BindOptionArray(envelope.end, *end);
}

}  // namespace voxtane::qt
