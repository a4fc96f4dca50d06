// The menus, shortcuts and buttons of the window: New, Load, Save All, Exit, closing, the Edit
// entries beside text editing, the user guide, the about box, Send Patch and Play Note.
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <chrono>

#include "bank/sysex_bank_writer.h"
#include "editor_window.h"
#include "model_view.h"

namespace voxtane::qttest {
namespace {

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// One tone dump message of a bank file for patch `number`.
QByteArray Message(const ToneRecord& record, int number) {
    const ToneDump dump = BuildToneDump(record, static_cast<std::uint8_t>(0x20 + number - 1));
    return {reinterpret_cast<const char*>(dump.data()), qsizetype(dump.size())};
}

// The record a message of a bank file carries.
ToneRecord RecordIn(const QByteArray& file, int message) {
    ToneRecord record{};
    for (int entry = 1; entry <= kToneEntries; ++entry) {
        record[entry] = static_cast<std::uint8_t>(file.at(message * 264 + 6 + entry));
    }
    return record;
}

std::string Std(const QString& text) {
    return text.toStdString();
}

EditorSetup InFolder(std::string folder, std::vector<std::string> midiDevices = {},
                     std::optional<int> deviceChoice = {}) {
    EditorSetup setup;
    setup.programFolder = std::move(folder);
    setup.midiDevices = std::move(midiDevices);
    setup.deviceChoice = deviceChoice;
    return setup;
}

}  // namespace

class CommandsTest : public QObject {
    Q_OBJECT

    EditorWindow& E() { return *editor_; }
    template <class T = QWidget>
    T* W(const QString& name) {
        return editor_->Required<T>(name);
    }
    QAction* A(const QString& name) { return editor_->Required<QAction>(name); }
    void Type(const QString& box, const QString& text) {
        auto* edit = W<QLineEdit>(box);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    void Rename(const QString& name) {
        QLineEdit* field = W<QComboBox>("cboPatches")->lineEdit();
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, name);
    }

  private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
        editor_ = std::make_unique<EditorWindow>(InFolder(Std(folder_->path())));
        QVERIFY(editor_->ShowActive());
    }
    void cleanup() {
        editor_.reset();
        folder_.reset();
    }

    // New keeps the selected entry, names the entries Default_n and shows the default tone.
    void newResetsNamesCaptionAndTone() {
        Type("txtDCA1Rate(2)", "80");
        Rename("Bass");
        QTest::keyClick(W<QComboBox>("cboPatches"), Qt::Key_Down);
        QTest::keyClick(W<QComboBox>("cboPatches"), Qt::Key_Down);
        QCOMPARE(E().module.CurrentPatch, 3);
        Type("txtDCW2Rate(1)", "7");

        A("cmdNew")->trigger();
        auto* patches = W<QComboBox>("cboPatches");
        for (int i = 0; i < 16; ++i) {
            QCOMPARE(patches->itemText(i), QStringLiteral("Default_%1").arg(i + 1));
        }
        QCOMPARE(patches->currentIndex(), 2);
        QCOMPARE(patches->lineEdit()->text(), QStringLiteral("Default_3"));
        QCOMPARE(E().window.windowTitle(), QStringLiteral("Voxtane"));
        QCOMPARE(W<QLineEdit>("txtDCW2Rate(1)")->text(), QStringLiteral("50"));
        QCOMPARE(FirstWidgetNotShowingModel(E()), QString());
        QCOMPARE(E().module.PatchCount, 0);
    }

    // A renamed bank that New replaced comes back through File > Recover..., as one step.
    void recoverThroughTheMenu() {
        E().platform.SetDataFolder(Std(folder_->path()) + "/data");
        E().run.recovery.OfferRestore();
        Rename("Kept Lead");
        A("cmdNew")->trigger();
        QCOMPARE(W<QComboBox>("cboPatches")->itemText(0), QStringLiteral("Default_1"));
        E().platform.QueueItemChoice(0);
        A("cmdRecover")->trigger();
        QCOMPARE(E().platform.ItemDialogs().size(), std::size_t(1));
        QVERIFY(QString::fromStdString(E().platform.ItemDialogs()[0].items.at(0))
                    .contains("replaced by New: Kept Lead"));
        QCOMPARE(W<QComboBox>("cboPatches")->itemText(0), QStringLiteral("Kept Lead"));
        QCOMPARE(A("cmdUndo")->text(), QStringLiteral("&Undo Recover"));
        QCOMPARE(FirstWidgetNotShowingModel(E()), QString());
    }

    // Load asks for a file where dialogs start and shows the bank's first patch and names.
    void loadThroughTheMenu() {
        editor::ScriptedPlatform quiet;
        editor::EditorRun source(quiet);
        source.Start();
        source.form1.optLS.Click(0);
        source.form1.txtDCA1Rate.SetText(2, "80");
        const ToneRecord edited = source.module1.ScratchRecord;
        const ToneRecord plain = source.module1.PatchBank[2];
        const QString bank = folder_->filePath("strings.syx");
        QVERIFY(WriteFile(bank, Message(edited, 1) + Message(plain, 2)));
        QVERIFY(WriteFile(folder_->filePath("strings.plf"), "Lead\r\nPad\r\n"));

        E().platform.QueueFileChoice(Std(bank));
        A("cmdLoad")->trigger();
        QCOMPARE(E().platform.Dialogs().size(), std::size_t(1));
        const editor::FileDialogRequest& dialog = E().platform.Dialogs().back();
        QCOMPARE(dialog.kind, editor::FileDialogKind::Open);
        QCOMPARE(dialog.title, std::string("Load SysEx File"));
        QCOMPARE(dialog.initialName, Std(folder_->path()) + "/*.syx");
        QVERIFY(dialog.fileMustExist);

        QCOMPARE(E().window.windowTitle(), QStringLiteral("Voxtane [%1]").arg(bank));
        auto* patches = W<QComboBox>("cboPatches");
        QCOMPARE(patches->itemText(0), QStringLiteral("Lead"));
        QCOMPARE(patches->itemText(1), QStringLiteral("Pad"));
        QCOMPARE(patches->itemText(2), QStringLiteral("Default_3"));
        QCOMPARE(patches->currentIndex(), 0);
        QCOMPARE(patches->lineEdit()->text(), QStringLiteral("Lead"));
        QVERIFY(W<QAbstractButton>("optLS(0)")->isChecked());
        QCOMPARE(W<QLineEdit>("txtDCA1Rate(2)")->text(), QStringLiteral("80"));
        QCOMPARE(FirstWidgetNotShowingModel(E()), QString());
        QCOMPARE(E().module.PatchCount, 2);
    }

    // Save All asks for a name the first time only and writes the edits made in the window.
    void saveAllThroughTheMenu() {
        Type("txtDCA1Rate(2)", "80");
        Rename("Bass");
        const QString bank = folder_->filePath("mine.syx");
        E().platform.QueueFileChoice(Std(bank));
        A("cmdSave")->trigger();
        QCOMPARE(E().platform.Dialogs().size(), std::size_t(1));
        const editor::FileDialogRequest& dialog = E().platform.Dialogs().back();
        QCOMPARE(dialog.kind, editor::FileDialogKind::Save);
        QCOMPARE(dialog.title, std::string("Save All"));
        QCOMPARE(dialog.initialName, Std(folder_->path()) + "/*.syx");
        QCOMPARE(E().window.windowTitle(), QStringLiteral("Voxtane [%1]").arg(bank));

        QByteArray written = ReadFile(bank);
        QCOMPARE(written.size(), 16 * 264);
        QVERIFY(RecordIn(written, 0) == E().module.ScratchRecord);
        QCOMPARE(ReadFile(folder_->filePath("mine.plf")).left(13), QByteArray("Bass\r\nPatch_2"));

        // A later edit and Save All go to the same file without a question.
        Type("txtDCA1Rate(2)", "12");
        A("cmdSave")->trigger();
        QCOMPARE(E().platform.Dialogs().size(), std::size_t(1));
        written = ReadFile(bank);
        QVERIFY(RecordIn(written, 0) == E().module.ScratchRecord);

        // Save Single Patch As writes the current patch alone and leaves the caption.
        const QString single = folder_->filePath("one.syx");
        E().platform.QueueFileChoice(Std(single));
        A("cmdSaveSinglePatch")->trigger();
        QCOMPARE(E().platform.Dialogs().back().title, std::string("Save Single Patch As"));
        QCOMPARE(ReadFile(single).size(), 264);
        QCOMPARE(E().window.windowTitle(), QStringLiteral("Voxtane [%1]").arg(bank));
    }

    // Ctrl+Q asks; No changes nothing, Yes ends the program without saving or asking more.
    void exitAnsweredNoThenYes() {
        Type("txtDCA1Rate(2)", "80");
        const ToneRecord before = E().module.ScratchRecord;
        const auto bank = E().module.PatchBank;
        E().platform.QueueAnswer(editor::MessageAnswer::No);
        QTest::keyClick(&E().window, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(E().platform.Messages().size(), std::size_t(1));
        const editor::MessageBoxRequest& box = E().platform.Messages().back();
        QCOMPARE(box.text, std::string("Do you want to EXIT?"));
        QCOMPARE(box.title, std::string("Exit Program"));
        QCOMPARE(box.buttons, editor::MessageButtons::YesNo);
        QCOMPARE(box.icon, editor::MessageIcon::Critical);
        QCOMPARE(box.defaultButton, editor::DefaultButton::Second);
        QVERIFY(!E().platform.Ended());
        QVERIFY(E().window.isVisible());
        QVERIFY(E().module.ScratchRecord == before);
        QVERIFY(E().module.PatchBank == bank);

        E().platform.QueueAnswer(editor::MessageAnswer::Yes);
        QTest::keyClick(W<QLineEdit>("txtDCA1Rate(2)"), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(E().platform.Messages().size(), std::size_t(2));
        QVERIFY(E().platform.Ended());
        QCOMPARE(QDir(folder_->path()).entryList(QDir::Files), QStringList());
    }

    void closingTheWindowEndsWithoutAsking() {
        Type("txtDCA1Rate(2)", "80");
        QVERIFY(E().window.close());
        QVERIFY(E().platform.Ended());
        QVERIFY(E().platform.Messages().empty());
        QVERIFY(E().platform.Dialogs().empty());
    }

    // In the window Ctrl+C and Ctrl+V reach the empty Edit entries; in a text box they copy and
    // paste its text.
    void copyAndPasteKeys() {
        QSignalSpy copies(A("cmdCopyPatch"), &QAction::triggered);
        QSignalSpy pastes(A("cmdPastePatch"), &QAction::triggered);
        const ToneRecord before = E().module.ScratchRecord;
        const auto bank = E().module.PatchBank;
        auto* option = W<QAbstractButton>("optLS(2)");
        option->setFocus();
        QTest::keyClick(option, Qt::Key_C, Qt::ControlModifier);
        QTest::keyClick(option, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(copies.count(), 1);
        QCOMPARE(pastes.count(), 1);
        QVERIFY(E().module.ScratchRecord == before);
        QVERIFY(E().module.PatchBank == bank);
        QCOMPARE(E().form.cboPatches.List(0), std::string("Patch_1"));

        QGuiApplication::clipboard()->clear();
        auto* from = W<QLineEdit>("txtDCW1Rate(0)");
        from->setFocus();
        from->selectAll();
        QTest::keyClick(from, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("99"));
        auto* to = W<QLineEdit>("txtDCW1Rate(3)");
        to->setFocus();
        to->selectAll();
        QTest::keyClick(to, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(to->text(), QStringLiteral("99"));
        QCOMPARE(E().form.txtDCW1Rate.Text(3), std::string("99"));
        QVERIFY(E().module.ScratchRecord != before);
        QCOMPARE(copies.count(), 1);
        QCOMPARE(pastes.count(), 1);
    }

    // The guide is found beside the program, in the build tree as after installation.
    void usingVoxtaneOpensTheGuideBesideTheProgram() {
        editor_ = std::make_unique<EditorWindow>(InFolder(VOXTANE_PROGRAM_DIR));
        A("cmdUsingVoxtane")->trigger();
        const std::string guide = std::string(VOXTANE_PROGRAM_DIR) + "/voxtane.txt";
        QCOMPARE(E().platform.Documents(), std::vector<std::string>{guide});
        QVERIFY(E().platform.Messages().empty());
        QVERIFY(ReadFile(QString::fromStdString(guide)).contains("Send Patch"));
    }

    void aboutThroughTheMenu() {
        A("cmdAbout")->trigger();
        A("cmdAbout")->trigger();
        QCOMPARE(E().platform.AboutBoxShown(), 2);
        QVERIFY(!E().form.About.Visible());
    }

    // The buttons send the edited patch and the test note to the device chosen at start-up.
    void sendPatchAndPlayNote() {
        editor_ = std::make_unique<EditorWindow>(
            InFolder(Std(folder_->path()), {"Synth A", "Synth B"}, 2));
        QVERIFY(editor_->ShowActive());
        const auto& shown = E().deviceWindow.Showings();
        QCOMPARE(shown.size(), std::size_t(1));
        QCOMPARE(shown[0].entries,
                 (std::vector<std::string>{"Device not enabled", "Synth A", "Synth B"}));
        QCOMPARE(E().run.midi.vbsyxgbl.MidiDeviceChoice.Text(), std::string(" 2"));

        Type("txtDCA1Rate(2)", "80");
        QTest::mouseClick(W<QPushButton>("cmdSendOutSysex"), Qt::LeftButton);
        const ToneDump dump = BuildToneDump(E().module.ScratchRecord, kSendProgram);
        using Bytes = std::vector<std::uint8_t>;
        QCOMPARE(E().midiBackend.Sent(), std::vector<Bytes>{Bytes(dump.begin(), dump.end())});
        const auto& events = E().midiBackend.Events();
        QVERIFY(!events.empty());
        QCOMPARE(events.front().kind, midi::RecordedEvent::Kind::Open);
        QCOMPARE(events.front().device, 1);
        QCOMPARE(events.back().kind, midi::RecordedEvent::Kind::Close);

        QTest::mouseClick(W<QPushButton>("cmdPLayANot"), Qt::LeftButton);
        QCOMPARE(E().midiBackend.Sent().size(), std::size_t(2));  // the note-off comes later
        E().clock.SleepFor(std::chrono::seconds(1));
        E().run.manualTicker.Tick();
        const auto sent = E().midiBackend.Sent();
        QCOMPARE(sent.size(), std::size_t(3));
        QCOMPARE(sent[1], (Bytes{0x90, 0x3C, 0x7F}));
        QCOMPARE(sent[2], (Bytes{0x80, 0x3C, 0x7F}));
        QVERIFY(E().platform.Messages().empty());
    }

  private:
    // A fresh program folder for every test.
    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<EditorWindow> editor_;
};

}  // namespace voxtane::qttest

VOXTANE_QT_TEST_MAIN(voxtane::qttest::CommandsTest)
#include "commands_test.moc"
