// Every window and dialog, at the device pixel ratio this run was started with (QT_SCALE_FACTOR)
// and with the desktop's text at 100% and 150%: no caption, label or button text is cut by its
// control's rectangle. Each window's result is printed as a row of the table "window, ratio,
// text size: pass/fail".
#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QToolButton>
#include <functional>

#include "editor/appearance/appearance.h"
#include "editor_window.h"
#include "modal_helper.h"
#include "qt/about_dialog.h"
#include "qt/device_dialog.h"

namespace voxtane::qttest {
namespace {

QString Plain(QString text) {
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return text;
}

// The room a control's text has, and the text, or nothing for a control without one.
struct TextRoom {
    QString text;
    QRect room;
    bool wraps = false;
};

std::optional<TextRoom> RoomOfButton(QAbstractButton& button) {
    if (button.text().isEmpty()) return std::nullopt;
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    option.icon = button.icon();
    option.iconSize = button.iconSize();
    QStyle* style = button.style();
    QRect room;
    if (qobject_cast<QRadioButton*>(&button))
        room = style->subElementRect(QStyle::SE_RadioButtonContents, &option, &button);
    else if (qobject_cast<QCheckBox*>(&button))
        room = style->subElementRect(QStyle::SE_CheckBoxContents, &option, &button);
    else if (qobject_cast<QPushButton*>(&button))
        room = style->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    else
        room = button.contentsRect().adjusted(2, 2, -2, -2);
    if (!button.icon().isNull() && qobject_cast<QPushButton*>(&button))
        room.setLeft(room.left() + button.iconSize().width() + 4);
    return TextRoom{button.text(), room};
}

std::optional<TextRoom> RoomOf(QWidget& widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(&widget)) return RoomOfButton(*button);
    if (auto* label = qobject_cast<QLabel*>(&widget)) {
        if (label->text().isEmpty() || label->textFormat() == Qt::RichText ||
            Qt::mightBeRichText(label->text()))
            return std::nullopt;
        const int margin = label->margin() + std::max(0, label->indent());
        return TextRoom{label->text(),
                        label->contentsRect().adjusted(margin, margin, -margin, -margin),
                        label->wordWrap()};
    }
    if (auto* group = qobject_cast<QGroupBox*>(&widget)) {
        if (group->title().isEmpty()) return std::nullopt;
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.subControls = QStyle::SC_GroupBoxLabel;
        const QRect label = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                           QStyle::SC_GroupBoxLabel, group);
        // The title's place may run past the frame's right edge only where the frame ends.
        return TextRoom{group->title(), label.intersected(group->rect())};
    }
    return std::nullopt;
}

// The controls of `window` whose text does not fit, with what they need and have.
QStringList CutTexts(QWidget& window) {
    QStringList cut;
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        if (!widget->isVisibleTo(&window) || widget->window() != &window) continue;
        const std::optional<TextRoom> room = RoomOf(*widget);
        if (!room) continue;
        const QFontMetrics metrics(widget->font());
        const QString text = Plain(room->text);
        QSize needed;
        if (room->wraps)
            needed = QSize(0, metrics
                                  .boundingRect(QRect(0, 0, room->room.width(), 100000),
                                                Qt::TextWordWrap, text)
                                  .height());
        else  // lines of the font's height, as the styles place them
            needed = QSize(metrics.size(0, text).width(),
                           metrics.height() * int(text.count(QLatin1Char('\n')) + 1));
        if (needed.width() <= room->room.width() && needed.height() <= room->room.height())
            continue;
        cut << QStringLiteral("%1 \"%2\": needs %3x%4, has %5x%6")
                   .arg(widget->objectName(), text)
                   .arg(needed.width())
                   .arg(needed.height())
                   .arg(room->room.width())
                   .arg(room->room.height());
    }
    return cut;
}

QString Ratio() {
    const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
    return factor.isEmpty() ? QStringLiteral("1") : QString::fromLatin1(factor);
}

class TextFitTest : public QObject {
    Q_OBJECT

  private:
    // Opens each window in turn and hands it, shown, to `check`: the main window at each zoom
    // step, then the others at actual size, or with `zoomed` at the largest zoom.
    void EachWindow(bool zoomed, const std::function<void(const QString&, QWidget&)>& check) {
        EditorWindow editor;
        QVERIFY(editor.ShowActive());
        const auto noCheck = [](const QString&, QWidget&) {};
        const auto& checkMain = zoomed ? noCheck : check;
        checkMain(QStringLiteral("Main"), editor.window);
        for (const int percent : editor::kZoomSteps) {
            if (percent == editor::kActualSize) continue;
            editor.Action(QStringLiteral("cmdZoomIn"))->trigger();
            checkMain(QStringLiteral("Main at %1%").arg(percent), editor.window);
        }
        if (!zoomed) editor.Action(QStringLiteral("cmdActualSize"))->trigger();

        editor.window.ShowVoiceWindow();
        OpenedWindow(QStringLiteral("Voice"), editor, check);
        editor.Action(QStringLiteral("cmdExplore"))->trigger();
        OpenedWindow(QStringLiteral("Explore"), editor, check);
        editor.Action(QStringLiteral("cmdLibrary"))->trigger();
        OpenedWindow(QStringLiteral("Library"), editor, check);

        for (const auto& [name, action] : {std::pair{"Keyboard Shortcuts", "cmdKeyboardShortcuts"},
                                           std::pair{"MIDI Setup", "cmdMidiSetup"}}) {
            const QString title = QString::fromLatin1(name);
            OnNextModal([&check, title](QWidget* dialog) {
                check(title, *dialog);
                dialog->close();
            });
            editor.Action(QString::fromLatin1(action))->trigger();
        }

        qt::AboutDialog about(editor.form.About, &editor.window);
        ShowAndCheck(QStringLiteral("About"), about, check);
        qt::DeviceDialog devices(&editor.window);
        ShowAndCheck(QStringLiteral("Output Device"), devices, check);
    }

    void OpenedWindow(const QString& name, EditorWindow& editor,
                      const std::function<void(const QString&, QWidget&)>& check) {
        QWidget* opened = QApplication::activeWindow();
        QVERIFY2(QTest::qWaitFor([&] {
                     opened = QApplication::activeWindow();
                     return opened != nullptr && opened != &editor.window;
                 }),
                 qPrintable(name));
        check(name, *opened);
        opened->close();
    }

    static void ShowAndCheck(const QString& name, QWidget& window,
                             const std::function<void(const QString&, QWidget&)>& check) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        check(name, window);
        window.hide();
    }

    void CheckAll(int fontPercent, bool zoomed = false) {
        const QFont desktop = QApplication::font();
        QFont text = desktop;
        text.setPointSizeF(desktop.pointSizeF() * fontPercent / 100.0);
        QApplication::setFont(text);
        QStringList failures;
        EachWindow(zoomed, [&](const QString& name, QWidget& window) {
            QCoreApplication::processEvents();
            const QStringList cut = CutTexts(window);
            qInfo("FIT | %-20s | ratio %-4s | text %3d%% | zoom %3d%% | %s", qPrintable(name),
                  qPrintable(Ratio()), fontPercent, zoomed ? editor::kLargestZoom : 100,
                  cut.isEmpty() ? "pass" : "FAIL");
            for (const QString& one : cut) failures << name + QStringLiteral(": ") + one;
        });
        QApplication::setFont(desktop);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
    }

  private slots:
    void desktopTextSize() { CheckAll(100); }
    void desktopTextAt150Percent() { CheckAll(150); }
    void everyWindowAtTheLargestZoom() { CheckAll(100, true); }
};

}  // namespace
}  // namespace voxtane::qttest

VOXTANE_QT_TEST_MAIN(voxtane::qttest::TextFitTest)
#include "text_fit_test.moc"
