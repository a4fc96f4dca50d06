#include "cli/headless_editor.h"

#include "cli/cli_error.h"

namespace voxtane::cli {

void HeadlessEditor::Load(const std::string& path) {
    platform_.ClearRecords();
    platform_.QueueFileChoice(path);
    run_.form1.cmdLoad_Click();
    // Only a load that read at least one patch names the bank file; any other leaves the editor
    // as it was and tells why in a message box.
    if (run_.module1.BankFileName != path)
        ThrowOnFileMessages("The file \"" + path + "\" gave no patch. Nothing was loaded.");
}

void HeadlessEditor::SaveAll(const std::string& path) {
    platform_.ClearRecords();
    platform_.QueueFileChoice(path);
    run_.form1.cmdSave_Click();
    ThrowOnFileMessages({});
}

void HeadlessEditor::SaveAllAs(const std::string& path) {
    platform_.ClearRecords();
    platform_.QueueFileChoice(path);
    run_.form1.cmdSaveAs_Click();
    ThrowOnFileMessages({});
}

std::vector<std::string> HeadlessEditor::MessagesTitled(const std::string& title) const {
    std::vector<std::string> texts;
    for (const auto& message : platform_.Messages())
        if (message.title == title) texts.push_back(message.text);
    return texts;
}

// File problems are reported under the program's title; decoding problems under their own.
void HeadlessEditor::ThrowOnFileMessages(const std::string& fallback) {
    std::string text;
    for (const std::string& line : MessagesTitled(run_.module1.AppTitle))
        text += (text.empty() ? "" : "\n") + line;
    if (text.empty()) text = fallback;
    if (!text.empty()) throw RuntimeFailure(text);
}

}  // namespace voxtane::cli
