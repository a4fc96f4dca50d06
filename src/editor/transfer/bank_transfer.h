#pragma once

#include <string>
#include <vector>

#include "bank/single_patch_file.h"  // FileNameOf
#include "editor/file_folders.h"
#include "editor/linked_editor.h"
#include "editor/platform.h"

namespace voxtane::editor {

struct TransferReport {
    int done = 0;                    // tones imported, or files exported
    int first = 0;                   // the first patch imported
    int wanted = 0;                  // files an export set out to write
    std::vector<std::string> notes;  // what was skipped or failed, one line each
};

// Import and Export: the tone files that circulate among owners, in and out of the bank.
class BankTransfer {
  public:
    BankTransfer(LinkedEditor& editor, Platform& platform, const std::string& title,
                 FileFolders& folders)
        : editor_(editor), platform_(platform), title_(title), folders_(folders) {}

    // "Import": asks for files, imports them and shows the report.
    void Import();
    // Reads the tones of every file into the bank, starting at the current patch, as one step.
    // A names file beside a file gives the names; otherwise the file's name does.
    TransferReport ImportFiles(const std::vector<std::string>& paths);

    // "Export": asks for a folder and writes each patch of the bank there as a single-patch file.
    void Export();
    // Patch n goes to "NN Name.syx" with its names file, for the patches a save writes; files of
    // those names are replaced only when `replace` agrees (it is given how many there are).
    TransferReport ExportBank(const std::string& folder, const std::function<bool(int)>& replace);

  private:
    void ShowReport(const std::string& summary, const TransferReport& report);

    LinkedEditor& editor_;
    Platform& platform_;
    const std::string& title_;
    FileFolders& folders_;
};

// "Imported 3 tones into patches 5 to 7."
[[nodiscard]] std::string ImportSummary(const TransferReport& report);

// The patches an export writes: those of the bank, as Save All writes them (a bank that holds no
// patches from a file, as after New, is saved as its first patch).
[[nodiscard]] int ExportedPatches(int patchCount);

}  // namespace voxtane::editor
