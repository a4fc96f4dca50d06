// What a screen reader and a keyboard-only user meet: every window's controls named, in the right
// roles, reached by Tab in reading order, announcing changes made from code.
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>
#include <QAccessibleValueInterface>
#include <QComboBox>
#include <QDialog>
#include <QFocusFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTableWidget>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "accessible_tree.h"
#include "editor_window.h"
#include "modal_helper.h"
#include "qt/about_dialog.h"
#include "qt/device_dialog.h"
#include "qt/voice_window.h"

namespace voxtane::qttest {
namespace {

using Check = std::function<void(QWidget&)>;

void ShowAndCheck(QWidget& window, const Check& check) {
    window.show();
    window.activateWindow();
    if (QTest::qWaitForWindowActive(&window)) check(window);
}

void OpenModalAndCheck(QAction* entry, const Check& check) {
    OnNextModal([check](QWidget* window) {
        check(*window);
        qobject_cast<QDialog*>(window)->reject();
    });
    entry->trigger();
}

// Every window of the program, shown as the user meets it; one line per window.
const std::map<QString, std::function<void(EditorWindow&, const Check&)>> kWindows{
    {"main",
     [](EditorWindow& e, const Check& check) {
         if (e.ShowActive()) check(e.window);
     }},
    {"about",
     [](EditorWindow& e, const Check& check) {
         qt::AboutDialog about(e.form.About, &e.window);
         ShowAndCheck(about, check);
     }},
    {"device list",
     [](EditorWindow& e, const Check& check) {
         qt::DeviceDialog devices(&e.window);
         ShowAndCheck(devices, check);
     }},
    {"MIDI setup",
     [](EditorWindow& e, const Check& check) {
         OpenModalAndCheck(e.Required<QAction>("cmdMidiSetup"), check);
     }},
    {"voice",
     [](EditorWindow& e, const Check& check) {
         e.Required<QAction>("cmdVoice")->trigger();
         if (auto* voice = e.window.findChild<qt::VoiceWindow*>())
             if (QTest::qWaitForWindowExposed(voice)) check(*voice);
     }},
    {"keyboard shortcuts",
     [](EditorWindow& e, const Check& check) {
         OpenModalAndCheck(e.Required<QAction>("cmdKeyboardShortcuts"), check);
     }},
};

// The main window's controls as a reader goes through the page: the patch band, the groups band
// by band left to right, each envelope step by step.
QStringList PageOrder() {
    QStringList names{"cboPatches", "cmdSendOutSysex", "cmdPLayANot", "cmdCompare"};
    const std::pair<const char*, int> groups[] = {{"optPDS", 2},
                                                  {"optOCT", 4},
                                                  {"HSNote", 0},
                                                  {"hsFine", 0},
                                                  {"optLS", 4},
                                                  {"optWave", 4},
                                                  {"hsDelay", 0},
                                                  {"hsRate", 0},
                                                  {"hsDepth", 0},
                                                  {"optModulation", 3},
                                                  {"optOCTV", 3},
                                                  {"optDCO1Waveform1", 8},
                                                  {"optDCO1Waveform2", 8},
                                                  {"optDCO2Waveform1", 8},
                                                  {"optDCO2Waveform2", 8},
                                                  {"hsDCW1Key", 0},
                                                  {"hsDCA1Key", 0},
                                                  {"hsDCW2Key", 0},
                                                  {"hsDCA2Key", 0}};
    for (const auto& [name, count] : groups) {
        if (count == 0) names << name;
        for (int i = 0; i < count; ++i) names << Element(name, i);
    }
    for (const char* envelope : {"DCO1", "DCW1", "DCA1", "DCO2", "DCW2", "DCA2"})
        for (int step = 0; step < 8; ++step)
            for (const char* field : {"txt%1Rate", "txt%1Lvl", "opt%1S", "opt%1E"})
                names << Element(qPrintable(QString::fromLatin1(field).arg(envelope)), step);
    return names;
}

// The controls whose accessibility events arrive, by kind.
std::map<QObject*, std::set<QAccessible::Event>> announced;

void Record(QAccessibleEvent* event) {
    announced[event->object()].insert(event->type());
}

// Offscreen no screen reader switches accessibility on, and without it Qt sends no events.
void ListenAsAScreenReader() {
    QAccessible::installUpdateHandler(Record);
    if (QPlatformAccessibility* platform =
            QGuiApplicationPrivate::platformIntegration()->accessibility())
        platform->setActive(true);
}

// What a screen reader reports of a control's value.
QString Reported(QAccessibleInterface* control) {
    if (QAccessibleValueInterface* value = control->valueInterface())
        return value->currentValue().toString();
    return control->text(QAccessible::Value) + (control->state().checked ? "*" : "");
}

}  // namespace

class AccessibilityTest : public FreshWindowTest {
    Q_OBJECT

  private slots:

    void everyWindowNamesItsControlsAndTabsThroughThem() {
        for (const auto& [title, show] : kWindows) {
            QStringList problems;
            int controls = 0;
            show(*editor_, [&](QWidget& window) {
                controls = int(InteractiveControls(window).size());
                problems << NameProblems(window);
                (void)TabTour(window, problems);
            });
            QVERIFY2(controls > 0, qPrintable(title));
            QCOMPARE(problems.join('\n'), QString());
        }
    }

    void mainWindowTabsInReadingOrder() {
        QStringList problems;
        QStringList tour;
        for (QWidget* widget : TabTour(editor_->window, problems)) tour << widget->objectName();
        QCOMPARE(problems.join('\n'), QString());
        QStringList inReadingOrder = PageOrder();
        inReadingOrder.removeIf([&tour](const QString& name) { return !tour.contains(name); });
        QCOMPARE(tour, inReadingOrder);
    }

    void namesRolesAndValues() {
        int pictures = 0;
        for (QAccessibleInterface* control : InteractiveControls(editor_->window)) {
            const QString object = control->object()->objectName();
            if (object.startsWith("opt")) {
                QVERIFY2(control->role() == QAccessible::RadioButton, qPrintable(object));
                pictures += object.contains("Wave") ? 1 : 0;
            }
            if (auto* bar = qobject_cast<QScrollBar*>(control->object())) {
                QAccessibleValueInterface* value = control->valueInterface();
                QVERIFY2(value, qPrintable(object));
                QCOMPARE(value->currentValue().toInt(), bar->value());
                QCOMPARE(value->minimumValue().toInt(), bar->minimum());
                QCOMPARE(value->maximumValue().toInt(), bar->maximum());
            }
        }
        QCOMPARE(pictures, 36);

        // Name, description and tooltip come from the words of the controls, marks included.
        const std::pair<const char*, const char*> spoken[] = {
            {"txtDCA1Rate(2)", "DCA 1 step 3 rate"},
            {"txtDCW2Lvl(7)", "DCW 2 step 8 level"},
            {"optDCO1S(4)", "DCO 1 step 5 sustain"},
            {"optDCA2E(3)", "DCA 2 end step 4"},
            {"optLS(2)", "Line select 1+1'"},
            {"optOCTV(1)", "Octave range +1"},
            {"optDCO1Waveform1(0)", "DCO 1 waveform 1: sawtooth"},
            {"optWave(3)", "Vibrato wave: square"},
            {"optOCT(2)", "Detune octave 2"},
            {"cboPatches", "Patch List"}};
        for (const auto& [object, name] : spoken) {
            QWidget* widget = editor_->Required(object);
            QCOMPARE(widget->accessibleName(), QString::fromLatin1(name));
            QVERIFY2(!widget->accessibleDescription().isEmpty(), object);
            QCOMPARE(widget->toolTip(), widget->accessibleDescription());
        }
        QWidget* rate = editor_->Required("txtDCA1Rate(2)");
        QVERIFY(rate->accessibleDescription().startsWith(
            "Rate of step 3 of the amplitude envelope of line 1: 0 slow to 99 fast."));
        editor_->form.optDCA1S.Select(5);
        QVERIFY(rate->accessibleDescription().contains("Sustain at step 6"));

        // The patch list's value is the current patch's name.
        auto* patches = QAccessible::queryAccessibleInterface(editor_->Required("cboPatches"));
        QCOMPARE(patches->role(), QAccessible::ComboBox);
        editor_->form.cboPatches.SetListIndex(3);
        QCOMPARE(patches->text(QAccessible::Value),
                 QString::fromStdString(editor_->form.cboPatches.List(3)));
    }

    // The patch list is one named control whose value is the patch's name; its text field has a
    // name of its own, and the patch's name is never spoken as the name of anything.
    void patchListSaysItsNameOnceAsItsValue() {
        editor_->form.cboPatches.SetListIndex(2);
        editor_->form.cboPatches.SetText("Glass Bell");
        QAccessibleInterface* list =
            QAccessible::queryAccessibleInterface(editor_->Required("cboPatches"));
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Patch List"));
        QCOMPARE(list->text(QAccessible::Value), QStringLiteral("Glass Bell"));
        QStringList names;
        const std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
            names << node->text(QAccessible::Name);
            if (node->role() == QAccessible::EditableText) {
                QVERIFY2(!node->text(QAccessible::Name).isEmpty(), "the text field is named");
                QCOMPARE(node->text(QAccessible::Value), QStringLiteral("Glass Bell"));
            }
            for (int i = 0; i < node->childCount(); ++i)
                if (node->child(i)->role() != QAccessible::List) walk(node->child(i));
        };
        walk(list);
        QVERIFY2(!names.contains(QStringLiteral("Glass Bell")), qPrintable(names.join(", ")));
    }

    // Every control whose value a decoded patch changes tells the screen reader so.
    void decodeAnnouncesEveryChangedValue() {
        editor::Form1& form = editor_->form;
        form.hsDepth.SetValue(42);
        form.optWave.Select(2);
        form.optDCW2E.Select(3);
        form.txtDCA1Rate.SetText(2, "80");
        form.cboPatches.SetListIndex(1);
        const auto controls = InteractiveControls(editor_->window);
        std::map<QAccessibleInterface*, QString> before;
        for (QAccessibleInterface* control : controls) before[control] = Reported(control);

        ListenAsAScreenReader();
        announced.clear();
        form.cboPatches.SetListIndex(0);
        QAccessible::installUpdateHandler(nullptr);

        QStringList silent;
        int changed = 0;
        for (QAccessibleInterface* control : controls) {
            if (Reported(control) == before[control]) continue;
            ++changed;
            if (announced[control->object()].empty()) silent << control->object()->objectName();
        }
        QVERIFY(changed >= 7);  // the four edits, two options losing the selection, the list
        QCOMPARE(silent.join(' '), QString());
    }

    // Whatever kind of control has the focus wears a visible ring around it.
    void theFocusedControlIsMarked() {
        for (const char* object : {"optDCO1Waveform1(3)", "optDCA2E(3)", "optLS(2)", "hsFine",
                                   "txtDCW1Rate(0)", "cmdSendOutSysex", "cboPatches"}) {
            QWidget* control = editor_->Required(object);
            control->setFocus(Qt::TabFocusReason);
            QCoreApplication::processEvents();
            auto* ring = control->parentWidget()->findChild<QFocusFrame*>();
            QVERIFY2(ring && ring->isVisible(), object);
            QVERIFY2(ring->geometry().contains(control->geometry()) &&
                         ring->geometry() != control->geometry(),
                     object);
            const QImage drawn = ring->grab().toImage();
            QCOMPARE(drawn.pixelColor(drawn.width() / 2, 0).rgb(),
                     ring->palette().color(QPalette::Highlight).rgb());
        }
    }

    void keysMoveLikeATableAndJumpToEnvelopes() {
        struct Move {
            const char* from;
            Qt::Key key;
            const char* to;
        };
        const Move moves[] = {
            {"txtDCA1Rate(2)", Qt::Key_Down, "txtDCA1Rate(3)"},
            {"txtDCA1Rate(2)", Qt::Key_Up, "txtDCA1Rate(1)"},
            {"txtDCW2Lvl(7)", Qt::Key_Up, "txtDCW2Lvl(6)"},
            {"txtDCW2Lvl(7)", Qt::Key_Down, "txtDCW2Lvl(7)"},
            {"optDCO1S(4)", Qt::Key_Down, "optDCO1S(5)"},
            {"optLS(1)", Qt::Key_Right, "optLS(2)"},
            {"optDCO2Waveform1(3)", Qt::Key_Down, "optDCO2Waveform1(7)"},
            {"optWave(1)", Qt::Key_Left, "optWave(0)"},
        };
        for (const Move& move : moves) {
            editor_->Required(move.from)->setFocus(Qt::TabFocusReason);
            QTest::keyClick(editor_->Required(move.from), move.key);
            QCOMPARE(editor_->window.focusWidget()->objectName(), QString::fromLatin1(move.to));
        }
        // An option group chooses the option the arrows land on, as a click would.
        QCOMPARE(editor_->form.optLS.Selected(), 2);

        const char* firstBoxes[] = {"txtDCO1Rate(0)", "txtDCW1Rate(0)", "txtDCA1Rate(0)",
                                    "txtDCO2Rate(0)", "txtDCW2Rate(0)", "txtDCA2Rate(0)"};
        QStringList listed;
        OnNextModal([&listed](QWidget* window) {
            auto* table = window->findChild<QTableWidget*>();
            for (int row = 0; table != nullptr && row < table->rowCount(); ++row)
                listed << table->item(row, 0)->text() + " " + table->item(row, 1)->text();
            qobject_cast<QDialog*>(window)->reject();
        });
        editor_->Required<QAction>("cmdKeyboardShortcuts")->trigger();
        QVERIFY(editor_->ShowActive());
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(&editor_->window, Qt::Key(Qt::Key_1 + i), Qt::ControlModifier);
            QCOMPARE(editor_->window.focusWidget()->objectName(),
                     QString::fromLatin1(firstBoxes[i]));
            const QString title = qobject_cast<QWidget*>(editor_->window.focusWidget()->parent())
                                      ->property("title")
                                      .toString();
            QVERIFY(listed.contains(
                QStringLiteral("Ctrl+%1 Go to the %2 envelope").arg(i + 1).arg(title)));
        }
        QVERIFY(listed.contains("Ctrl+Z Undo"));
    }
};

}  // namespace voxtane::qttest

VOXTANE_QT_TEST_MAIN(voxtane::qttest::AccessibilityTest)
#include "accessibility_test.moc"
