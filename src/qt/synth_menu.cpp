#include "qt/synth_menu.h"

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTimer>

#include "qt/midi_setup_dialog.h"

namespace voxtane::qt {
namespace {

QAction* AddEntry(QMenu& menu, const char* name, const char* caption,
                  std::function<void()> handler) {
    QAction* action = menu.addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    if (handler) QObject::connect(action, &QAction::triggered, action, std::move(handler));
    return action;
}

QString ProgressText(const editor::SynthLink& link, const midi::BankProgress& progress) {
    const bool get = link.Status().rfind("Getting", 0) == 0;
    return QStringLiteral("%1 patch %2 of %3...")
        .arg(get ? QStringLiteral("Getting") : QStringLiteral("Writing"))
        .arg(std::min(progress.done + 1, progress.total))
        .arg(progress.total);
}

}  // namespace

void AddSynthMenu(QMenuBar& bar, QAction* before, QMainWindow& window, editor::EditorRun& run,
                  std::function<void()> showVoice) {
    editor::SynthLink& link = run.synthLink;
    auto* menu = new QMenu(QStringLiteral("&Synth"), &bar);
    menu->setObjectName(QStringLiteral("cmdSynth"));
    bar.insertMenu(before, menu);

    const QList<QAction*> exchanges{
        AddEntry(*menu, "cmdGetPatch", "&Get Patch...", [&link] { link.GetPatch(); }),
        AddEntry(*menu, "cmdGetBank", "Get &Bank", [&link] { link.GetBank(); }),
        AddEntry(*menu, "cmdWritePatch", "&Write Patch to Memory...",
                 [&link] { link.WritePatch(); }),
        AddEntry(*menu, "cmdWriteBank", "Write Ban&k to Memory", [&link] { link.WriteBank(); }),
    };
    menu->addSeparator();
    QAction* sendWhileEditing = AddEntry(*menu, "cmdSendWhileEditing", "Send While &Editing", {});
    sendWhileEditing->setCheckable(true);
    QObject::connect(sendWhileEditing, &QAction::toggled, sendWhileEditing, [&link](bool on) {
        if (on != link.Settings().sendWhileEditing) link.SetSendWhileEditing(on);
    });
    AddEntry(*menu, "cmdAllNotesOff", "All &Notes Off", [&link] { link.AllNotesOff(); });
    menu->addSeparator();
    AddEntry(*menu, "cmdMidiSetup", "&MIDI Setup...",
             [&run, &window] { ShowMidiSetupDialog(window, run.midiCommands, run.synthLink); });
    menu->addSeparator();
    AddEntry(*menu, "cmdVoice", "&Voice", std::move(showVoice))
        ->setShortcut(QKeySequence(Qt::Key_F5));

    auto* progress = new QProgressDialog(&window);
    progress->setObjectName(QStringLiteral("SynthProgress"));
    progress->setWindowTitle(QStringLiteral("Voxtane"));
    progress->setCancelButtonText(QStringLiteral("Cancel"));
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->setMinimumDuration(0);
    progress->setWindowModality(Qt::NonModal);
    progress->reset();
    progress->hide();
    QObject::connect(progress, &QProgressDialog::canceled, progress, [&link] { link.Cancel(); });

    const QPointer<QMainWindow> guard(&window);
    const auto follow = [guard, &link, exchanges, sendWhileEditing, progress] {
        if (!guard) return;
        for (QAction* action : exchanges) action->setEnabled(!link.Busy());
        sendWhileEditing->setChecked(link.Settings().sendWhileEditing);
        guard->statusBar()->showMessage(QString::fromStdString(link.Status()));
        if (const auto bank = link.Progress()) {
            progress->setRange(0, bank->total);
            progress->setValue(bank->done);
            progress->setLabelText(ProgressText(link, *bank));
            progress->show();
        } else if (progress->isVisible()) {
            progress->hide();
        }
    };
    follow();
    link.changed.Add(follow);

    // A JACK server that stops is told in the status bar within a second.
    auto* watch = new QTimer(menu);
    QObject::connect(watch, &QTimer::timeout, menu, [&link] { link.WatchDevices(); });
    watch->start(1000);
}

}  // namespace voxtane::qt
