#pragma once

#include <QDialog>

#include "editor/about_box.h"

namespace voxtane::qt {

// The about box on screen. It is made once and then only shown and hidden, following the model:
// it hides itself when the model is hidden, and its OK button (or closing it) hides the model.
class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    AboutDialog(editor::AboutBox& model, QWidget* parent);

    // Runs the dialog modally until the model is hidden.
    void RunModal();

    void reject() override;

  private:
    editor::AboutBox& model_;
};

}  // namespace voxtane::qt
