#include "qt/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>

#include "qt/accessible_names.h"
#include "qt/appearance/window_appearance.h"
#include "qt/edit_additions.h"
#include "qt/entry_notes.h"
#include "qt/explore_menu.h"
#include "qt/keyboard_navigation.h"
#include "qt/library_menu.h"
#include "qt/library_window.h"
#include "qt/main_menu.h"
#include "qt/option_pictures.h"
#include "qt/patch_list_binding.h"
#include "qt/synth_menu.h"
#include "qt/tone_area.h"
#include "qt/twips.h"
#include "qt/voice_window.h"

namespace voxtane::qt {
namespace {

// The window is laid out for this text size; a fixed pixel size keeps captions inside their
// places whatever the desktop's font settings, while Qt still scales it with the screen.
constexpr int kTextPixelSize = 11;

QPushButton* AddButton(QWidget& area, const char* name, const char* caption, QRect twips) {
    auto* button = new QPushButton(QString::fromLatin1(caption), &area);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(TwipRect(twips.x(), twips.y(), twips.width(), twips.height()));
    return button;
}

}  // namespace

MainWindow::MainWindow(editor::EditorRun& run, voice::AudioOutput* audio, QWidget* parent)
    : QMainWindow(parent), run_(run), form_(run.form1), audio_(audio) {
    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(ProgramIcon());
    QFont text = font();
    text.setPixelSize(kTextPixelSize);
    setFont(text);

    // The controls keep their designed places; on a screen too small for them the area scrolls.
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("Scroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto* area = new QWidget;
    area->setObjectName(QStringLiteral("ToneArea"));
    area->setFixedSize(ToneAreaSize());
    AddPatchBand(*area);
    AddToneControls(*area, form_);
    scroller->setWidget(area);
    setCentralWidget(scroller);
    QMenu* help = AddMainMenu(*menuBar(), form_);
    AddSynthMenu(*menuBar(), help->menuAction(), *this, run_, [this] { ShowVoiceWindow(); });
    // Candidates are heard on the Voice window's voice, which gets its own tone back afterwards.
    auto liveVoice = [this]() -> voice::LiveVoice* {
        return voiceWindow_ != nullptr ? voiceWindow_->Output().Voice() : nullptr;
    };
    auto restoreVoice = [this] {
        if (voiceWindow_ == nullptr) return;
        if (voice::LiveVoice* voice = voiceWindow_->Output().Voice())
            voice->Publish(voiceWindow_->Tone());
    };
    // Every window adds to the library the program was started with.
    const std::filesystem::path library = LibraryPathFromArguments(QCoreApplication::arguments());
    AddToolsMenu(*menuBar(), help->menuAction(), *this, run_, library, liveVoice, restoreVoice);
    AddLibraryMenu(*menuBar(), help->menuAction(), *this, run_, library, liveVoice, restoreVoice);
    AddEditorAdditions(*this, *area, run_);
    NameControls(*this, form_);
    ShowStoredEnvelopeEntries(*this, form_);
    AddKeyboardNavigation(*this, *area);

    const QPointer<MainWindow> guard(this);
    auto showCaption = [this, guard] {
        if (guard) setWindowTitle(QString::fromStdString(form_.Caption.Text()));
    };
    showCaption();
    form_.Caption.observers.Add(showCaption);
    resize(editor::Form1::kWindowWidth, editor::Form1::kWindowHeight);
    AddAppearance(*this, *area, kTextPixelSize, run_.settings);
}

void MainWindow::AddPatchBand(QWidget& area) {
    auto* label = new QLabel(QStringLiteral("Patch List"), &area);
    label->setObjectName(QStringLiteral("Label26"));
    label->setGeometry(TwipRect(3600, 0, 975, 255));
    auto* patches = new QComboBox(&area);
    patches->setObjectName(QStringLiteral("cboPatches"));
    patches->setGeometry(TwipRect(3600, 240, 3255, 315));
    BindPatchList(form_.cboPatches, *patches);
    label->setBuddy(patches);

    QPushButton* send = AddButton(area, "cmdSendOutSysex", "Send Patch", QRect(7320, 0, 1215, 495));
    connect(send, &QPushButton::clicked, this, [this] { form_.cmdSendOutSysex_Click(); });
    QPushButton* play = AddButton(area, "cmdPLayANot", "Play Note", QRect(9000, 0, 1095, 495));
    // The computer's voice sounds first: the synth's note holds the window for its second.
    connect(play, &QPushButton::clicked, this, [this] {
        if (voiceWindow_ != nullptr && voiceWindow_->isVisible())
            voiceWindow_->Output().PlayTestNote();
        form_.cmdPLayANot_Click();
    });
}

// Undo and Redo work from the Voice window too, where its graphs edit the tone.
void MainWindow::ShowVoiceWindow() {
    if (voiceWindow_ == nullptr) {
        voiceWindow_ = new VoiceWindow(run_, audio_, this);
        for (const char* name : {"cmdUndo", "cmdRedo"})
            if (auto* action = findChild<QAction*>(QString::fromLatin1(name)))
                voiceWindow_->addAction(action);
    }
    voiceWindow_->show();
    voiceWindow_->raise();
    voiceWindow_->activateWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    form_.Form_Unload();
    event->accept();
}

}  // namespace voxtane::qt
