#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the editor needs from its surroundings: message boxes, file dialogs, the program's folder
// and ending the program. The window supplies a real implementation; tests and the command-line
// program a scripted one.
namespace voxtane::editor {

class AboutBox;

enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageIcon { None, Critical, Exclamation, Information };
enum class DefaultButton { First, Second };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct MessageBoxRequest {
    std::string text;
    std::string title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    DefaultButton defaultButton = DefaultButton::First;
};

// One choice of a file-type filter: what the user reads, and the patterns it shows.
struct FileFilter {
    std::string description;
    std::vector<std::string> patterns;
};

enum class FileDialogKind { Open, Save, OpenMany, Folder };

enum class DocumentOpenStatus { Opened, Failed };
struct [[nodiscard]] DocumentOpenResult {
    DocumentOpenStatus status = DocumentOpenStatus::Opened;
    std::string reason;
};

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    std::string title;
    // Folder and file name (or pattern) the dialog starts with, such as "/opt/voxtane/*.syx".
    std::string initialName;
    std::vector<FileFilter> filters;  // empty: no filter of the dialog's own
    bool fileMustExist = false;
};

// What Copy Patch puts on the system clipboard and Paste Patch finds there: a tone under the
// program's own type (its tone dump and name), and text.
struct ClipboardContent {
    std::vector<std::uint8_t> tone;  // empty when the clipboard holds none of ours
    std::string text;
};

// A choice of one item from a list, as a small modal dialog offers it.
struct ItemChoiceRequest {
    std::string title;
    std::string label;
    std::vector<std::string> items;
    int initial = 0;
};

class Platform {
  public:
    virtual ~Platform() = default;

    // Shows a modal message box and returns the button pressed.
    virtual MessageAnswer ShowMessage(const MessageBoxRequest& request) = 0;
    // Shows a modal file dialog; returns the chosen full path (a folder's for Folder), or ""
    // when the user cancels.
    virtual std::string ShowFileDialog(const FileDialogRequest& request) = 0;
    // The same for OpenMany: every chosen path, none when the user cancels.
    virtual std::vector<std::string> ShowFilesDialog(const FileDialogRequest& request) = 0;
    virtual void SetClipboard(const ClipboardContent& content) = 0;
    [[nodiscard]] virtual ClipboardContent Clipboard() const = 0;
    // Where the program keeps data of its own between runs (the recovery copy); "" for none.
    [[nodiscard]] virtual std::string DataFolder() const = 0;
    // The folder that holds the program's executable, without a trailing separator.
    [[nodiscard]] virtual std::string ProgramFolder() const = 0;
    // Ends the program at once, without saving or asking anything.
    virtual void EndProgram() = 0;
    // Opens a document in the desktop's viewer for its type, without waiting for the viewer.
    virtual DocumentOpenResult OpenDocument(const std::string& path) = 0;
    // Shows the about box modally until it is hidden.
    virtual void ShowAboutBox(AboutBox& box) = 0;
    // The index of the item the user chose, or nothing when the dialog was cancelled.
    virtual std::optional<int> ChooseItem(const ItemChoiceRequest& request) = 0;
    // The user's own folder for documents, where file dialogs start the first time.
    [[nodiscard]] virtual std::string DocumentsFolder() const = 0;
    // One line on what a command did ("Saved 16 patches to ..."), shown without stopping the
    // user (the window's status bar).
    virtual void ShowStatus(const std::string& text) = 0;
};

}  // namespace voxtane::editor
