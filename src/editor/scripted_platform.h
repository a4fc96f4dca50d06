#pragma once

#include <deque>
#include <string>
#include <vector>

#include "editor/platform.h"

namespace voxtane::editor {

// A platform that answers from a script and records what the editor showed: for tests and for
// the command-line program, which runs the editor without a window.
class ScriptedPlatform : public Platform {
  public:
    explicit ScriptedPlatform(std::string programFolder = ".")
        : programFolder_(std::move(programFolder)) {}

    // Answers given to the next message boxes, in order; when none is queued a box is answered
    // with its default button.
    void QueueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
    // Paths returned by the next file dialogs, in order ("" cancels); none queued cancels.
    void QueueFileChoice(std::string path) { fileChoices_.push_back(std::move(path)); }
    // Path lists returned by the next multi-file dialogs, in order; none queued cancels.
    void QueueFilesChoice(std::vector<std::string> paths) {
        filesChoices_.push_back(std::move(paths));
    }
    std::vector<std::string> ShowFilesDialog(const FileDialogRequest& request) override;
    // An in-process clipboard.
    void SetClipboard(const ClipboardContent& content) override { clipboard_ = content; }
    [[nodiscard]] ClipboardContent Clipboard() const override { return clipboard_; }
    // "" by default: no recovery copy is kept.
    void SetDataFolder(std::string folder) { dataFolder_ = std::move(folder); }
    [[nodiscard]] std::string DataFolder() const override { return dataFolder_; }
    // Items chosen in the next item dialogs, in order (nothing cancels); none queued cancels.
    void QueueItemChoice(std::optional<int> item) { itemChoices_.push_back(item); }
    [[nodiscard]] const std::vector<ItemChoiceRequest>& ItemDialogs() const { return itemDialogs_; }

    [[nodiscard]] const std::vector<MessageBoxRequest>& Messages() const { return messages_; }
    [[nodiscard]] const std::vector<FileDialogRequest>& Dialogs() const { return dialogs_; }
    [[nodiscard]] bool Ended() const { return ended_; }
    void ClearRecords();

    MessageAnswer ShowMessage(const MessageBoxRequest& request) override;
    std::string ShowFileDialog(const FileDialogRequest& request) override;
    [[nodiscard]] std::string ProgramFolder() const override { return programFolder_; }
    void EndProgram() override { ended_ = true; }
    // Records the document; fails when told to with FailDocuments().
    DocumentOpenResult OpenDocument(const std::string& path) override;
    void FailDocuments(std::string reason) { documentFailure_ = std::move(reason); }
    [[nodiscard]] const std::vector<std::string>& Documents() const { return documents_; }
    // Counts the showing and answers with the box's OK button.
    void ShowAboutBox(AboutBox& box) override;
    [[nodiscard]] int AboutBoxShown() const { return aboutShown_; }
    std::optional<int> ChooseItem(const ItemChoiceRequest& request) override;
    // The program's folder unless set otherwise.
    void SetDocumentsFolder(std::string folder) { documentsFolder_ = std::move(folder); }
    [[nodiscard]] std::string DocumentsFolder() const override {
        return documentsFolder_.empty() ? programFolder_ : documentsFolder_;
    }
    void ShowStatus(const std::string& text) override { statuses_.push_back(text); }
    [[nodiscard]] const std::vector<std::string>& Statuses() const { return statuses_; }

  private:
    std::string documentsFolder_;
    std::vector<std::string> statuses_;
    std::string programFolder_;
    std::deque<MessageAnswer> answers_;
    std::deque<std::string> fileChoices_;
    std::deque<std::optional<int>> itemChoices_;
    std::deque<std::vector<std::string>> filesChoices_;
    ClipboardContent clipboard_;
    std::string dataFolder_;
    std::vector<ItemChoiceRequest> itemDialogs_;
    std::vector<MessageBoxRequest> messages_;
    std::vector<FileDialogRequest> dialogs_;
    bool ended_ = false;
    std::vector<std::string> documents_;
    std::string documentFailure_;
    int aboutShown_ = 0;
};

}  // namespace voxtane::editor
