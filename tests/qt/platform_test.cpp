// The real platform on Qt: message boxes, file dialogs, the about box and the device window as
// the user meets them, and the end of the program. Each window is answered as a user answers it.
#include <QClipboard>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <filesystem>

#include "editor/recovery/data_folder.h"
#include "editor_window.h"
#include "modal_helper.h"
#include "qt/device_dialog.h"
#include "qt/file_filters.h"
#include "qt/qt_platform.h"

namespace voxtane::qttest {
namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Notes what the box shows, then answers it with `answer`.
std::function<void(QWidget*)> Answer(SeenBox& seen, std::function<void(QMessageBox&)> answer) {
    return [&seen, answer = std::move(answer)](QWidget* window) {
        auto* box = qobject_cast<QMessageBox*>(window);
        if (box == nullptr) {
            window->close();
            return;
        }
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                box->standardButton(box->defaultButton())};
        answer(*box);
    };
}

struct SeenDialog {
    QString title;
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    QString folder;
    QStringList nameFilters;
    QString selectedFilter;
    QStringList selectedFiles;
    bool replacesWithoutAsking = false;
    bool askedBeforeReplacing = false;
    QString defaultSuffix;
    bool refusedMissingFile = false;
    bool closedAtOnce = false;
};

// Puts a name into the dialog's file name field, as the user types it. (selectFile would leave
// the field alone once it has the focus.)
void TypeName(QFileDialog& dialog, const QString& path) {
    auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (field != nullptr) field->setText(path);
}

// Notes what the dialog shows; tries `missing` first when given, then chooses `chosen`
// ("" cancels).
std::function<void(QWidget*)> Choose(SeenDialog& seen, QString chosen, QString missing = {}) {
    return [&seen, chosen, missing](QWidget* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        if (dialog == nullptr) {
            window->close();
            return;
        }
        seen.title = dialog->windowTitle();
        seen.acceptMode = dialog->acceptMode();
        seen.fileMode = dialog->fileMode();
        seen.folder = dialog->directory().absolutePath();
        seen.nameFilters = dialog->nameFilters();
        seen.selectedFilter = dialog->selectedNameFilter();
        seen.selectedFiles = dialog->selectedFiles();
        seen.replacesWithoutAsking = dialog->testOption(QFileDialog::DontConfirmOverwrite);
        seen.defaultSuffix = dialog->defaultSuffix();
        if (!missing.isEmpty()) {
            // The dialog tells that the file does not exist; the user confirms that.
            OnNextModal([](QWidget* warning) { QTest::keyClick(warning, Qt::Key_Return); });
            TypeName(*dialog, missing);
            static_cast<QDialog*>(dialog)->accept();  // as the dialog's Open button does
            seen.refusedMissingFile = dialog->isVisible();
        }
        if (chosen.isEmpty()) {
            dialog->reject();
            return;
        }
        // Should the dialog ask before replacing the file, the user says No.
        const QPointer<QTimer> question = OnNextModal([&seen](QWidget* box) {
            seen.askedBeforeReplacing = true;
            QTest::keyClick(box, Qt::Key_Escape);
        });
        TypeName(*dialog, chosen);
        static_cast<QDialog*>(dialog)->accept();
        StopWatching(question);
        seen.closedAtOnce = !dialog->isVisible();
        if (dialog->isVisible()) dialog->reject();
    };
}

bool Touch(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
}

editor::FileDialogRequest Request(editor::FileDialogKind kind, std::string title,
                                  std::string initialName, std::vector<editor::FileFilter> filters,
                                  bool mustExist) {
    editor::FileDialogRequest request;
    request.kind = kind;
    request.title = std::move(title);
    request.initialName = std::move(initialName);
    request.filters = std::move(filters);
    request.fileMustExist = mustExist;
    return request;
}

const std::vector<editor::FileFilter> kSysexFilters = {{"SysEx(*.syx)", {"*.syx"}},
                                                       {"All Files(*.*)", {"*.*"}}};

// A started editor in its real main window, shown, with the real platform: message boxes, dialogs
// and the about box are the ones users see.
struct RealWindow {
    RealWindow() : run(platform), window(Started(platform, run)) {
        platform.SetMainWindow(&window);
        window.show();
    }
    qt::QtPlatform platform;
    editor::EditorRun run;
    qt::MainWindow window;

  private:
    // The window is made for an editor that has started, as the program makes it.
    // Copies of unsaved changes left by windows before would be offered back first.
    static editor::EditorRun& Started(const qt::QtPlatform& platform, editor::EditorRun& run) {
        std::error_code ec;
        for (std::filesystem::directory_iterator it(platform.DataFolder(), ec), end;
             !ec && it != end; it.increment(ec))
            if (it->path().extension() == ".vxr") std::filesystem::remove(it->path(), ec);
        run.Start();
        return run;
    }
};

}  // namespace

class PlatformTest : public QObject {
    Q_OBJECT

  private slots:
    // voxtane-syx recover reads the shelf from the folder the window writes it to.
    void dataFolderIsTheCommandLines() {
        qt::QtPlatform platform;
        const QByteArray saved = qgetenv(editor::kDataFolderVariable);
        qunsetenv(editor::kDataFolderVariable);
        QVERIFY(!platform.DataFolder().empty());
        QCOMPARE(QString::fromStdString(platform.DataFolder()),
                 QString::fromStdString(editor::DefaultDataFolder()));
        qputenv(editor::kDataFolderVariable, "/tmp/voxtane-elsewhere");
        QCOMPARE(QString::fromStdString(platform.DataFolder()),
                 QStringLiteral("/tmp/voxtane-elsewhere"));
        QCOMPARE(QString::fromStdString(editor::DefaultDataFolder()),
                 QStringLiteral("/tmp/voxtane-elsewhere"));
        if (saved.isEmpty())
            qunsetenv(editor::kDataFolderVariable);
        else
            qputenv(editor::kDataFolderVariable, saved);
    }

    void messageBoxes() {
        qt::QtPlatform platform;
        SeenBox seen;
        OnNextModal(Answer(seen, [](QMessageBox& box) {
            QTest::mouseClick(box.button(QMessageBox::Yes), Qt::LeftButton);
        }));
        QCOMPARE(platform.ShowMessage({"Do you want to EXIT?", "Exit Program",
                                       editor::MessageButtons::YesNo, editor::MessageIcon::Critical,
                                       editor::DefaultButton::Second}),
                 editor::MessageAnswer::Yes);
        QCOMPARE(seen.title, QStringLiteral("Exit Program"));
        QCOMPARE(seen.text, QStringLiteral("Do you want to EXIT?"));
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(seen.defaultButton, QMessageBox::No);

        // Enter takes the default button, Escape answers No.
        OnNextModal(Answer(seen, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }));
        QCOMPARE(
            platform.ShowMessage({"Sure?", "Voxtane", editor::MessageButtons::YesNo,
                                  editor::MessageIcon::Critical, editor::DefaultButton::Second}),
            editor::MessageAnswer::No);
        OnNextModal(Answer(seen, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }));
        QCOMPARE(platform.ShowMessage({"Sure?", "Voxtane", editor::MessageButtons::YesNo,
                                       editor::MessageIcon::None, editor::DefaultButton::First}),
                 editor::MessageAnswer::Yes);
        OnNextModal(Answer(seen, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }));
        QCOMPARE(platform.ShowMessage({"Sure?", "Voxtane", editor::MessageButtons::YesNo,
                                       editor::MessageIcon::None, editor::DefaultButton::First}),
                 editor::MessageAnswer::No);

        // An OK box; its text keeps its two lines and is not read as markup.
        OnNextModal(Answer(seen, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }));
        QCOMPARE(
            platform.ShowMessage({"Operation: Open\r\n<b>busy</b>", "Voxtane",
                                  editor::MessageButtons::Ok, editor::MessageIcon::Exclamation}),
            editor::MessageAnswer::Ok);
        QCOMPARE(seen.text, QStringLiteral("Operation: Open\n<b>busy</b>"));
        QCOMPARE(seen.buttons, QMessageBox::Ok);
        QCOMPARE(seen.icon, QMessageBox::Warning);
    }

    void filterNamesAndStartingPoints() {
        QCOMPARE(qt::NameFilterOf(kSysexFilters[0]), QStringLiteral("SysEx(*.syx)"));
        QCOMPARE(qt::NameFilterOf(kSysexFilters[1]), QStringLiteral("All Files (*)"));
        QCOMPARE(qt::NameFilterOf({"Text", {"*.txt", "*.text"}}),
                 QStringLiteral("Text (*.txt *.text)"));

        const auto saveAll = qt::StartingPointOf(Request(editor::FileDialogKind::Save, "Save All",
                                                         "/opt/v/*.syx", kSysexFilters, false));
        QCOMPARE(saveAll.folder, QStringLiteral("/opt/v"));
        QCOMPARE(saveAll.fileName, QString());
        QCOMPARE(saveAll.nameFilters, QStringList({"SysEx(*.syx)", "All Files (*)"}));
        QCOMPARE(saveAll.selectedFilter, QStringLiteral("SysEx(*.syx)"));

        const auto load = qt::StartingPointOf(
            Request(editor::FileDialogKind::Open, "Load SysEx File", "/opt/v/*.syx", {}, true));
        QCOMPARE(load.folder, QStringLiteral("/opt/v"));
        QCOMPARE(load.fileName, QString());
        QCOMPARE(load.nameFilters, QStringList({"*.syx"}));
        QCOMPARE(load.selectedFilter, QStringLiteral("*.syx"));

        const auto single =
            qt::StartingPointOf(Request(editor::FileDialogKind::Save, "Save Single Patch As",
                                        "/opt/v/patch.syx", kSysexFilters, false));
        QCOMPARE(single.fileName, QStringLiteral("patch.syx"));
        QCOMPARE(single.selectedFilter, QStringLiteral("SysEx(*.syx)"));
    }

    // The open dialog starts in the folder listing *.syx and takes only an existing file.
    void openDialog() {
        QTemporaryDir folder;
        const QString bank = folder.filePath("bank.syx");
        QVERIFY(Touch(bank));
        qt::QtPlatform platform;
        SeenDialog seen;
        OnNextModal(Choose(seen, bank, folder.filePath("missing.syx")));
        const std::string chosen =
            platform.ShowFileDialog(Request(editor::FileDialogKind::Open, "Load SysEx File",
                                            folder.path().toStdString() + "/*.syx", {}, true));
        QCOMPARE(QString::fromStdString(chosen), bank);
        QCOMPARE(seen.title, QStringLiteral("Load SysEx File"));
        QCOMPARE(seen.acceptMode, QFileDialog::AcceptOpen);
        QCOMPARE(seen.fileMode, QFileDialog::ExistingFile);
        QCOMPARE(seen.folder, QDir(folder.path()).absolutePath());
        QCOMPARE(seen.nameFilters, QStringList({"*.syx"}));
        QVERIFY(seen.refusedMissingFile);
        QVERIFY(seen.closedAtOnce);

        OnNextModal(Choose(seen, QString()));
        QCOMPARE(platform.ShowFileDialog(Request(editor::FileDialogKind::Open, "Load SysEx File",
                                                 folder.path().toStdString() + "/*.syx", {}, true)),
                 std::string());
    }

    // The save dialog replaces a file without a question and adds no extension.
    void saveDialog() {
        QTemporaryDir folder;
        const QString patch = folder.filePath("patch.syx");
        QVERIFY(Touch(patch));
        qt::QtPlatform platform;
        SeenDialog seen;
        OnNextModal(Choose(seen, patch));
        const std::string chosen = platform.ShowFileDialog(
            Request(editor::FileDialogKind::Save, "Save Single Patch As",
                    folder.path().toStdString() + "/patch.syx", kSysexFilters, false));
        QCOMPARE(QString::fromStdString(chosen), patch);
        QCOMPARE(seen.title, QStringLiteral("Save Single Patch As"));
        QCOMPARE(seen.acceptMode, QFileDialog::AcceptSave);
        QCOMPARE(seen.folder, QDir(folder.path()).absolutePath());
        QCOMPARE(seen.selectedFiles, QStringList({patch}));
        QCOMPARE(seen.nameFilters, QStringList({"SysEx(*.syx)", "All Files (*)"}));
        QCOMPARE(seen.selectedFilter, QStringLiteral("SysEx(*.syx)"));
        QVERIFY(seen.replacesWithoutAsking);
        QVERIFY(!seen.askedBeforeReplacing);
        QCOMPARE(seen.defaultSuffix, QString());
        QVERIFY(seen.closedAtOnce);

        const QString bare = folder.filePath("bank");
        OnNextModal(Choose(seen, bare));
        QCOMPARE(QString::fromStdString(platform.ShowFileDialog(
                     Request(editor::FileDialogKind::Save, "Save All",
                             folder.path().toStdString() + "/*.syx", kSysexFilters, false))),
                 bare);
        QCOMPARE(seen.selectedFilter, QStringLiteral("SysEx(*.syx)"));
    }

    // The folder chooser opens in the folder itself with no name filled in, so that one Enter
    // does not choose a folder the user never looked at; the user's documents folder is
    // where dialogs start the first time; status lines show in the main window's status bar.
    void folderChooserDocumentsAndStatus() {
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("inner")));
        qt::QtPlatform platform;
        QString nameField = QStringLiteral("unseen");
        SeenDialog seen;
        OnNextModal([&](QWidget* window) {
            if (auto* field = window->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                nameField = field->text();
            Choose(seen, QString())(window);
        });
        const std::string inner = folder.filePath(QStringLiteral("inner")).toStdString();
        QCOMPARE(platform.ShowFileDialog(
                     Request(editor::FileDialogKind::Folder, "Export", inner, {}, false)),
                 std::string());
        QCOMPARE(seen.folder, QString::fromStdString(inner));
        QCOMPARE(nameField, QString());
        QCOMPARE(seen.fileMode, QFileDialog::Directory);

        QCOMPARE(QString::fromStdString(platform.DocumentsFolder()),
                 QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));

        RealWindow real;
        real.platform.ShowStatus("Saved 16 patches to /tmp/x.syx.");
        QCOMPARE(real.window.statusBar()->currentMessage(),
                 QStringLiteral("Saved 16 patches to /tmp/x.syx."));
    }

    // Copy Patch and Paste Patch through the desktop's clipboard, with the keys outside the text
    // boxes; Undo and Redo by key also from inside a text box; Compare makes the tone controls
    // read-only.
    void clipboardHistoryAndCompareInTheWindow() {
        RealWindow real;
        QVERIFY(QTest::qWaitForWindowExposed(&real.window));
        editor::Form1& form = real.run.form1;
        form.hsFine.SetValue(17);
        form.cboPatches.SetText("Glass");
        const ToneRecord copied = real.run.module1.ScratchRecord;
        auto* picture = real.window.findChild<QAbstractButton*>(QStringLiteral("optWave(1)"));
        picture->setFocus();
        QTest::keyClick(picture, Qt::Key_C, Qt::ControlModifier);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data->hasFormat(QString::fromLatin1(qt::kToneMimeType)));
        QVERIFY(data->text().startsWith(QStringLiteral("F0 44 00 00 70 20 60")));
        form.cboPatches.SetListIndex(7);
        picture->setFocus();
        QTest::keyClick(picture, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(real.run.module1.ScratchRecord == copied);
        QCOMPARE(form.cboPatches.List(7), std::string("Glass"));
        // Plain text from elsewhere pastes too.
        QGuiApplication::clipboard()->setText(data->text());

        auto* box = real.window.findChild<QLineEdit*>(QStringLiteral("txtDCA2Lvl(4)"));
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("42"));
        QCOMPARE(real.window.findChild<QAction*>(QStringLiteral("cmdUndo"))->text(),
                 QStringLiteral("&Undo DCA 2 Level 5"));
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("0"));
        QTest::keyClick(box, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("42"));

        auto* compare = real.window.findChild<QPushButton*>(QStringLiteral("cmdCompare"));
        QTest::mouseClick(compare, Qt::LeftButton);
        QVERIFY(real.run.compare.Comparing());
        QVERIFY(!box->isEnabled());
        QCOMPARE(box->text(), QStringLiteral("0"));
        QTest::keyClick(&real.window, Qt::Key_K, Qt::ControlModifier);
        QVERIFY(!real.run.compare.Comparing());
        QVERIFY(box->isEnabled());
        QCOMPARE(box->text(), QStringLiteral("42"));
    }

    // The about box is made on its first showing and afterwards only shown and hidden.
    void aboutBoxIsMadeOnceAndFollowsItsModel() {
        RealWindow real;
        qt::MainWindow& window = real.window;
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QPointer<QWidget> first;
        QStringList texts;
        OnNextModal([&](QWidget* about) {
            first = about;
            texts << about->objectName() << about->windowTitle();
            for (const char* name : {"Label1", "Label2", "Label3", "Label4"}) {
                const auto* label = about->findChild<QLabel*>(name);
                texts << (label != nullptr ? label->text() : QString());
            }
            auto* ok = about->findChild<QPushButton*>("cmdOK");
            if (ok != nullptr) QTest::mouseClick(ok, Qt::LeftButton);
            if (about->isVisible()) about->close();
        });
        window.findChild<QAction*>("cmdAbout")->trigger();
        QVERIFY(first);
        QCOMPARE(texts, QStringList({"About", "About Voxtane ver 0.2",
                                     QString::fromStdString(real.run.form1.About.Label1.Text()),
                                     "Use this program at your own risk!",
                                     "Click on Help for more information concerning this program "
                                     "and contributions to it by other persons",
                                     QString::fromStdString(real.run.form1.About.Label4.Text())}));
        QVERIFY(!first->isVisible());
        QVERIFY(!real.run.form1.About.Visible());
        QCOMPARE(real.platform.AboutWindow(), first.data());

        QPointer<QWidget> second;
        OnNextModal([&](QWidget* about) {
            second = about;
            QTest::keyClick(about, Qt::Key_Escape);
        });
        window.findChild<QAction*>("cmdAbout")->trigger();
        QCOMPARE(second.data(), first.data());
        QVERIFY(!first->isVisible());
        QVERIFY(!real.run.form1.About.Visible());
        QCOMPARE(window.findChildren<qt::AboutDialog*>().size(), 1);
    }

    // At start-up the device window lists the outputs; a click chooses and closes it.
    void deviceWindowTakesTheChoice() {
        qt::QtPlatform platform;
        midi::RecordingBackend backend({"Synth A", "Synth B"});
        qt::QtDeviceWindow devices;
        CountingClock clock;
        editor::EditorRun run(platform, backend, devices, clock);
        QString title;
        QStringList entries;
        bool closedByTheClick = false;
        OnNextModal([&](QWidget* window) {
            title = window->windowTitle();
            auto* list = window->findChild<QListWidget*>("List1");
            if (list != nullptr) {
                for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
                QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                                  list->visualItemRect(list->item(2)).center());
            }
            closedByTheClick = !window->isVisible();
            if (window->isVisible()) window->close();
        });
        run.Start();
        QCOMPARE(title, QStringLiteral("MIDI Output Devices"));
        QCOMPARE(entries, QStringList({"Device not enabled", "Synth A", "Synth B"}));
        QVERIFY(closedByTheClick);
        QCOMPARE(run.midi.vbsyxgbl.MidiDeviceChoice.Text(), std::string(" 2"));
        QCOMPARE(devices.Dialog()->objectName(), QStringLiteral("VBSYXMID"));

        run.form1.cmdSendOutSysex_Click();
        QCOMPARE(backend.Sent().size(), std::size_t(1));
        QCOMPARE(backend.Events().front().device, 1);
    }

    // Closed without a choice, the window leaves the choice empty: the default output.
    void deviceWindowClosedWithoutChoice() {
        qt::QtPlatform platform;
        midi::RecordingBackend backend({"Synth A"});
        qt::QtDeviceWindow devices;
        CountingClock clock;
        editor::EditorRun run(platform, backend, devices, clock);
        OnNextModal([](QWidget* window) { QTest::keyClick(window, Qt::Key_Escape); });
        run.Start();
        QCOMPARE(run.midi.vbsyxgbl.MidiDeviceChoice.Text(), std::string());
        QVERIFY(!devices.Dialog()->isVisible());
    }

    // Put on screen before the editor lists the devices, the device window is the same window:
    // it takes the entries when the editor asks, and a click chooses. Closed by the user
    // before the editor asks, it stays closed and leaves the choice empty.
    void deviceWindowShownEarly_data() {
        QTest::addColumn<bool>("closedEarly");
        QTest::addColumn<std::string>("choice");
        QTest::newRow("chosen once listed") << false << std::string(" 2");
        QTest::newRow("closed before listed") << true << std::string();
    }
    void deviceWindowShownEarly() {
        QFETCH(bool, closedEarly);
        QFETCH(std::string, choice);
        qt::QtDeviceWindow devices;
        devices.ShowEarly();
        QVERIFY(devices.Dialog()->isVisible());
        QVERIFY(devices.Dialog()->windowHandle()->isExposed());
        auto* list = devices.Dialog()->findChild<QListWidget*>("List1");
        QCOMPARE(list->count(), 0);
        if (closedEarly) devices.Dialog()->close();

        qt::QtPlatform platform;
        midi::RecordingBackend backend({"Synth A", "Synth B"});
        CountingClock clock;
        editor::EditorRun run(platform, backend, devices, clock);
        bool modal = false;
        const QPointer<QTimer> watch = OnNextModal([&](QWidget* window) {
            modal = true;
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                              list->visualItemRect(list->item(2)).center());
            if (window->isVisible()) window->close();
        });
        run.Start();
        StopWatching(watch);
        QCOMPARE(modal, !closedEarly);
        QCOMPARE(list->count(), 3);
        QCOMPARE(run.midi.vbsyxgbl.MidiDeviceChoice.Text(), choice);
        QVERIFY(!devices.Dialog()->isVisible());
    }

    // Exit answered Yes closes the windows and leaves the event loop. It must run last: the
    // application takes no more event loops afterwards.
    void zzExitEndsTheProgram() {
        RealWindow real;
        qt::MainWindow& window = real.window;
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QAction* exit = window.findChild<QAction*>("cmdExit");

        SeenBox seen;
        OnNextModal(Answer(seen, [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }));
        exit->trigger();
        QVERIFY(!real.platform.Ended());
        QVERIFY(window.isVisible());

        OnNextModal(Answer(seen, [](QMessageBox& box) {
            QTest::mouseClick(box.button(QMessageBox::Yes), Qt::LeftButton);
        }));
        QTimer::singleShot(0, exit, &QAction::trigger);
        QEventLoop loop;
        QCOMPARE(loop.exec(), 0);
        QVERIFY(real.platform.Ended());
        QVERIFY(!window.isVisible());
        QVERIFY(!window.isEnabled());
    }
};

}  // namespace voxtane::qttest

VOXTANE_QT_TEST_MAIN(voxtane::qttest::PlatformTest)
#include "platform_test.moc"
