// The Synth menu, its progress dialog and the MIDI Setup dialog in the real window, with a
// responder standing in for the synth on the recording backend.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>

#include "editor_window.h"
#include "modal_helper.h"
#include "synth_responder.h"

namespace voxtane::qttest {
namespace {

constexpr const char* kInput = "JACK: synth:out";

ToneRecord Tone(int seed) {
    ToneRecord tone{};
    for (int entry = 1; entry <= kToneEntries; ++entry)
        tone[entry] = static_cast<std::int16_t>((entry * 7 + seed) % 16);
    return tone;
}

// A window whose output reaches a synth that answers on its MIDI OUT, the input.
struct SynthWindow : EditorWindow {
    SynthWindow() : EditorWindow({"/opt/voxtane", {"JACK: synth:in"}, 1}) {
        midiBackend.SetInputs({kInput}, [this](std::span<const std::uint8_t> sent) {
            std::vector<std::uint8_t> answer;
            for (std::uint8_t byte : sent) synth.Feed(byte, answer);
            return answer.empty() ? std::vector<std::vector<std::uint8_t>>{}
                                  : std::vector<std::vector<std::uint8_t>>{answer};
        });
        for (int n = 1; n <= 16; ++n) synth.Store(midi::SynthMemory::Internal(n), Tone(n));
    }
    void Settle() {
        for (int i = 0; i < 5000 && run.manualTicker.Running(); ++i) {
            clock.SleepFor(std::chrono::milliseconds(5));
            run.manualTicker.Tick();
        }
    }
    testing::SynthResponder synth;
};

}  // namespace

class SynthMenuTest : public QObject {
    Q_OBJECT

  private slots:
    void entriesStartTheLinksOperations() {
        SynthWindow editor;
        const QStringList names{"cmdGetPatch",  "cmdGetBank",          "cmdWritePatch",
                                "cmdWriteBank", "cmdSendWhileEditing", "cmdAllNotesOff",
                                "cmdMidiSetup"};
        for (const QString& name : names) QVERIFY2(editor.Action(name), qPrintable(name));

        // Without an input nothing can be fetched: the owner is told where to choose one.
        editor.Required<QAction>("cmdGetPatch")->trigger();
        QCOMPARE(editor.platform.Messages().size(), std::size_t{1});
        QVERIFY(editor.platform.Messages()[0].text.find("MIDI Setup") != std::string::npos);

        editor.run.synthLink.ApplySettings({kInput, 1, false});
        editor.platform.QueueItemChoice(1 + 16 + 4);  // internal memory 5
        editor.Required<QAction>("cmdGetPatch")->trigger();
        editor.Settle();
        QCOMPARE(editor.module.ScratchRecord, Tone(5));
        QVERIFY(editor.window.statusBar()->currentMessage().contains(
            QStringLiteral("internal memory 5")));

        editor.Required<QAction>("cmdAllNotesOff")->trigger();
        QCOMPARE(editor.midiBackend.Sent().back(), (std::vector<std::uint8_t>{0xB0, 0x7B, 0x00}));

        QAction* sendWhileEditing = editor.Required<QAction>("cmdSendWhileEditing");
        sendWhileEditing->trigger();
        QVERIFY(editor.run.synthLink.Settings().sendWhileEditing);
        QVERIFY(sendWhileEditing->isChecked());
    }

    void getBankShowsItsProgressAndCancelLeavesTheBank() {
        SynthWindow editor;
        editor.run.synthLink.ApplySettings({kInput, 1, false});
        const auto before = editor.module.PatchBank;
        editor.platform.QueueAnswer(editor::MessageAnswer::Yes);
        editor.Required<QAction>("cmdGetBank")->trigger();
        auto* progress = editor.Required<QProgressDialog>(QStringLiteral("SynthProgress"));
        QVERIFY(progress->isVisible());
        QCOMPARE(progress->maximum(), 16);
        QVERIFY(!editor.Required<QAction>("cmdGetPatch")->isEnabled());
        editor.run.manualTicker.Tick();
        QVERIFY(progress->value() >= 1);
        QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
        QVERIFY(!editor.run.synthLink.Busy());
        QVERIFY(!progress->isVisible());
        QVERIFY(editor.module.PatchBank == before);

        editor.platform.QueueAnswer(editor::MessageAnswer::Yes);
        editor.Required<QAction>("cmdGetBank")->trigger();
        editor.Settle();
        QCOMPARE(editor.module.PatchBank[16], Tone(16));
        QCOMPARE(editor.form.cboPatches.List(0), std::string("Internal 1"));
        QVERIFY(editor.Required<QAction>("cmdGetPatch")->isEnabled());
    }

    // With VOXTANE_SCREENSHOT_DIR set, the menu as it opens and the MIDI Setup dialog are saved
    // there for the user guide.
    void screenshots() {
        const QString folder = qEnvironmentVariable("VOXTANE_SCREENSHOT_DIR");
        if (folder.isEmpty()) QSKIP("VOXTANE_SCREENSHOT_DIR is not set");
        SynthWindow editor;
        editor.run.synthLink.ApplySettings({kInput, 1, true});
        QVERIFY(editor.ShowActive());
        auto* menu = editor.Required<QMenu>(QStringLiteral("cmdSynth"));
        menu->popup(editor.window.mapToGlobal(QPoint(80, 20)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QVERIFY(menu->grab().save(folder + QStringLiteral("/synth-menu.png")));
        menu->hide();
        editor.form.txtDCA1Rate.SetText(2, "80");
        auto* edit = editor.Required<QMenu>(QStringLiteral("cmdEdit"));
        edit->popup(editor.window.mapToGlobal(QPoint(40, 20)));
        QVERIFY(QTest::qWaitForWindowExposed(edit));
        QVERIFY(edit->grab().save(folder + QStringLiteral("/edit-menu.png")));
        edit->hide();
        OnNextModal([&folder](QWidget* dialog) {
            QTest::qWait(50);
            QVERIFY(dialog->grab().save(folder + QStringLiteral("/midi-setup.png")));
            qobject_cast<QDialog*>(dialog)->reject();
        });
        editor.Required<QAction>("cmdMidiSetup")->trigger();
    }

    void midiSetupChoosesTheDevicesChannelAndSwitch() {
        SynthWindow editor;
        bool shown = false;
        OnNextModal([&shown](QWidget* window) {
            auto* dialog = qobject_cast<QDialog*>(window);
            QVERIFY(dialog && dialog->windowTitle() == QStringLiteral("MIDI Setup"));
            auto* input = dialog->findChild<QComboBox*>(QStringLiteral("cboInput"));
            QCOMPARE(input->itemText(0), QStringLiteral("None"));
            input->setCurrentIndex(input->findText(QString::fromLatin1(kInput)));
            dialog->findChild<QComboBox*>(QStringLiteral("cboOutput"))->setCurrentIndex(0);
            dialog->findChild<QSpinBox*>(QStringLiteral("spnChannel"))->setValue(7);
            dialog->findChild<QCheckBox*>(QStringLiteral("chkSendWhileEditing"))->setChecked(true);
            shown = true;
            dialog->accept();
        });
        editor.Required<QAction>("cmdMidiSetup")->trigger();
        QVERIFY(shown);
        const editor::LinkSettings expected{kInput, 7, true};
        QVERIFY(editor.run.synthLink.Settings() == expected);
        QCOMPARE(editor.run.midi.vbsyxgbl.MidiDeviceChoice.Text(), std::string(" 0"));
        QCOMPARE(editor.run.settings.Read("link/channel").value_or(""), std::string("7"));

        editor.form.cmdPLayANot_Click();
        QCOMPARE(editor.midiBackend.Sent().back()[0], std::uint8_t{0x96});
    }
};

}  // namespace voxtane::qttest

VOXTANE_QT_TEST_MAIN(voxtane::qttest::SynthMenuTest)
#include "synth_menu_test.moc"
