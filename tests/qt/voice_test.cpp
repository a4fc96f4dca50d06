// The Voice window in the real editor: opened from the Synth menu, played from the piano strip
// into a scripted audio output, its envelope graphs edited with the mouse and the keys.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include "editor_window.h"
#include "qt/voice_window.h"
#include "scripted_audio_output.h"
#include "tone/default_tone.h"

namespace voxtane::qttest {
namespace {

using qt::PianoStrip;
using qt::VoiceWindow;

EditorSetup WithAudio(voice::AudioOutput* audio) {
    EditorSetup setup;
    setup.audio = audio;
    return setup;
}

// An editor whose Voice window plays into a scripted output with two devices.
struct VoicedEditor {
    ScriptedAudioOutput audio{{"Test: speakers", "Test: headphones"}};
    EditorWindow editor{WithAudio(&audio)};
};

// Opens the Voice window as a user does: F5 in the main window.
VoiceWindow* OpenVoice(EditorWindow& editor) {
    if (!editor.ShowActive()) return nullptr;
    QTest::keyClick(&editor.window, Qt::Key_F5);
    auto* window = editor.window.findChild<VoiceWindow*>();
    if (window == nullptr || !QTest::qWaitForWindowActive(window)) return nullptr;
    return window;
}

void Key(QWidget* target, QEvent::Type type, Qt::Key key, bool repeat = false) {
    QKeyEvent event(type, key, Qt::NoModifier, QString(), repeat);
    QApplication::sendEvent(target, &event);
}

QList<int> Notes(QSignalSpy& spy) {
    QList<int> notes;
    for (const QList<QVariant>& call : spy) notes << call.at(0).toInt();
    spy.clear();
    return notes;
}

}  // namespace

class VoiceTest : public QObject {
    Q_OBJECT

  private slots:
    // Without an output, and with one that offers no device, the window says so; the keys and
    // Play on this computer then do nothing more. F5 shows the one window, closing hides it.
    void withoutSoundTheWindowSaysSoAndStillWorks() {
        ScriptedAudioOutput silent{{}};
        for (voice::AudioOutput* audio : {static_cast<voice::AudioOutput*>(nullptr),
                                          static_cast<voice::AudioOutput*>(&silent)}) {
            EditorWindow editor(WithAudio(audio));
            QVERIFY(editor.Action("cmdVoice"));
            QCOMPARE(editor.Action("cmdVoice")->shortcut(), QKeySequence(Qt::Key_F5));
            VoiceWindow* window = OpenVoice(editor);
            QVERIFY(window);
            QCOMPARE(window->windowTitle(), QStringLiteral("Voice"));
            auto* status = window->findChild<QLabel*>(QStringLiteral("lblAudioStatus"));
            QTRY_COMPARE(status->text(), QStringLiteral("No audio output here"));
            QVERIFY(!window->findChild<QComboBox*>(QStringLiteral("cboAudioOutput"))->isVisible());
            QVERIFY(!window->Output().PlaySwitch()->isEnabled());
            QSignalSpy pressed(&window->Piano(), &PianoStrip::notePressed);
            Key(&window->Piano(), QEvent::KeyPress, Qt::Key_Z);
            Key(&window->Piano(), QEvent::KeyRelease, Qt::Key_Z);
            QCOMPARE(Notes(pressed), QList<int>{48});

            window->close();
            QVERIFY(!window->isVisible());
            QCOMPARE(OpenVoice(editor), window);
            QCOMPARE(editor.window.findChildren<VoiceWindow*>().size(), qsizetype(1));
        }
    }

    // Mouse and keys press and release the right notes on the voice, which plays the tone
    // being edited; the output is chosen, remembered, and let go while the window is hidden.
    void pianoKeysPlayTheVoice() {
        VoicedEditor voiced;
        VoiceWindow* window = OpenVoice(voiced.editor);
        QVERIFY(window);
        QTRY_VERIFY(window->Output().Voice() != nullptr);
        QCOMPARE(voiced.audio.Starts(), std::vector<std::string>{"Test: speakers"});
        voice::LiveVoice& voice = *window->Output().Voice();
        PianoStrip& piano = window->Piano();
        QSignalSpy pressed(&piano, &PianoStrip::notePressed);
        QSignalSpy released(&piano, &PianoStrip::noteReleased);

        QTest::mousePress(&piano, Qt::LeftButton, {}, piano.KeyRect(60).center().toPoint());
        QVERIFY(voiced.audio.Render() > 0.0f);  // the tone reached the voice: it is not silent
        QCOMPARE(voice.Meter().activeVoices, 1);
        QTest::mouseMove(&piano, piano.KeyRect(61).center().toPoint());
        QTest::mouseRelease(&piano, Qt::LeftButton, {}, piano.KeyRect(61).center().toPoint());
        QCOMPARE(Notes(pressed), (QList<int>{60, 61}));
        QCOMPARE(Notes(released), (QList<int>{60, 61}));

        // Z and Q from the graph that has the focus; a repeat is no new press; "=" moves the
        // keys, and Q still ends the note it began.
        QWidget* graph = &window->Graph(kDCA1);
        graph->setFocus();
        Key(graph, QEvent::KeyPress, Qt::Key_Z);
        Key(graph, QEvent::KeyPress, Qt::Key_Z, true);
        Key(graph, QEvent::KeyPress, Qt::Key_Q);
        voiced.audio.Render();
        QCOMPARE(voice.Meter().activeVoices, 2);
        Key(graph, QEvent::KeyRelease, Qt::Key_Z);
        QTest::keyClick(graph, Qt::Key_Equal);
        Key(graph, QEvent::KeyRelease, Qt::Key_Q);
        Key(graph, QEvent::KeyPress, Qt::Key_Q);
        Key(graph, QEvent::KeyRelease, Qt::Key_Q);
        QCOMPARE(Notes(pressed), (QList<int>{48, 60, 72}));
        QCOMPARE(Notes(released), (QList<int>{48, 60, 72}));
        voiced.audio.Render(2.0);
        QCOMPARE(voice.KeysTaken(), std::uint64_t{10});
        QCOMPARE(voice.Meter().activeVoices, 0);

        // The main window's Play Note sounds here too, for its second.
        voiced.editor.Required<QPushButton>(QStringLiteral("cmdPLayANot"))->click();
        voiced.audio.Render();
        QCOMPARE(voice.Meter().activeVoices, 1);
        QTRY_VERIFY((voiced.audio.Render(), voice.KeysTaken() == 12));

        // Switched off, the output is let go and the keys sound nowhere; on, it opens again.
        QCheckBox* play = window->Output().PlaySwitch();
        play->click();
        QTRY_VERIFY(voiced.audio.Voice() == nullptr);
        QCOMPARE(window->Output().Voice(), nullptr);
        QCOMPARE(window->findChild<QLabel*>(QStringLiteral("lblAudioStatus"))->text(),
                 QStringLiteral("Not playing on this computer"));
        play->click();
        QTRY_COMPARE(voiced.audio.Starts().size(), std::size_t{2});

        auto* devices = window->findChild<QComboBox*>(QStringLiteral("cboAudioOutput"));
        devices->setFocus();
        QTest::keyClick(devices, Qt::Key_Down);
        QTRY_COMPARE(voiced.audio.Starts().size(), std::size_t{3});
        QCOMPARE(voiced.audio.Starts().back(), std::string("Test: headphones"));
        window->close();
        QTRY_VERIFY(voiced.audio.Voice() == nullptr);
        QCOMPARE(OpenVoice(voiced.editor), window);
        QTRY_COMPARE(voiced.audio.Starts().size(), std::size_t{4});
        QCOMPARE(voiced.audio.Starts().back(), std::string("Test: headphones"));
    }

    // The octave, the switch, the output and the window's size come back in the next run's
    // window, which opens nothing while the switch is off.
    void choicesAreKeptBetweenRuns() {
        VoicedEditor voiced;
        VoiceWindow* window = OpenVoice(voiced.editor);
        QVERIFY(window);
        QTRY_VERIFY(window->Output().Voice() != nullptr);
        // The keys stop at C7, where the sounding notes end: three octaves up go two.
        for (const Qt::Key key : {Qt::Key_Equal, Qt::Key_Equal, Qt::Key_Equal, Qt::Key_Minus})
            QTest::keyClick(&window->Piano(), key);
        QTest::keyClick(window->Output().DeviceList(), Qt::Key_Down);
        QTRY_COMPARE(voiced.audio.Starts().size(), std::size_t{2});
        window->Output().PlaySwitch()->click();
        window->resize(900, 640);
        window->close();

        VoiceWindow next(voiced.editor.run, &voiced.audio, nullptr);
        QCOMPARE(next.Piano().LowestNote(), 60);
        QVERIFY(!next.Output().PlaySwitch()->isChecked());
        QCOMPARE(next.size(), QSize(900, 640));
        next.show();
        next.Output().PlaySwitch()->click();
        QTRY_COMPARE(voiced.audio.Starts().size(), std::size_t{3});
        QCOMPARE(voiced.audio.Starts().back(), std::string("Test: headphones"));
    }

    // A dragged point gives the record that typing its numbers into the step's boxes gives, and
    // Undo takes the whole drag back at once; the keys move points through the same boxes.
    void draggingAPointTypesItsStepsNumbers() {
        VoicedEditor voiced;
        EditorWindow& editor = voiced.editor;
        VoiceWindow* window = OpenVoice(editor);
        QVERIFY(window);
        const ToneRecord before = editor.module.ScratchRecord;
        qt::EnvelopeGraph& graph = window->Graph(kDCA1);
        // The default tone rises to 99 at step 1 and falls to 0 at step 2.
        const QPointF top = *graph.StepPosition(1);
        const QPointF bottom = *graph.StepPosition(2);
        const QPoint up(int(bottom.x()),
                        int(std::lround(bottom.y() - (bottom.y() - top.y()) * 40 / 99.0)));
        QTest::mousePress(&graph, Qt::LeftButton, {}, bottom.toPoint());
        QTest::mouseMove(&graph, (bottom.toPoint() + up) / 2);
        QTest::mouseMove(&graph, up);
        // Straight up the point takes the pointer's height and keeps its rate.
        const QPointF raised = *graph.StepPosition(2);
        QVERIFY(std::abs(raised.y() - up.y()) <= 1.5);
        QCOMPARE(editor.form.txtDCA1Rate.Text(1), std::string("50"));
        // Then it follows the pointer's move sideways, within a rate's step of time.
        const QPoint target = up + QPoint(40, 0);
        QTest::mouseMove(&graph, target);
        const QPointF dragged = *graph.StepPosition(2);
        QVERIFY(std::abs(dragged.y() - target.y()) <= 1.5);
        QVERIFY(std::abs(dragged.x() - raised.x() - 40) <= 0.06 * (dragged.x() - top.x()) + 5.5);
        QTest::mouseRelease(&graph, Qt::LeftButton, {}, target);

        const std::string rate = editor.form.txtDCA1Rate.Text(1);
        const std::string level = editor.form.txtDCA1Lvl.Text(1);
        QCOMPARE(level, std::string("40"));
        QVERIFY(rate != "50");
        QCOMPARE(editor.Action("cmdUndo")->text(), QStringLiteral("&Undo DCA 1 Step 2"));
        QCOMPARE(window->Tone(),
                 DecodeTone(editor.module.ScratchRecord, DefaultDecodedTone()).tone);

        EditorWindow typed;
        for (const auto& [box, text] :
             {std::pair{"txtDCA1Rate", rate}, std::pair{"txtDCA1Lvl", level}}) {
            auto* edit = typed.Required<QLineEdit>(Element(box, 1));
            edit->selectAll();
            QTest::keyClicks(edit, QString::fromStdString(text));
        }
        QCOMPARE(editor.module.ScratchRecord, typed.module.ScratchRecord);

        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(editor.module.ScratchRecord, before);
        QVERIFY(!editor.run.history.CanUndo());
        QCOMPARE(*graph.StepPosition(2), bottom);

        // Right chooses step 2, Up three times raises it three levels: one step of the history.
        graph.setFocus();
        QTest::keyClick(&graph, Qt::Key_Home);
        QTest::keyClick(&graph, Qt::Key_Right);
        QCOMPARE(graph.SelectedStep(), 2);
        for (int i = 0; i < 3; ++i) QTest::keyClick(&graph, Qt::Key_Up);
        QTest::keyClick(&graph, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(editor.form.txtDCA1Lvl.Text(1), std::string("3"));
        QCOMPARE(editor.form.txtDCA1Rate.Text(1), std::string("49"));
        editor.run.history.Undo();
        QCOMPARE(editor.module.ScratchRecord, before);

        // While Compare shows the reference nothing can be dragged.
        editor.run.compare.SetComparing(true);
        QVERIFY(!graph.isEnabled());
    }

    // A point dragged straight down, or nearly so, keeps its step's rate: the rate changes only
    // as far as the point moves sideways.
    void aStraightDragKeepsTheRate() {
        VoicedEditor voiced;
        EditorWindow& editor = voiced.editor;
        VoiceWindow* window = OpenVoice(editor);
        QVERIFY(window);
        editor.form.txtDCW1Rate.SetText(2, "5");
        editor.form.txtDCW1Lvl.SetText(2, "60");
        editor.form.optDCW1E.Click(3);
        qt::EnvelopeGraph& graph = window->Graph(kDCW1);
        QTRY_VERIFY(graph.StepPosition(3).has_value());
        const QPointF point = *graph.StepPosition(3);
        for (const int stray : {0, 3}) {
            const QPoint grab = point.toPoint();
            const QPoint down(grab.x() + stray, grab.y() + (graph.height() - grab.y()) / 4);
            QTest::mousePress(&graph, Qt::LeftButton, {}, grab);
            QTest::mouseMove(&graph, (grab + down) / 2);
            QTest::mouseMove(&graph, down);
            QTest::mouseRelease(&graph, Qt::LeftButton, {}, down);
            QVERIFY(std::stoi(editor.form.txtDCW1Lvl.Text(2)) < 60);
            QCOMPARE(editor.form.txtDCW1Rate.Text(2), std::string("5"));
            editor.run.history.Undo();
            QCOMPARE(editor.form.txtDCW1Lvl.Text(2), std::string("60"));
        }
    }

    // With VOXTANE_SCREENSHOT_DIR set, the window with an edited tone and two held keys is saved
    // there for the user guide.
    void screenshot() {
        const QString folder = qEnvironmentVariable("VOXTANE_SCREENSHOT_DIR");
        if (folder.isEmpty()) QSKIP("VOXTANE_SCREENSHOT_DIR is not set");
        VoicedEditor voiced;
        editor::Form1& form = voiced.editor.form;
        form.optDCO1Waveform2.Click(1);
        form.optDCO2Waveform1.Click(5);
        const char* dca[][2] = {{"90", "99"}, {"60", "70"}, {"40", "55"}, {"30", "0"}};
        for (int step = 0; step < 4; ++step) {
            form.txtDCA1Rate.SetText(step, dca[step][0]);
            form.txtDCA1Lvl.SetText(step, dca[step][1]);
        }
        form.optDCA1S.Click(2);
        form.optDCA1E.Click(3);
        const char* dcw[][2] = {{"70", "80"}, {"45", "30"}, {"50", "0"}};
        for (int step = 0; step < 3; ++step) {
            form.txtDCW1Rate.SetText(step, dcw[step][0]);
            form.txtDCW1Lvl.SetText(step, dcw[step][1]);
        }
        form.optDCW1E.Click(2);
        VoiceWindow* window = OpenVoice(voiced.editor);
        QVERIFY(window);
        QTRY_VERIFY(window->Output().Voice() != nullptr);
        Key(window, QEvent::KeyPress, Qt::Key_C);
        Key(window, QEvent::KeyPress, Qt::Key_G);
        voiced.audio.Render(0.2);
        window->Graph(kDCA1).setFocus();
        QTest::qWait(100);
        QVERIFY(window->grab().save(folder + QStringLiteral("/voice-window.png")));
    }
};

}  // namespace voxtane::qttest

VOXTANE_QT_TEST_MAIN(voxtane::qttest::VoiceTest)
#include "voice_test.moc"
