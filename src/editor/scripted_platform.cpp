#include "editor/scripted_platform.h"

#include "editor/about_box.h"

namespace voxtane::editor {

void ScriptedPlatform::ClearRecords() {
    messages_.clear();
    dialogs_.clear();
}

MessageAnswer ScriptedPlatform::ShowMessage(const MessageBoxRequest& request) {
    messages_.push_back(request);
    if (!answers_.empty()) {
        const MessageAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    if (request.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    return request.defaultButton == DefaultButton::First ? MessageAnswer::Yes : MessageAnswer::No;
}

std::string ScriptedPlatform::ShowFileDialog(const FileDialogRequest& request) {
    dialogs_.push_back(request);
    if (fileChoices_.empty()) return {};
    std::string path = std::move(fileChoices_.front());
    fileChoices_.pop_front();
    return path;
}

DocumentOpenResult ScriptedPlatform::OpenDocument(const std::string& path) {
    documents_.push_back(path);
    if (documentFailure_.empty()) return {};
    return {DocumentOpenStatus::Failed, documentFailure_};
}

std::vector<std::string> ScriptedPlatform::ShowFilesDialog(const FileDialogRequest& request) {
    dialogs_.push_back(request);
    if (filesChoices_.empty()) return {};
    std::vector<std::string> paths = std::move(filesChoices_.front());
    filesChoices_.pop_front();
    return paths;
}

std::optional<int> ScriptedPlatform::ChooseItem(const ItemChoiceRequest& request) {
    itemDialogs_.push_back(request);
    if (itemChoices_.empty()) return std::nullopt;
    const std::optional<int> item = itemChoices_.front();
    itemChoices_.pop_front();
    return item;
}

void ScriptedPlatform::ShowAboutBox(AboutBox& box) {
    ++aboutShown_;
    if (box.Visible()) box.cmdOK_Click();
}

}  // namespace voxtane::editor
