#pragma once

#include <QPointer>
#include <QWidget>

#include "editor/platform.h"
#include "qt/about_dialog.h"

namespace voxtane::qt {

// The clipboard type of a tone: its 264-byte tone dump followed by its name in UTF-8.
inline constexpr const char* kToneMimeType = "application/x-voxtane-tone";

// The editor's surroundings on a Qt desktop: modal message boxes and file dialogs over the main
// window, the folder of the executable, the desktop's document viewer, and the end of the run.
class QtPlatform : public editor::Platform {
  public:
    QtPlatform() = default;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;
    ~QtPlatform() override;

    // The window that dialogs belong to; until it is set they have no parent.
    void SetMainWindow(QWidget* window) { mainWindow_ = window; }

    editor::MessageAnswer ShowMessage(const editor::MessageBoxRequest& request) override;
    std::string ShowFileDialog(const editor::FileDialogRequest& request) override;
    [[nodiscard]] std::string ProgramFolder() const override;
    // Closes every window and leaves the event loop; nothing else of the editor runs afterwards.
    void EndProgram() override;
    editor::DocumentOpenResult OpenDocument(const std::string& path) override;
    void ShowAboutBox(editor::AboutBox& box) override;
    std::optional<int> ChooseItem(const editor::ItemChoiceRequest& request) override;
    std::vector<std::string> ShowFilesDialog(const editor::FileDialogRequest& request) override;
    // A tone under the type kToneMimeType beside its text.
    void SetClipboard(const editor::ClipboardContent& content) override;
    [[nodiscard]] editor::ClipboardContent Clipboard() const override;
    [[nodiscard]] std::string DataFolder() const override;
    [[nodiscard]] std::string DocumentsFolder() const override;
    // In the main window's status bar, until the next line replaces it.
    void ShowStatus(const std::string& text) override;

    [[nodiscard]] bool Ended() const { return ended_; }
    // The about box on screen, once it has been shown.
    [[nodiscard]] AboutDialog* AboutWindow() const { return about_; }

  private:
    QPointer<QWidget> mainWindow_;
    QPointer<AboutDialog> about_;
    bool ended_ = false;
};

}  // namespace voxtane::qt
