// Editing a tone in the window as a user does: clicks, scroll bar moves, keystrokes, patch picks
// and renames, checked against the model, the scratch record and a window-less run that makes
// the same edits through the model.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <QStatusBar>

#include "editor_window.h"
#include "model_view.h"

namespace voxtane::qttest {
namespace {

// The same editor without a window, for the record that a window-less edit gives.
struct Reference {
    Reference() : run(platform) { run.Start(); }
    editor::ScriptedPlatform platform;
    editor::EditorRun run;
    editor::Form1& form = run.form1;
};

}  // namespace

class EditingTest : public FreshWindowTest {
    Q_OBJECT

    EditorWindow& E() { return *editor_; }
    template <class T = QWidget>
    T* W(const QString& name) {
        return editor_->Required<T>(name);
    }
    QComboBox* Patches() { return W<QComboBox>("cboPatches"); }
    const ToneRecord& Scratch() { return editor_->module.ScratchRecord; }

    // Picks an entry of the patch list from its drop-down, with the mouse.
    void PickFromDropDown(int row) {
        QComboBox* combo = Patches();
        combo->showPopup();
        QAbstractItemView* view = combo->view();
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
        const QRect item = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
        QTRY_VERIFY(!view->isVisible());
    }

  private slots:
    void startUpShowsTheDefaultToneAndPatchOne() {
        QCOMPARE(E().window.windowTitle(), QStringLiteral("Voxtane"));
        QCOMPARE(FirstWidgetNotShowingModel(E()), QString());
        QVERIFY(W<QAbstractButton>("optLS(2)")->isChecked());
        QCOMPARE(W<QLineEdit>("txtDCW1Rate(0)")->text(), QStringLiteral("99"));
        QCOMPARE(W<QLineEdit>("txtDCO1Rate(0)")->text(), QStringLiteral("50"));
        QVERIFY(W<QAbstractButton>("optDCA2E(7)")->isChecked());

        QComboBox* combo = Patches();
        QCOMPARE(combo->count(), 16);
        for (int i = 0; i < 16; ++i)
            QCOMPARE(combo->itemText(i), QStringLiteral("Patch_%1").arg(i + 1));
        QCOMPARE(combo->currentIndex(), 0);
        QCOMPARE(combo->lineEdit()->text(), QStringLiteral("Patch_1"));
        QCOMPARE(combo->lineEdit()->maxLength(), 1000);
        QCOMPARE(combo->insertPolicy(), QComboBox::NoInsert);
    }

    // A click raises the option's event once, also on the element already selected, and
    // encodes what the same click through the model encodes.
    void optionClicksReachTheModelOnce() {
        auto raised = CountRaises(E().form.optLS.onClick);
        const ToneRecord before = Scratch();
        ClickOption(W<QAbstractButton>("optLS(0)"));
        QCOMPARE(E().form.optLS.Selected(), 0);
        QCOMPARE(*raised, 1);
        QVERIFY(W<QAbstractButton>("optLS(0)")->isChecked());
        QVERIFY(!W<QAbstractButton>("optLS(2)")->isChecked());
        QVERIFY(Scratch() != before);
        Reference reference;
        reference.form.optLS.Click(0);
        QVERIFY(Scratch() == reference.run.module1.ScratchRecord);

        ClickOption(W<QAbstractButton>("optLS(0)"));
        QCOMPARE(*raised, 2);
        QCOMPARE(E().form.optLS.Selected(), 0);
        QVERIFY(W<QAbstractButton>("optLS(0)")->isChecked());

        // Sustain and end options of one envelope are groups apart.
        ClickOption(W<QAbstractButton>("optDCA1S(3)"));
        QCOMPARE(E().form.optDCA1S.Selected(), 3);
        QCOMPARE(E().form.optDCA1E.Selected(), 7);
        QVERIFY(W<QAbstractButton>("optDCA1E(7)")->isChecked());
        ClickOption(W<QAbstractButton>("optDCA1E(5)"));
        QCOMPARE(E().form.optDCA1S.Selected(), 3);
        QCOMPARE(E().form.optDCA1E.Selected(), 5);
        QCOMPARE(FirstWidgetNotShowingModel(E()), QString());
    }

    // The arrow keys choose the neighbouring element, as a click on it does.
    void arrowKeysChooseOptions() {
        auto raised = CountRaises(E().form.optOCT.onClick);
        auto* first = W<QAbstractButton>("optOCT(0)");
        first->setFocus();
        QTest::keyClick(first, Qt::Key_Right);
        QCOMPARE(E().form.optOCT.Selected(), 1);
        QCOMPARE(*raised, 1);
        QVERIFY(W<QAbstractButton>("optOCT(1)")->hasFocus());

        auto* vibrato = W<QAbstractButton>("optWave(0)");
        vibrato->setFocus();
        QTest::keyClick(vibrato, Qt::Key_Right);
        QCOMPARE(E().form.optWave.Selected(), 1);
        Reference reference;
        reference.form.optOCT.Click(1);
        reference.form.optWave.Click(1);
        QVERIFY(Scratch() == reference.run.module1.ScratchRecord);
    }

    void pictureOptionsChooseWaveformsAndVibrato() {
        ClickOption(W<QAbstractButton>("optDCO1Waveform1(5)"));
        ClickOption(W<QAbstractButton>("optDCO2Waveform2(2)"));
        ClickOption(W<QAbstractButton>("optWave(3)"));
        QCOMPARE(E().form.optDCO1Waveform1.Selected(), 5);
        QCOMPARE(E().form.optDCO2Waveform2.Selected(), 2);
        QCOMPARE(E().form.optWave.Selected(), 3);
        QVERIFY(!W<QAbstractButton>("optDCO1Waveform1(0)")->isChecked());
        Reference reference;
        reference.form.optDCO1Waveform1.Click(5);
        reference.form.optDCO2Waveform2.Click(2);
        reference.form.optWave.Click(3);
        QVERIFY(Scratch() == reference.run.module1.ScratchRecord);
    }

    // Track clicks move by the large step, arrows by one; a bar stops at its ends.
    void scrollBarsMoveTheModelWithinTheirRange() {
        auto raised = CountRaises(E().form.hsFine.onChange);
        auto* fine = W<QScrollBar>("hsFine");
        fine->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(E().form.hsFine.Value(), 10);
        QCOMPARE(W<QLabel>("lblFine")->text(), QStringLiteral("10"));
        fine->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(E().form.hsFine.Value(), 11);
        fine->triggerAction(QAbstractSlider::SliderToMaximum);
        fine->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(E().form.hsFine.Value(), 60);
        QCOMPARE(W<QLabel>("lblFine")->text(), QStringLiteral("60"));
        QCOMPARE(*raised, 3);

        W<QScrollBar>("HSNote")->triggerAction(QAbstractSlider::SliderToMaximum);
        QCOMPARE(E().form.HSNote.Value(), 11);
        W<QScrollBar>("hsDCA1Key")->triggerAction(QAbstractSlider::SliderToMaximum);
        QCOMPARE(E().form.hsDCA1Key.Value(), 9);
        QCOMPARE(W<QLabel>("lblDCA1Key")->text(), QStringLiteral("9"));

        // A mouse click on the bar's right arrow.
        auto* delay = W<QScrollBar>("hsDelay");
        QTest::mouseClick(delay, Qt::LeftButton, Qt::NoModifier,
                          QPoint(delay->width() - 4, delay->height() / 2));
        QCOMPARE(E().form.hsDelay.Value(), 1);
        QCOMPARE(W<QLabel>("lblDelay")->text(), QStringLiteral("1"));

        Reference reference;
        for (int value : {10, 11, 60}) reference.form.hsFine.SetValue(value);
        reference.form.HSNote.SetValue(11);
        reference.form.hsDCA1Key.SetValue(9);
        reference.form.hsDelay.SetValue(1);
        QVERIFY(Scratch() == reference.run.module1.ScratchRecord);
    }

    // Every keystroke is a change of the text, as the envelope encoding expects.
    void typingIntoAnEnvelopeBoxEncodesEveryKeystroke() {
        auto raised = CountRaises(E().form.txtDCA1Rate.onChange);
        auto* box = W<QLineEdit>("txtDCA1Rate(2)");
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "80");
        QCOMPARE(E().form.txtDCA1Rate.Text(2), std::string("80"));
        QCOMPARE(*raised, 2);
        Reference reference;
        reference.form.txtDCA1Rate.SetText(2, "8");
        reference.form.txtDCA1Rate.SetText(2, "80");
        QVERIFY(Scratch() == reference.run.module1.ScratchRecord);

        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(E().form.txtDCA1Rate.Text(2), std::string("8"));
        QCOMPARE(*raised, 3);
        QCOMPARE(box->text(), QStringLiteral("8"));
    }

    // What the model sets shows in the widgets, and raises each event only once: the model's.
    void modelChangesShowWithoutRaisingTwice() {
        auto clicks = CountRaises(E().form.optOCT.onClick);
        auto changes = CountRaises(E().form.hsDepth.onChange);
        auto texts = CountRaises(E().form.txtDCW2Lvl.onChange);
        E().form.optOCT.Select(3);
        E().form.hsDepth.SetValue(42);
        E().form.txtDCW2Lvl.SetText(4, "77");
        QCOMPARE(*clicks, 1);
        QCOMPARE(*changes, 1);
        QCOMPARE(*texts, 1);
        QVERIFY(W<QAbstractButton>("optOCT(3)")->isChecked());
        QCOMPARE(W<QScrollBar>("hsDepth")->value(), 42);
        QCOMPARE(W<QLabel>("lblDepth")->text(), QStringLiteral("42"));
        QCOMPARE(W<QLineEdit>("txtDCW2Lvl(4)")->text(), QStringLiteral("77"));
    }

    // The edit of patch 1 goes into its slot when patch 2 is picked, and shows again when
    // patch 1 is picked back.
    void switchingPatchesStoresTheEditBack() {
        auto* box = W<QLineEdit>("txtDCA1Rate(2)");
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "80");
        ClickOption(W<QAbstractButton>("optOCTV(2)"));
        const ToneRecord edited = Scratch();

        PickFromDropDown(1);
        QCOMPARE(E().module.CurrentPatch, 2);
        QCOMPARE(E().form.cboPatches.ListIndex(), 1);
        QVERIFY(E().module.PatchBank[1] == edited);
        QVERIFY(Scratch() == E().module.PatchBank[2]);
        QCOMPARE(box->text(), QStringLiteral("50"));
        QVERIFY(W<QAbstractButton>("optOCTV(0)")->isChecked());
        QCOMPARE(Patches()->currentIndex(), 1);
        QCOMPARE(Patches()->lineEdit()->text(), QStringLiteral("Patch_2"));
        QCOMPARE(FirstWidgetNotShowingModel(E()), QString());

        // Back to patch 1 with the arrow key in the patch list.
        Patches()->lineEdit()->setFocus();
        QTest::keyClick(Patches(), Qt::Key_Up);
        QCOMPARE(E().module.CurrentPatch, 1);
        QCOMPARE(box->text(), QStringLiteral("80"));
        QVERIFY(W<QAbstractButton>("optOCTV(2)")->isChecked());
        QVERIFY(Scratch() == edited);
        QCOMPARE(FirstWidgetNotShowingModel(E()), QString());
    }

    // Typing into the patch list's field renames the current patch at every keystroke; the
    // patch stays selected and its tone unchanged, and the caret goes to the end.
    void typingInThePatchListRenamesTheCurrentPatch() {
        auto changes = CountRaises(E().form.cboPatches.onChange);
        const ToneRecord before = Scratch();
        QLineEdit* field = Patches()->lineEdit();
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, "Bass");
        QCOMPARE(*changes, 4);
        QCOMPARE(E().form.cboPatches.List(0), std::string("Bass"));
        QCOMPARE(Patches()->itemText(0), QStringLiteral("Bass"));
        QCOMPARE(Patches()->count(), 16);
        QCOMPARE(Patches()->currentIndex(), 0);
        QCOMPARE(field->text(), QStringLiteral("Bass"));
        QCOMPARE(field->cursorPosition(), 4);
        QCOMPARE(E().module.CurrentPatch, 1);
        QVERIFY(Scratch() == before);

        QTest::keyClick(field, Qt::Key_Home);
        QTest::keyClicks(field, "X");
        QCOMPARE(E().form.cboPatches.List(0), std::string("XBass"));
        QCOMPARE(field->cursorPosition(), 5);

        // Enter neither adds an entry nor changes the name.
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(Patches()->count(), 16);
        QCOMPARE(Patches()->itemText(0), QStringLiteral("XBass"));

        PickFromDropDown(3);
        QCOMPARE(field->text(), QStringLiteral("Patch_4"));
        QCOMPARE(Patches()->itemText(0), QStringLiteral("XBass"));
        QCOMPARE(E().form.cboPatches.List(3), std::string("Patch_4"));
    }

    // A box that is left shows the number the tone holds; when that is not what was typed, the
    // status bar and the box's description say what was stored instead.
    void aBoxThatIsLeftShowsWhatIsStored() {
        auto* box = W<QLineEdit>("txtDCW1Rate(3)");
        const struct {
            const char* typed;
            const char* shown;
            const char* note;  // "" for none
        } cases[] = {
            {"150", "0", "DCW 1 step 4 rate: 150 is outside 0 to 99; 0 is stored"},
            {"ab", "0", "DCW 1 step 4 rate: \"ab\" is not a number; 0 is stored"},
            {"12 and then some more", "12",
             "DCW 1 step 4 rate: \"12 and then some mor...\" is not a number; 12 is stored"},
            {"", "0", "DCW 1 step 4 rate: the box is empty; 0 is stored"},
            {"7.6", "8", "DCW 1 step 4 rate: 7.6 is not a whole number; 8 is stored"},
            {"40000", "0", "DCW 1 step 4 rate: 40000 is outside 0 to 99; 0 is stored"},
            {"-0", "0", ""},
            {"07", "7", ""},
        };
        for (const auto& entry : cases) {
            E().window.statusBar()->clearMessage();
            box->setFocus();
            box->selectAll();
            if (*entry.typed == 0)
                QTest::keyClick(box, Qt::Key_Delete);
            else
                QTest::keyClicks(box, entry.typed);
            const ToneRecord typed = Scratch();
            QTest::keyClick(box, Qt::Key_Tab);
            QCOMPARE(box->text(), QString::fromLatin1(entry.shown));
            QCOMPARE(E().form.txtDCW1Rate.Text(3), std::string(entry.shown));
            QVERIFY(Scratch() == typed);
            QCOMPARE(E().window.statusBar()->currentMessage(), QString::fromLatin1(entry.note));
            const QString description = box->accessibleDescription();
            QVERIFY(description.startsWith(QStringLiteral("Rate of step 4")));
            QCOMPARE(description.contains(QStringLiteral("is stored")), *entry.note != 0);
            QVERIFY(description.contains(QString::fromLatin1(entry.note)));
        }
        Reference reference;
        reference.form.txtDCW1Rate.SetText(3, "7");
        QVERIFY(Scratch() == reference.run.module1.ScratchRecord);
        QCOMPARE(FirstWidgetNotShowingModel(E()), QString());
    }
};

}  // namespace voxtane::qttest

VOXTANE_QT_TEST_MAIN(voxtane::qttest::EditingTest)
#include "editing_test.moc"
