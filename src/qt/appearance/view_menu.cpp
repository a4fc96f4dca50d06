#include "qt/appearance/view_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>

namespace voxtane::qt {
namespace {

QString ThemeActionName(const editor::ThemeName& name) {
    QString words = QString::fromLatin1(name.word.data(), qsizetype(name.word.size()));
    QString camel;
    bool upper = true;
    for (const QChar c : words) {
        if (c == QLatin1Char('-')) {
            upper = true;
            continue;
        }
        camel += upper ? c.toUpper() : c;
        upper = false;
    }
    return QStringLiteral("cmdTheme") + camel;
}

QAction* AddEntry(QMenu& menu, const char* name, const char* caption,
                  const QList<QKeySequence>& keys) {
    QAction* action = menu.addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(keys);
    return action;
}

}  // namespace

QMenu* AddViewMenu(QMenuBar& bar, QAction* before, editor::AppearanceChoice& choice) {
    auto* view = new QMenu(QStringLiteral("&View"), &bar);
    view->setObjectName(QStringLiteral("cmdView"));
    bar.insertMenu(before, view);

    // Ctrl+= is where + is without Shift on most keyboards.
    QAction* in =
        AddEntry(*view, "cmdZoomIn", "Zoom &In",
                 {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    QAction* out =
        AddEntry(*view, "cmdZoomOut", "Zoom &Out", {QKeySequence(Qt::CTRL | Qt::Key_Minus)});
    QAction* actual =
        AddEntry(*view, "cmdActualSize", "&Actual Size", {QKeySequence(Qt::CTRL | Qt::Key_0)});
    QObject::connect(in, &QAction::triggered, view, [&choice] { (void)choice.ZoomIn(); });
    QObject::connect(out, &QAction::triggered, view, [&choice] { (void)choice.ZoomOut(); });
    QObject::connect(actual, &QAction::triggered, view, [&choice] { (void)choice.ActualSize(); });

    view->addSeparator();
    QMenu* themes = view->addMenu(QStringLiteral("&Theme"));
    themes->setObjectName(QStringLiteral("cmdThemeMenu"));
    auto* group = new QActionGroup(themes);
    group->setExclusive(true);
    for (const editor::ThemeName& name : editor::kThemeNames) {
        QAction* entry = themes->addAction(
            QString::fromLatin1(name.caption.data(), qsizetype(name.caption.size())));
        entry->setObjectName(ThemeActionName(name));
        entry->setCheckable(true);
        entry->setData(int(name.theme));
        group->addAction(entry);
        QObject::connect(entry, &QAction::triggered, view,
                         [&choice, theme = name.theme] { (void)choice.ChooseTheme(theme); });
    }
    ShowInViewMenu(*view, choice.Current());
    return view;
}

void ShowInViewMenu(QMenu& view, const editor::Appearance& appearance) {
    for (QAction* entry : view.findChildren<QAction*>()) {
        if (entry->isCheckable()) entry->setChecked(entry->data().toInt() == int(appearance.theme));
        if (entry->objectName() == QLatin1String("cmdZoomIn"))
            entry->setEnabled(appearance.zoomPercent < editor::kLargestZoom);
        if (entry->objectName() == QLatin1String("cmdZoomOut"))
            entry->setEnabled(appearance.zoomPercent > editor::kActualSize);
    }
}

}  // namespace voxtane::qt
