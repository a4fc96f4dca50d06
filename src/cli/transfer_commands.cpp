// import and export: the tone files owners share, into and out of a bank, as the window's Import
// and Export do.
#include <filesystem>
#include <iostream>

#include "cli/cli_error.h"
#include "cli/commands.h"
#include "cli/headless_editor.h"

namespace voxtane::cli {

int RunImport(const ImportOptions& options) {
    HeadlessEditor editor;
    editor.Load(options.bank);
    editor.Form().cboPatches.SetListIndex(options.at - 1);
    const editor::TransferReport report = editor.Run().transfer.ImportFiles(options.files);
    for (const std::string& note : report.notes) std::cerr << "note: " << note << '\n';
    if (report.done == 0) throw RuntimeFailure("no file holds a tone of the CZ1000; nothing saved");
    editor.SaveAllAs(options.out);
    std::cout << editor::ImportSummary(report) << '\n';
    return kExitOk;
}

namespace {

// A missing folder is made as mkdir makes it, without -p: only inside a folder that exists, and
// the user is told.
void MakeFolder(std::string folder) {
    namespace fs = std::filesystem;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    std::error_code ec;
    const fs::path path = PathFromUtf8(folder);
    if (fs::exists(path, ec)) return;
    const fs::path parent = path.has_parent_path() ? path.parent_path() : fs::path(".");
    if (!fs::is_directory(parent, ec))
        throw RuntimeFailure("the folder \"" + Utf8FromPath(parent) +
                             "\" does not exist; nothing was written");
    if (!fs::create_directory(path, ec))
        throw RuntimeFailure("the folder \"" + folder + "\" could not be made (" + ec.message() +
                             "); nothing was written");
    std::cout << "Made the folder " << folder << '\n';
}

}  // namespace

int RunExport(const ExportOptions& options) {
    HeadlessEditor editor;
    editor.Load(options.bank);
    MakeFolder(options.folder);
    int existing = 0;
    const editor::TransferReport report =
        editor.Run().transfer.ExportBank(options.folder, [&](int count) {
            existing = count;
            return options.replace;
        });
    if (existing > 0 && !options.replace)
        throw RuntimeFailure(std::to_string(existing) + " of the files already exist in \"" +
                             options.folder + "\"; nothing was written (--replace replaces them)");
    for (const std::string& note : report.notes) std::cerr << "note: " << note << '\n';
    std::cout << "Exported " << report.done << " patches into " << options.folder << '\n';
    return report.done == report.wanted ? kExitOk : kExitFailure;
}

}  // namespace voxtane::cli
