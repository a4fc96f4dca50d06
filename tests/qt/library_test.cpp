// The Library window in the real editor: a folder of bank files added and scanned in the
// background, found by typing, marked, and taken into the bank as one step that Undo takes back.
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <random>

#include "editor_window.h"
#include "library/own_tones.h"
#include "qt/library_window.h"
#include "tone_collection.h"

namespace voxtane::qttest {
namespace {

// Counts what would have been heard.
class CountingAudition : public qt::CandidateAudition {
  public:
    bool Play(const DecodedTone& /*tone*/) override {
        ++plays;
        return true;
    }
    int plays = 0;
};

constexpr int kScanLimitMs = 60000;

}  // namespace

class LibraryTest : public FreshWindowTest {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(folder_.isValid() && libraryFolder_.isValid() && dataHome_.isValid());
        // The default library ("Add to Library" from the main window) lives here, not in the
        // user's data folder.
        qputenv("XDG_DATA_HOME", dataHome_.path().toUtf8());
        // Folders below a library folder, there before the scan: watched as well.
        std::filesystem::create_directories(std::filesystem::path(folder_.path().toStdString()) /
                                            "sub" / "deeper");
        std::mt19937 random(21);
        for (int i = 0; i < 6; ++i) tones_.push_back(testing::RandomToneRecord(random));
        const std::filesystem::path root = folder_.path().toStdString();
        testing::WriteBankFile(root / "first.syx", {tones_[0], tones_[1], tones_[2], tones_[3]},
                               {"Warm Brass", "Glass Bell", "Deep Bass", "Soft Pad"});
        // The first tone again, under another name: a duplicate.
        testing::WriteBankFile(root / "second.syx", {tones_[4], tones_[0], tones_[5]},
                               {"Bright Lead", "Brass Again", "Glass Harp"});
    }

    void theMenuOpensTheWindowWithCtrlLAndTheLibraryComesFromTheCommandLine() {
        QCOMPARE(editor_->Action("cmdLibrary")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
        QVERIFY(editor_->Action("cmdLibraryAddFolder"));
        QCOMPARE(qt::LibraryPathFromArguments({"voxtane", "--library", "/tmp/x.sqlite"}),
                 std::filesystem::path("/tmp/x.sqlite"));
        QCOMPARE(qt::LibraryPathFromArguments({"voxtane"}), library::Library::DefaultPath());
    }

    void aFolderIsScannedSearchedAndATonesGoesIntoTheBankAsOneStep() {
        EditorWindow& editor = *editor_;
        CountingAudition audition;
        qt::LibraryWindow window(libraryPath(), editor.run.tones, editor.run.settings, audition,
                                 &editor.window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY_WITH_TIMEOUT(!window.Busy(), kScanLimitMs);  // the scan at start: no folders
        window.AddFolder(folder_.path());
        QTRY_COMPARE_WITH_TIMEOUT(window.Model().rowCount(), 6, kScanLimitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!window.Busy(), kScanLimitMs);

        // Typing searches after a pause; names match as prefixes of their words.
        auto* search = window.findChild<QLineEdit*>(QStringLiteral("txtLibrarySearch"));
        QTest::keyClicks(search, QStringLiteral("glas"));
        QTRY_COMPARE_WITH_TIMEOUT(window.Model().rowCount(), 2, 10000);
        search->clear();
        QTRY_COMPARE_WITH_TIMEOUT(window.Model().rowCount(), 6, 10000);

        // Tones found in more than one place; their places are listed.
        auto* duplicates = window.findChild<QPushButton*>(QStringLiteral("btnLibraryDuplicates"));
        duplicates->click();
        QCOMPARE(window.Model().rowCount(), 1);
        QCOMPARE(window.Model().Tone(0).sources.size(), std::size_t{2});
        duplicates->click();

        // Sorted by name; moving through the results plays each tone.
        window.Model().sort(qt::LibraryModel::kName, Qt::AscendingOrder);
        const auto nameAt = [&](int row) {
            return window.Model().data(window.Model().index(row, qt::LibraryModel::kName),
                                       Qt::DisplayRole);
        };
        QCOMPARE(nameAt(0).toString(), QStringLiteral("Bright Lead"));
        window.Table().setFocus();
        window.Table().setCurrentIndex(window.Model().index(0, 0));
        const int heard = audition.plays;
        QTest::keyClick(&window.Table(), Qt::Key_Down);
        QCOMPARE(audition.plays, heard + 1);
        QCOMPARE(window.Table().currentIndex().row(), 1);

        // The tone's picture plays with Space and keeps its own name for screen readers.
        auto* graph = window.findChild<QWidget*>(QStringLiteral("cellLibraryTone"));
        QTest::keyClick(graph, Qt::Key_Return);
        QTest::keyClick(graph, Qt::Key_Space);
        QCOMPARE(audition.plays, heard + 2);
        QCOMPARE(graph->accessibleName(), QStringLiteral("Envelopes of the selected tone"));

        // A favourite and tags are kept and filter the search.
        window.findChild<QCheckBox*>(QStringLiteral("chkLibraryFavourite"))->click();
        auto* tags = window.findChild<QLineEdit*>(QStringLiteral("txtLibraryTags"));
        tags->setText(QStringLiteral("keep, warm"));
        emit tags->editingFinished();
        const std::string chosen = window.Model().Tone(1).hash;
        window.findChild<QCheckBox*>(QStringLiteral("chkLibraryFavourites"))->click();
        QCOMPARE(window.Model().rowCount(), 1);
        QCOMPARE(window.Model().Tone(0).hash, chosen);
        QCOMPARE(window.Model().Tone(0).tags, (std::vector<std::string>{"keep", "warm"}));
        window.findChild<QCheckBox*>(QStringLiteral("chkLibraryFavourites"))->click();
        window.findChild<QLineEdit*>(QStringLiteral("txtLibraryTagFilter"))
            ->setText(QStringLiteral("keep"));
        QTRY_COMPARE_WITH_TIMEOUT(window.Model().rowCount(), 1, 10000);

        // Add to Bank puts it in the current patch with its name; Undo takes it back at once.
        const editor::BankTones bank = editor.run.tones.Tones();
        const std::string name = editor.run.tones.Name(1);
        window.Table().selectRow(0);
        window.findChild<QPushButton*>(QStringLiteral("btnLibraryAddToBank"))->click();
        ToneRecord record{};
        auto opened = library::Library::Open(libraryPath());
        QVERIFY(opened.library->Record(chosen, record).ok());
        QCOMPARE(editor.run.tones.Tones()[0], record);
        QCOMPARE(QString::fromStdString(editor.run.tones.Name(1)),
                 window.Model().data(window.Model().index(0, 0), Qt::DisplayRole).toString());
        editor.Action("cmdUndo")->trigger();
        QCOMPARE(editor.run.tones.Tones(), bank);
        QCOMPARE(editor.run.tones.Name(1), name);

        // More Like This measures in the background and lists the nearest first: itself.
        window.findChild<QLineEdit*>(QStringLiteral("txtLibraryTagFilter"))->clear();
        QTRY_COMPARE_WITH_TIMEOUT(window.Model().rowCount(), 6, 10000);
        window.Table().selectRow(2);
        const std::string similarTo = window.Model().Tone(2).hash;
        window.findChild<QPushButton*>(QStringLiteral("btnLibrarySimilar"))->click();
        QTRY_VERIFY_WITH_TIMEOUT(!window.Busy(), kScanLimitMs);
        QTRY_VERIFY_WITH_TIMEOUT(
            window.Model().rowCount() > 0 && window.Model().Tone(0).hash == similarTo,
            kScanLimitMs);

        // Rescan finds nothing new and keeps what the owner said.
        window.findChild<QPushButton*>(QStringLiteral("btnLibraryRescan"))->click();
        QTRY_VERIFY_WITH_TIMEOUT(!window.Busy(), kScanLimitMs);
        QVERIFY(window.findChild<QLabel*>(QStringLiteral("lblLibraryStatus"))
                    ->text()
                    .contains(QStringLiteral(" 0 new")));

        // A bank file copied into a folder deep below a library folder is found without asking.
        QVERIFY(window.WatchedFolders().contains(folder_.path() + QStringLiteral("/sub/deeper")));
        std::mt19937 random(7);
        testing::WriteBankFile(
            std::filesystem::path(folder_.path().toStdString()) / "sub" / "deeper" / "third.syx",
            {testing::RandomToneRecord(random)}, {"New Arrival"});
        search->setText(QStringLiteral("arrival"));
        QTRY_COMPARE_WITH_TIMEOUT(window.Model().rowCount(), 1, kScanLimitMs);

        const QString screenshots = qEnvironmentVariable("VOXTANE_SCREENSHOT_DIR");
        if (!screenshots.isEmpty()) {
            window.resize(900, 520);
            search->clear();
            QTRY_COMPARE_WITH_TIMEOUT(window.Model().rowCount(), 7, 10000);
            window.Model().sort(qt::LibraryModel::kName, Qt::AscendingOrder);
            window.Table().selectRow(1);
            QTest::qWait(200);
            QVERIFY(window.grab().save(screenshots + QStringLiteral("/library-window.png")));
        }
    }

    // Closing the window mid-scan stops the scan; the library stays whole and the next scan
    // reads everything.
    void aWindowClosedWhileScanningLeavesAWholeLibrary() {
        QTemporaryDir collection, store;
        const testing::Collection written = testing::WriteCollection(
            collection.path().toStdString(), {.tones = 1600, .duplicateShare = 0.1}, 5);
        const std::filesystem::path path =
            std::filesystem::path(store.path().toStdString()) / "library.sqlite";
        CountingAudition audition;
        {
            qt::LibraryWindow window(path, editor_->run.tones, editor_->run.settings, audition,
                                     &editor_->window);
            window.AddFolder(collection.path());
            QTRY_VERIFY_WITH_TIMEOUT(
                window.findChild<QLabel*>(QStringLiteral("lblLibraryStatus"))
                    ->text()
                    .contains(QRegularExpression("^Scanning:|tones\\.$|scrolls\\.$")),
                kScanLimitMs);
        }
        auto opened = library::Library::Open(path);
        QVERIFY(opened.result.ok());
        library::ScanReport report;
        QVERIFY(opened.library->Scan(report).ok());
        library::Stats stats;
        QVERIFY(opened.library->GetStats(stats).ok());
        QCOMPARE(stats.tones, written.distinctTones);
    }

    // Tones dragged onto the patch list fill patches from the current one on, shown while the
    // drag hovers; onto a patch of the open list, from that patch on. Each drop is one step.
    void tonesDraggedOntoThePatchListFillPatchesAsOneStep() {
        EditorWindow& editor = *editor_;
        CountingAudition audition;
        qt::LibraryWindow window(libraryPath(), editor.run.tones, editor.run.settings, audition,
                                 &editor.window);
        window.AddFolder(folder_.path());
        QTRY_VERIFY_WITH_TIMEOUT(!window.Busy() && window.Model().rowCount() >= 6, kScanLimitMs);
        window.Model().sort(qt::LibraryModel::kName, Qt::AscendingOrder);
        QVERIFY(window.Table().dragEnabled());
        const std::unique_ptr<QMimeData> mime(window.Model().mimeData(
            {window.Model().index(0, 0), window.Model().index(1, 0), window.Model().index(2, 0)}));
        const std::vector<library::DraggedTone> dragged = window.Model().DraggedTones({0, 1, 2});
        QCOMPARE(dragged.size(), std::size_t{3});

        auto* patches = editor.Required<QComboBox>(QStringLiteral("cboPatches"));
        editor.form.cboPatches.SetListIndex(14);
        QCOMPARE(editor.run.tones.CurrentPatch(), 15);
        const editor::BankTones before = editor.run.tones.Tones();
        // Over the list's text field, which takes only text, the drag reaches the list.
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
        QApplication::sendEvent(patches->lineEdit(), &enter);
        QVERIFY(enter.isAccepted());
        QCOMPARE(patches->accessibleDescription(),
                 QStringLiteral("Patches 15 to 16: %1, %2 (1 tone does not fit)")
                     .arg(QString::fromStdString(dragged[0].name),
                          QString::fromStdString(dragged[1].name)));
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
        QApplication::sendEvent(patches, &drop);
        QVERIFY(drop.isAccepted());
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(editor.run.tones.Tones()[static_cast<std::size_t>(14 + i)],
                     dragged[static_cast<std::size_t>(i)].record);
            QCOMPARE(editor.run.tones.Name(15 + i), dragged[static_cast<std::size_t>(i)].name);
        }
        editor.Action("cmdUndo")->trigger();
        QCOMPARE(editor.run.tones.Tones(), before);

        // On a patch of the open list: that patch and the ones after it, selected while hovering.
        patches->showPopup();
        QAbstractItemView* list = patches->view();
        const QPoint atFourth = list->visualRect(patches->model()->index(3, 0)).center();
        QDragEnterEvent move(atFourth, Qt::CopyAction, mime.get(), Qt::LeftButton, {});
        QApplication::sendEvent(list->viewport(), &move);
        QVERIFY(move.isAccepted());
        QCOMPARE(list->selectionModel()->selectedRows().size(), 3);
        QDropEvent dropOnPatch(atFourth, Qt::CopyAction, mime.get(), Qt::LeftButton, {});
        QApplication::sendEvent(list->viewport(), &dropOnPatch);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(editor.run.tones.Tones()[static_cast<std::size_t>(3 + i)],
                     dragged[static_cast<std::size_t>(i)].record);

        // Something else dropped is refused and changes nothing.
        QMimeData text;
        text.setText(QStringLiteral("not tones"));
        QDragEnterEvent other(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, {});
        QApplication::sendEvent(patches, &other);
        QVERIFY(!other.isAccepted());
    }

    // The list shows a page of tones and the next as it is scrolled to its end.
    void aLongListIsFetchedPageByPageAsItScrolls() {
        QTemporaryDir collection, store;
        const testing::Collection written = testing::WriteCollection(
            collection.path().toStdString(), {.tones = 16 * 45, .duplicateShare = 0.1}, 8);
        QVERIFY(written.distinctTones > qt::LibraryWindow::kPageRows);
        CountingAudition audition;
        qt::LibraryWindow window(std::filesystem::path(store.path().toStdString()) / "l.sqlite",
                                 editor_->run.tones, editor_->run.settings, audition,
                                 &editor_->window);
        window.show();
        window.AddFolder(collection.path());
        QTRY_VERIFY_WITH_TIMEOUT(!window.Busy() && window.Model().rowCount() > 0, kScanLimitMs);
        QCOMPARE(window.Model().rowCount(), qt::LibraryWindow::kPageRows);
        QTRY_VERIFY_WITH_TIMEOUT(
            (window.Table().scrollToBottom(), window.Model().rowCount() == written.distinctTones),
            10000);
        QVERIFY(!window.Model().canFetchMore({}));
    }

    // Add Patch and Add Bank to Library write into the library's own folder and scan it.
    void thePatchAndTheBankGoIntoTheLibrarysOwnFolder() {
        EditorWindow& editor = *editor_;
        const std::filesystem::path own =
            library::OwnTonesFolder(library::Library::DefaultPath(), "Editor");
        editor.Action("cmdLibraryAddPatch")->trigger();
        auto* bar = editor.window.findChild<QStatusBar*>();
        QVERIFY(bar != nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(bar->currentMessage().contains(QStringLiteral("added to")),
                                 kScanLimitMs);
        editor.Action("cmdLibraryAddBank")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(bar->currentMessage().startsWith(QStringLiteral("The bank added")),
                                 kScanLimitMs);
        QVERIFY(std::filesystem::exists(own / "01 Bank.syx"));
        auto opened = library::Library::Open(library::Library::DefaultPath());
        library::Stats stats;
        QVERIFY(opened.library->GetStats(stats).ok());
        QCOMPARE(stats.files, 2);
    }

  private:
    [[nodiscard]] std::filesystem::path libraryPath() const {
        return std::filesystem::path(libraryFolder_.path().toStdString()) / "library.sqlite";
    }

    QTemporaryDir folder_;
    QTemporaryDir libraryFolder_;
    QTemporaryDir dataHome_;
    std::vector<ToneRecord> tones_;
};

}  // namespace voxtane::qttest

VOXTANE_QT_TEST_MAIN(voxtane::qttest::LibraryTest)
#include "library_test.moc"
