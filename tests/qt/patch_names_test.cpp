// Naming patches in the window as a new owner tries it: renames while comparing, bursts of
// typing, keys after a pick from the drop-down, and names from every way in.
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>

#include "bank/bank_limits.h"
#include "bank/sysex_bank_writer.h"
#include "editor_window.h"

namespace voxtane::qttest {

class PatchNamesTest : public FreshWindowTest {
    Q_OBJECT

    EditorWindow& E() { return *editor_; }
    QComboBox* Patches() { return editor_->Required<QComboBox>("cboPatches"); }
    QLineEdit* NameField() { return Patches()->lineEdit(); }
    QString UndoText() { return editor_->Required<QAction>("cmdUndo")->text(); }
    void Undo() { editor_->Required<QAction>("cmdUndo")->trigger(); }

    void PickFromDropDown(int row) {
        QComboBox* combo = Patches();
        combo->showPopup();
        QAbstractItemView* view = combo->view();
        QVERIFY(QTest::qWaitForWindowExposed(view->window()));
        const QRect item = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
        QTRY_VERIFY(!view->isVisible());
    }
    void TypeInto(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }

  private slots:
    // Compare keeps the focus away from the name field; a rename typed there while comparing
    // ends Compare first, so Undo takes back the rename alone, and the list shows the name the
    // bank holds again.
    void renamingWhileComparingIsAStepOfItsOwn() {
        PickFromDropDown(2);
        auto* rate = E().Required<QLineEdit>(Element("txtDCW1Rate", 5));
        TypeInto(rate, "11");
        QTest::keyClick(rate, Qt::Key_Tab);
        QWidget* next = QApplication::focusWidget();
        QTest::keyClick(next, Qt::Key_K, Qt::ControlModifier);
        QVERIFY(E().run.compare.Comparing());
        QCOMPARE(QApplication::focusWidget(), E().Required<QPushButton>("cmdCompare"));
        // Compare ended again gives the focus back where it was.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_K, Qt::ControlModifier);
        QVERIFY(!E().run.compare.Comparing());
        QCOMPARE(QApplication::focusWidget(), next);
        QTest::keyClick(next, Qt::Key_K, Qt::ControlModifier);
        QVERIFY(E().run.compare.Comparing());

        TypeInto(NameField(), "X");
        QVERIFY(!E().run.compare.Comparing());
        QCOMPARE(E().form.cboPatches.List(2), std::string("X"));
        QCOMPARE(rate->text(), QStringLiteral("11"));
        QCOMPARE(UndoText(), QStringLiteral("&Undo Rename"));

        Undo();
        QCOMPARE(E().form.cboPatches.List(2), std::string("Patch_3"));
        QCOMPARE(NameField()->text(), QStringLiteral("Patch_3"));
        QCOMPARE(Patches()->itemText(2), QStringLiteral("Patch_3"));
        QCOMPARE(rate->text(), QStringLiteral("11"));
        QCOMPARE(UndoText(), QStringLiteral("&Undo DCW 1 Rate 6"));
        Undo();
        QCOMPARE(rate->text(), QStringLiteral("50"));
        QCOMPARE(NameField()->text(), QStringLiteral("Patch_3"));
    }

    // A burst of typing in the name field is one step, as in the envelope boxes.
    void aRenameIsOneStep() {
        TypeInto(NameField(), "Bell");
        QCOMPARE(E().form.cboPatches.List(0), std::string("Bell"));
        QCOMPARE(UndoText(), QStringLiteral("&Undo Rename"));
        Undo();
        QCOMPARE(E().form.cboPatches.List(0), std::string("Patch_1"));
        QCOMPARE(NameField()->text(), QStringLiteral("Patch_1"));
        QVERIFY(!E().run.history.CanUndo());
    }

    // After a pick from the drop-down Ctrl+V pastes the patch, as the Edit menu says, instead of
    // renaming the patch to the clipboard's text.
    void pasteAfterAPickFromTheDropDownPastesThePatch() {
        E().Required<QAction>("cmdCopyPatch")->trigger();
        QGuiApplication::clipboard()->setText(
            QString::fromStdString(E().platform.Clipboard().text));
        PickFromDropDown(3);
        QCOMPARE(E().module.CurrentPatch, 4);
        QVERIFY(QApplication::focusWidget() != NameField());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(E().form.cboPatches.List(3), std::string("Patch_1"));
        QCOMPARE(UndoText(), QStringLiteral("&Undo Paste Patch"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(E().form.cboPatches.List(3), std::string("Patch_4"));

        // Up and Down in the name field go on through the patches and keep the focus there.
        NameField()->setFocus();
        QTest::keyClick(NameField(), Qt::Key_Down);
        QCOMPARE(E().module.CurrentPatch, 5);
        QVERIFY(NameField()->hasFocus());
    }

    // Text with line breaks pasted into the name field, and names longer than the limit from
    // the clipboard, keep to one line and to the limit.
    void namesKeepToOneLineAndTheLimit() {
        QGuiApplication::clipboard()->setText(QStringLiteral("Warm\nPad\r\n2"));
        NameField()->setFocus();
        NameField()->selectAll();
        QTest::keyClick(NameField(), Qt::Key_V, Qt::ControlModifier);
        const std::string pasted = E().form.cboPatches.List(0);
        QVERIFY(pasted.find_first_of("\r\n") == std::string::npos);
        QVERIFY(pasted.starts_with("Warm"));

        E().Required<QAction>("cmdCopyPatch")->trigger();
        editor::ClipboardContent long_ = E().platform.Clipboard();
        const std::string name = std::string(kMaxNameLength, 'a') + "\nmore";
        long_.tone.resize(264);
        long_.tone.insert(long_.tone.end(), name.begin(), name.end());
        E().platform.SetClipboard(long_);
        E().Required<QAction>("cmdPastePatch")->trigger();
        QCOMPARE(E().form.cboPatches.List(0), std::string(kMaxNameLength, 'a'));
        QCOMPARE(NameField()->text().size(), qsizetype(kMaxNameLength));

        // Import names a tone after its file, whose name may hold a line break.
        QTemporaryDir folder;
        const std::string file = folder.filePath("Warm\nPad.syx").toStdString();
        const ToneDump dump = BuildToneDump(E().module.ScratchRecord, kSendProgram);
        std::FILE* out = std::fopen(file.c_str(), "wb");
        QVERIFY(out != nullptr);
        QCOMPARE(std::fwrite(dump.data(), 1, dump.size(), out), dump.size());
        std::fclose(out);
        E().platform.QueueFilesChoice({file});
        E().Required<QAction>("cmdImpot")->trigger();
        QCOMPARE(E().form.cboPatches.List(0), std::string("Warm Pad"));
    }
};

}  // namespace voxtane::qttest

VOXTANE_QT_TEST_MAIN(voxtane::qttest::PatchNamesTest)
#include "patch_names_test.moc"
