// The Explore window in the real editor: opened from the Tools menu, a generation grown from
// picks made with the keys, a candidate kept as one step that Undo takes back.
#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTemporaryDir>

#include "editor_window.h"
#include "library/library.h"
#include "midi/synth_messages.h"
#include "qt/candidate_cell.h"
#include "qt/explore_window.h"
#include "qt/voice_window.h"
#include "scripted_audio_output.h"

namespace voxtane::qttest {

class ExploreTest : public FreshWindowTest {
    Q_OBJECT

  private slots:
    void aGenerationIsGrownFromPicksAndAKeptCandidateIsUndone() {
        EditorWindow& editor = *editor_;
        QCOMPARE(editor.Action("cmdExplore")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
        const ToneRecord before = editor.run.tones.CurrentTone();
        const editor::BankTones bank = editor.run.tones.Tones();
        QTest::keyClick(&editor.window, Qt::Key_E, Qt::ControlModifier);
        auto* window = editor.window.findChild<qt::ExploreWindow*>();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
        window->StartOver(42);
        QCOMPARE(window->Session().Candidates().size(), std::size_t{16});

        // Picks with the keys: Right and Enter, Down and Enter; then Next Generation.
        qt::CandidateCell& first = window->Cell(0);
        first.setFocus();
        QTest::keyClick(&first, Qt::Key_Right);
        QTRY_VERIFY(window->Cell(1).hasFocus());
        QTest::keyClick(&window->Cell(1), Qt::Key_Return);
        QTest::keyClick(&window->Cell(1), Qt::Key_Down);
        QTRY_VERIFY(window->Cell(5).hasFocus());
        QTest::keyClick(&window->Cell(5), Qt::Key_Return);
        QVERIFY(window->Cell(1).Picked() && window->Cell(5).Picked());
        QCOMPARE(window->Cell(5).accessibleName(), QStringLiteral("Candidate 6, picked"));
        window->findChild<QPushButton*>(QStringLiteral("btnNext"))->click();
        QCOMPARE(window->findChild<QLabel*>(QStringLiteral("lblGeneration"))->text(),
                 QStringLiteral("Generation 2 of 2"));
        QVERIFY(!window->Cell(1).Picked());
        QCOMPARE(editor.run.tones.Tones(), bank);  // nothing kept yet: the bank is as it was

        // Space auditions the candidate it is on, which Keep then keeps; Undo takes it back.
        QTest::keyClick(&window->Cell(5), Qt::Key_Right);
        QTest::keyClick(&window->Cell(6), Qt::Key_Space);
        QCOMPARE(window->Chosen(), 6);
        const ToneRecord chosen = window->Session().Candidates()[6].tone;
        QVERIFY(chosen != before);
        window->findChild<QPushButton*>(QStringLiteral("btnKeep"))->click();
        QCOMPARE(editor.run.tones.CurrentTone(), chosen);
        editor.Action("cmdUndo")->trigger();
        QCOMPARE(editor.run.tones.CurrentTone(), before);

        // Keep in Patch 9 changes patch 9 only, also one step.
        window->findChild<QSpinBox*>(QStringLiteral("spnKeepPatch"))->setValue(9);
        window->findChild<QPushButton*>(QStringLiteral("btnKeepIn"))->click();
        QCOMPARE(editor.run.tones.Tones()[8], chosen);
        editor.Action("cmdUndo")->trigger();
        QCOMPARE(editor.run.tones.Tones(), bank);

        // Children of listed patches; a list without a patch of the bank starts nothing.
        QVERIFY(!window->StartFromPatches(QStringLiteral("1,17"), 5));
        QVERIFY(window->StartFromPatches(QStringLiteral("1, 2"), 5));
        QCOMPARE(window->Session().Count(), 1);

        // Back and Forward walk the generations; the settings are kept.
        window->findChild<QPushButton*>(QStringLiteral("btnBack"))->click();
        QCOMPARE(window->Session().Shown(), 1);
        window->findChild<QAbstractSlider*>(QStringLiteral("sldAmount"))->setValue(55);
        window->findChild<QAbstractButton*>(QStringLiteral("chkLock_dca1"))->click();
        QCOMPARE(editor.run.settings.Read("explore/amount"), std::optional<std::string>("55"));
        QCOMPARE(editor.run.settings.Read("explore/locks"), std::optional<std::string>("dca1"));

        // Every control is named for a screen reader.
        for (QWidget* control : window->findChildren<QWidget*>()) {
            if (qobject_cast<QAbstractButton*>(control) ||
                qobject_cast<QAbstractSlider*>(control) || qobject_cast<QComboBox*>(control) ||
                qobject_cast<QSpinBox*>(control) || qobject_cast<qt::CandidateCell*>(control)) {
                const auto* button = qobject_cast<QAbstractButton*>(control);
                QVERIFY2(!control->accessibleName().isEmpty() ||
                             (button != nullptr && !button->text().isEmpty()),
                         qPrintable(control->objectName()));
            }
        }
    }

    // A candidate is heard on the Voice window's voice, one note of a second. Without the Voice
    // window the status says how to hear it.
    void candidatesAreHeardOnTheVoiceWindowsOutput() {
        ScriptedAudioOutput audio{{"Test: speakers"}};
        EditorSetup setup;
        setup.audio = &audio;
        EditorWindow editor(setup);
        QVERIFY(editor.ShowActive());
        QTest::keyClick(&editor.window, Qt::Key_E, Qt::ControlModifier);
        auto* window = editor.window.findChild<qt::ExploreWindow*>();
        QVERIFY(window && QTest::qWaitForWindowActive(window));
        QTest::keyClick(&window->Cell(0), Qt::Key_Space);
        QVERIFY(window->findChild<QLabel*>(QStringLiteral("lblExploreStatus"))
                    ->text()
                    .startsWith(QStringLiteral("Open Synth > Voice")));

        editor.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&editor.window));
        QTest::keyClick(&editor.window, Qt::Key_F5);
        auto* voiceWindow = editor.window.findChild<qt::VoiceWindow*>();
        QVERIFY(voiceWindow);
        QTRY_VERIFY(voiceWindow->Output().Voice() != nullptr);
        // A generation of a fixed seed: a drawn one may hold a candidate whose end level never
        // falls silent.
        window->StartOver(2026);
        QTest::keyClick(&window->Cell(3), Qt::Key_Space);
        QCOMPARE(window->findChild<QLabel*>(QStringLiteral("lblExploreStatus"))->text(),
                 QStringLiteral("Playing candidate 4"));
        QVERIFY(audio.Render(0.1) > 0.0f);
        QCOMPARE(voiceWindow->Output().Voice()->Meter().activeVoices, 1);
        // The note is released after its second and dies away.
        const auto silentAfterABlock = [&] {
            audio.Render(0.5);
            return voiceWindow->Output().Voice()->Meter().activeVoices == 0;
        };
        QTRY_VERIFY_WITH_TIMEOUT(silentAfterABlock(), 20000);
    }

    // With "Audition on the synth" on, a candidate heard goes to the synth's temporary area on
    // the link's channel; the box is kept in the settings.
    void candidatesAreHeardOnTheSynthWhenAskedFor() {
        EditorWindow editor({"/opt/voxtane", {"JACK: synth:in"}, 1});
        QVERIFY(editor.ShowActive());
        editor.run.synthLink.ApplySettings({"", 7, false});
        QTest::keyClick(&editor.window, Qt::Key_E, Qt::ControlModifier);
        auto* window = editor.window.findChild<qt::ExploreWindow*>();
        QVERIFY(window && QTest::qWaitForWindowActive(window));
        window->StartOver(2026);
        const std::size_t before = editor.midiBackend.Sent().size();
        QTest::keyClick(&window->Cell(2), Qt::Key_Space);
        QCOMPARE(editor.midiBackend.Sent().size(), before);  // the box is off

        auto* onSynth = window->findChild<QAbstractButton*>(QStringLiteral("chkAuditionOnSynth"));
        onSynth->click();
        QCOMPARE(editor.run.settings.Read("explore/auditionOnSynth"),
                 std::optional<std::string>("1"));
        QTest::keyClick(&window->Cell(2), Qt::Key_Space);
        QVERIFY(editor.midiBackend.Sent().size() > before);
        const auto expected = midi::BuildToneWrite(7, midi::SynthMemory::Current(),
                                                   window->Session().Candidates()[2].tone);
        QCOMPARE(editor.midiBackend.Sent().back(),
                 std::vector<std::uint8_t>(expected.begin(), expected.end()));
    }

    // "Add to Library" writes the chosen candidate into the library's folder Explore, which the
    // library then lists and has scanned; the bank is not touched.
    void aCandidateIsAddedToTheLibrary() {
        // A library of the test's own, so that runs do not pile candidates up in one folder.
        QTemporaryDir data;
        const QByteArray dataBefore = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        const auto restore = qScopeGuard([&] { qputenv("XDG_DATA_HOME", dataBefore); });
        // Started again there: the program takes its default library once, at its start.
        editor_.reset();
        editor_ = std::make_unique<EditorWindow>();
        QVERIFY(editor_->ShowActive());
        EditorWindow& editor = *editor_;
        const editor::BankTones bank = editor.run.tones.Tones();
        QTest::keyClick(&editor.window, Qt::Key_E, Qt::ControlModifier);
        auto* window = editor.window.findChild<qt::ExploreWindow*>();
        QVERIFY(window && QTest::qWaitForWindowActive(window));
        window->StartOver(7);
        QTest::keyClick(&window->Cell(4), Qt::Key_Space);
        window->findChild<QPushButton*>(QStringLiteral("btnAddToLibrary"))->click();
        auto* status = window->findChild<QLabel*>(QStringLiteral("lblExploreStatus"));
        QTRY_VERIFY_WITH_TIMEOUT(!window->Adding(), 30000);
        QVERIFY2(status->text().startsWith(QStringLiteral("Added to the library as \"")),
                 qPrintable(status->text()));
        QVERIFY(status->text().contains(QStringLiteral(" x5.syx\"")));
        QCOMPARE(editor.run.tones.Tones(), bank);

        const std::filesystem::path path = library::Library::DefaultPath();
        library::Library::Opened opened = library::Library::Open(path);
        QVERIFY(opened.library);
        const std::vector<std::string> folders = opened.library->Folders();
        const std::string folder = (path.parent_path() / "Library" / "Explore").string();
        QVERIFY(std::find(folders.begin(), folders.end(), folder) != folders.end());
        library::Stats stats;
        QVERIFY(opened.library->GetStats(stats).ok());
        QVERIFY(stats.tones >= 1);
    }

    // Started with `--library PATH`, the program hands that library to the window, and "Add to
    // Library" goes there, not to the default one.
    void aCandidateIsAddedToTheLibraryTheWindowWasGiven() {
        QTemporaryDir data, own;
        const QByteArray dataBefore = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        const auto restore = qScopeGuard([&] { qputenv("XDG_DATA_HOME", dataBefore); });
        const std::filesystem::path given =
            std::filesystem::path(own.path().toStdString()) / "mine.sqlite";
        struct Silent : qt::CandidateAudition {
            bool Play(const DecodedTone&) override { return false; }
        } silent;
        qt::ExploreWindow window(editor_->run.tones, editor_->run.settings, silent, nullptr, given,
                                 nullptr);
        window.StartOver(11);
        window.AddToLibrary();
        QTRY_VERIFY_WITH_TIMEOUT(!window.Adding(), 30000);

        QVERIFY(!std::filesystem::exists(library::Library::DefaultPath()));
        library::Library::Opened opened = library::Library::Open(given);
        QVERIFY(opened.library);
        const std::vector<std::string> folders = opened.library->Folders();
        QCOMPARE(folders,
                 std::vector<std::string>{(given.parent_path() / "Library" / "Explore").string()});
        library::Stats stats;
        QVERIFY(opened.library->GetStats(stats).ok());
        QCOMPARE(stats.tones, 1);
    }

    // With VOXTANE_SCREENSHOT_DIR set, a second generation with two picks is saved there for the
    // user guide.
    void screenshot() {
        const QString folder = qEnvironmentVariable("VOXTANE_SCREENSHOT_DIR");
        if (folder.isEmpty()) QSKIP("VOXTANE_SCREENSHOT_DIR is not set");
        QTest::keyClick(&editor_->window, Qt::Key_E, Qt::ControlModifier);
        auto* window = editor_->window.findChild<qt::ExploreWindow*>();
        QVERIFY(window && QTest::qWaitForWindowActive(window));
        window->resize(900, 640);
        window->StartOver(2026);
        window->Cell(2).SetPicked(true);
        window->Cell(9).SetPicked(true);
        window->findChild<QPushButton*>(QStringLiteral("btnNext"))->click();
        window->Cell(4).SetPicked(true);
        window->Cell(4).setFocus();
        QTest::qWait(100);
        QVERIFY(window->grab().save(folder + QStringLiteral("/explore-window.png")));
    }
};

}  // namespace voxtane::qttest

VOXTANE_QT_TEST_MAIN(voxtane::qttest::ExploreTest)
#include "explore_test.moc"
