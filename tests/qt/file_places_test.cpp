// Where the window's file dialogs open, and what the editor says in the status bar after Save,
// Save As, Import and Export: the user's files stay where the user keeps them.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "bank/sysex_bank_writer.h"
#include "editor_window.h"

namespace voxtane::qttest {
namespace {

std::string Std(const QString& text) {
    return text.toStdString();
}

EditorSetup InstalledIn(const std::string& programFolder) {
    EditorSetup setup;
    setup.programFolder = programFolder;
    return setup;
}

}  // namespace

class FilePlacesTest : public QObject {
    Q_OBJECT

    // The folder of the dialog's initial name: "<folder>/*.syx" or, for a folder, itself.
    static std::string StartOf(const editor::FileDialogRequest& dialog) {
        if (dialog.kind == editor::FileDialogKind::Folder) return dialog.initialName;
        return dialog.initialName.substr(0, dialog.initialName.rfind('/'));
    }
    std::string LastStart() { return StartOf(E().platform.Dialogs().back()); }
    EditorWindow& E() { return *editor_; }
    // The status line the editor gave last (the real platform shows it in the status bar).
    QString Status() {
        const auto& statuses = E().platform.Statuses();
        return statuses.empty() ? QString() : QString::fromStdString(statuses.back());
    }
    QAction* A(const char* name) { return E().Required<QAction>(QString::fromLatin1(name)); }

  private slots:
    void init() {
        for (auto* folder : {&documents_, &banks_, &elsewhere_})
            *folder = std::make_unique<QTemporaryDir>();
        editor_ = std::make_unique<EditorWindow>(InstalledIn("/usr/bin"));
        E().platform.SetDocumentsFolder(Std(documents_->path()));
        QVERIFY(E().ShowActive());
    }
    void cleanup() { editor_.reset(); }

    // Each dialog starts in the user's documents the first time, then in the folder last used
    // for its kind of file, also in the next run (the settings keep it); never in the
    // program's folder.
    void dialogsStartWhereTheUsersFilesAre() {
        const std::string documents = Std(documents_->path());
        const std::string banks = Std(banks_->path());
        const std::string elsewhere = Std(elsewhere_->path());
        for (const char* action : {"cmdLoad", "cmdSave", "cmdSaveAs", "cmdImpot", "cmdExport"}) {
            A(action)->trigger();
            QCOMPARE(LastStart(), documents);
        }

        E().platform.QueueFileChoice(banks + "/mine.syx");
        A("cmdSaveAs")->trigger();
        QVERIFY(QFile::exists(banks_->filePath("mine.syx")));
        for (const char* action : {"cmdLoad", "cmdSaveAs", "cmdSaveSinglePatch"}) {
            A(action)->trigger();
            QCOMPARE(LastStart(), banks);
        }
        // Import and Export keep folders of their own.
        A("cmdImpot")->trigger();
        QCOMPARE(LastStart(), documents);
        E().platform.QueueFilesChoice({banks + "/mine.syx"});
        A("cmdImpot")->trigger();
        E().platform.QueueFileChoice(elsewhere);
        A("cmdExport")->trigger();
        A("cmdImpot")->trigger();
        QCOMPARE(LastStart(), banks);
        A("cmdExport")->trigger();
        QCOMPARE(LastStart(), elsewhere);
        QCOMPARE(E().run.settings.Read("folders/banks"), std::optional<std::string>(banks));

        // A folder that is gone gives way to the documents folder again.
        QVERIFY(elsewhere_->remove());
        A("cmdExport")->trigger();
        QCOMPARE(LastStart(), documents);
        for (const auto& dialog : E().platform.Dialogs())
            QVERIFY(dialog.initialName.find("/usr/bin") == std::string::npos);
    }

    // Save, Save As, Import and Export say in the status bar what they did.
    void commandsSayWhatTheyDid() {
        const QString bank = banks_->filePath("mine.syx");
        E().platform.QueueFileChoice(Std(bank));
        A("cmdSave")->trigger();
        QCOMPARE(Status(), QStringLiteral("Saved 16 patches to %1.").arg(bank));
        A("cmdSave")->trigger();
        QCOMPARE(E().platform.Statuses().size(), std::size_t(2));
        QCOMPARE(Status(), QStringLiteral("Saved 16 patches to %1.").arg(bank));

        const QString other = banks_->filePath("other.syx");
        E().platform.QueueFileChoice(Std(other));
        A("cmdSaveAs")->trigger();
        QCOMPARE(Status(), QStringLiteral("Saved 16 patches to %1.").arg(other));
        E().form.cboPatches.SetListIndex(2);
        const QString single = banks_->filePath("one.syx");
        E().platform.QueueFileChoice(Std(single));
        A("cmdSaveSinglePatch")->trigger();
        QCOMPARE(Status(), QStringLiteral("Saved patch 3 to %1.").arg(single));

        E().form.cboPatches.SetListIndex(4);
        E().platform.QueueFilesChoice({Std(single), Std(single), Std(single)});
        A("cmdImpot")->trigger();
        QCOMPARE(Status(), QStringLiteral("Imported 3 tones into patches 5 to 7."));
        QVERIFY(E().platform.Messages().empty());

        E().platform.QueueFileChoice(Std(elsewhere_->path()));
        A("cmdExport")->trigger();
        QCOMPARE(Status(), QStringLiteral("Exported 16 patches to %1.").arg(elsewhere_->path()));
        E().platform.QueueFileChoice(Std(elsewhere_->path()));
        E().platform.QueueAnswer(editor::MessageAnswer::No);
        A("cmdExport")->trigger();
        QCOMPARE(Status(), QStringLiteral("Nothing was exported: the files in %1 are kept.")
                               .arg(elsewhere_->path()));
    }

  private:
    std::unique_ptr<QTemporaryDir> documents_;
    std::unique_ptr<QTemporaryDir> banks_;
    std::unique_ptr<QTemporaryDir> elsewhere_;
    std::unique_ptr<EditorWindow> editor_;
};

}  // namespace voxtane::qttest

VOXTANE_QT_TEST_MAIN(voxtane::qttest::FilePlacesTest)
#include "file_places_test.moc"
