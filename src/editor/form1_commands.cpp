#include <filesystem>

#include "bank/file_path.h"
#include "editor/form1.h"

namespace voxtane::editor {

void Form1::cmdExit_Click() {
    const MessageAnswer answer =
        platform.ShowMessage({"Do you want to EXIT?", "Exit Program", MessageButtons::YesNo,
                              MessageIcon::Critical, DefaultButton::Second});
    if (answer == MessageAnswer::Yes) platform.EndProgram();
}

namespace {
// The user guide: beside the program in a build tree, in the shared data folder once installed
// (bin/voxtane finds share/voxtane/voxtane.txt). When neither exists, the message names the place
// beside the program, as it always did.
std::string HelpFilePath(const Platform& platform) {
    const std::string folder = platform.ProgramFolder();
    const std::string beside = folder + "/voxtane.txt";
    const std::string installed = folder + "/../share/voxtane/voxtane.txt";
    std::error_code ec;
    if (!std::filesystem::is_regular_file(PathFromUtf8(beside), ec) &&
        std::filesystem::is_regular_file(PathFromUtf8(installed), ec))
        return Utf8FromPath(PathFromUtf8(installed).lexically_normal());
    return beside;
}
}  // namespace

// The guide opens in the desktop's own viewer; when it cannot, the user learns where it should be.
void Form1::cmdUsingVoxtane_Click() {
    const std::string path = HelpFilePath(platform);
    std::error_code ec;
    std::string reason;
    if (!std::filesystem::is_regular_file(PathFromUtf8(path), ec)) {
        reason = "the file does not exist";
    } else if (const DocumentOpenResult opened = platform.OpenDocument(path);
               opened.status != DocumentOpenStatus::Opened) {
        reason = opened.reason;
    } else {
        return;
    }
    platform.ShowMessage({"The user guide \"" + path + "\" could not be opened: " + reason + ".",
                          module1.AppTitle, MessageButtons::Ok, MessageIcon::Exclamation});
}

void Form1::cmdAbout_Click() {
    About.Show();
    platform.ShowAboutBox(About);
}

void Form1::Form_Unload() {
    platform.EndProgram();
}

}  // namespace voxtane::editor
