#include "qt/about_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "qt/option_pictures.h"
#include "qt/twips.h"

namespace voxtane::qt {
namespace {

QLabel* AddLabel(QDialog& dialog, const char* name, editor::Label& model) {
    auto* label = new QLabel(QString::fromStdString(model.Text()), &dialog);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setTextFormat(Qt::PlainText);
    const QPointer<QLabel> guard(label);
    model.observers.Add([&model, guard] {
        if (guard) guard->setText(QString::fromStdString(model.Text()));
    });
    return label;
}

}  // namespace

// Top to bottom as designed: the program's name beside its icon, the version, the note on the
// help, OK, and the warning. A layout rather than fixed places keeps every text whole in the
// desktop's font, which this window uses.
AboutDialog::AboutDialog(editor::AboutBox& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QString::fromStdString(model.Caption));
    setWindowIcon(ProgramIcon());
    setModal(true);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Picture1"));
    icon->setPixmap(ProgramIcon().pixmap(QSize(48, 48), devicePixelRatio()));
    QLabel* name = AddLabel(*this, "Label1", model.Label1);
    QFont large = name->font();
    large.setPointSizeF(large.pointSizeF() * 1.8);
    large.setBold(true);
    name->setFont(large);
    auto* heading = new QHBoxLayout;
    heading->addStretch();
    heading->addWidget(icon);
    heading->addSpacing(Px(240));
    heading->addWidget(name);
    heading->addStretch();

    QLabel* help = AddLabel(*this, "Label3", model.Label3);
    help->setWordWrap(true);
    auto* ok = new QPushButton(QString::fromStdString(model.cmdOKCaption), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    ok->setMinimumWidth(Px(1095));
    connect(ok, &QPushButton::clicked, this, [this] { model_.cmdOK_Click(); });

    auto* column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetFixedSize);
    column->setContentsMargins(Px(360), Px(240), Px(360), Px(240));
    column->addLayout(heading);
    column->addWidget(AddLabel(*this, "Label4", model.Label4));
    column->addSpacing(Px(120));
    column->addWidget(help);
    column->addSpacing(Px(120));
    column->addWidget(ok, 0, Qt::AlignHCenter);
    column->addWidget(AddLabel(*this, "Label2", model.Label2));
    help->setMinimumWidth(Px(4680) - 2 * Px(360));

    const QPointer<AboutDialog> guard(this);
    model.observers.Add([this, guard] {
        if (guard && !model_.Visible() && isVisible()) done(QDialog::Accepted);
    });
}

void AboutDialog::RunModal() {
    if (model_.Visible()) exec();
}

// Escape or the window's close box leave the box as OK does.
void AboutDialog::reject() {
    model_.cmdOK_Click();
    if (isVisible()) QDialog::reject();
}

}  // namespace voxtane::qt
