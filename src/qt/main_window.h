#pragma once

#include <QMainWindow>

#include "editor/editor_run.h"

namespace voxtane::qt {

// The editor's main window: a view of Form1. Every widget shows one control of the model and
// passes the user's actions to it; the menu entries and buttons call Form1's procedures. The
// window holds no editing logic of its own.
class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit MainWindow(editor::EditorRun& run, QWidget* parent = nullptr);

  protected:
    // Closing the window ends the program at once, without a question.
    void closeEvent(QCloseEvent* event) override;

  private:
    // The patch list with its label, and the Send Patch and Play Note buttons.
    void AddPatchBand(QWidget& area);

    editor::EditorRun& run_;
    editor::Form1& form_;
};

}  // namespace voxtane::qt
