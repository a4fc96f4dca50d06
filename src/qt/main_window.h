#pragma once

#include <QMainWindow>

#include "editor/editor_run.h"
#include "voice/audio_output.h"

namespace voxtane::qt {

class VoiceWindow;

// The editor's main window: a view of Form1. Every widget shows one control of the model and
// passes the user's actions to it; the menu entries and buttons call Form1's procedures. The
// window holds no editing logic of its own.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // `audio` is the audio output the Voice window plays on; without one (nullptr) that window
    // says so and the rest works as before. It outlives the window.
    explicit MainWindow(editor::EditorRun& run, voice::AudioOutput* audio = nullptr,
                        QWidget* parent = nullptr);

    // Synth > Voice: the Voice window, made the first time and shown again afterwards.
    void ShowVoiceWindow();

  protected:
    // Closing the window ends the program at once, without a question.
    void closeEvent(QCloseEvent* event) override;

  private:
    // The patch list with its label, and the Send Patch and Play Note buttons.
    void AddPatchBand(QWidget& area);

    editor::EditorRun& run_;
    editor::Form1& form_;
    voice::AudioOutput* audio_;
    VoiceWindow* voiceWindow_ = nullptr;
};

}  // namespace voxtane::qt
