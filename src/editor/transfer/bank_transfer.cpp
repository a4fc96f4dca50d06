#include "editor/transfer/bank_transfer.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "bank/atomic_file.h"
#include "bank/file_path.h"
#include "bank/names_file.h"
#include "bank/single_patch_file.h"
#include "bank/sysex_bank_writer.h"
#include "bank/tone_import.h"

namespace voxtane::editor {
namespace {

namespace fs = std::filesystem;

// Files that size are no tone files; reading them whole would only take memory.
constexpr std::uintmax_t kLargestImport = 64u << 20;
// A report of more lines than this is cut, with the number left out.
constexpr std::size_t kReportLines = 25;

struct ImportedTone {
    ToneRecord record;
    std::string name;
    std::string source;  // "file, tone k", for the report
};

std::string FileName(const std::string& path) {
    return Utf8FromPath(PathFromUtf8(path).filename());
}

std::vector<std::uint8_t> ReadWhole(const std::string& path, std::string& problem) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(PathFromUtf8(path), ec);
    if (ec) {
        problem = "could not be read (" + ec.message() + ")";
        return {};
    }
    if (size > kLargestImport) {
        problem = "is too large for a tone file";
        return {};
    }
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (!in && !in.eof()) problem = "could not be read";
    return bytes;
}

// The tones of one file with their names, and its notes.
void ImportOne(const std::string& path, std::vector<ImportedTone>& tones, TransferReport& report) {
    const std::string file = FileName(path);
    std::string problem;
    const std::vector<std::uint8_t> bytes = ReadWhole(path, problem);
    if (!problem.empty()) {
        report.notes.push_back(file + " " + problem + ".");
        return;
    }
    const ToneScan scan = ScanForTones(bytes);
    const char* unit = scan.encoding == FileEncoding::HexText ? "character" : "byte";
    for (const SkippedMessage& skipped : scan.skipped)
        report.notes.push_back(file + ", " + unit + " " + std::to_string(skipped.offset) +
                               ": skipped, " + skipped.reason + ".");
    if (scan.skippedBeyondList > 0)
        report.notes.push_back(file + ": " + std::to_string(scan.skippedBeyondList) +
                               " more messages skipped.");
    if (scan.tones.empty()) {
        report.notes.push_back(file + " holds no tone of the CZ1000.");
        return;
    }
    const NamesReadResult names = ReadNamesFile(NamesFileToRead(path), scan.tones.size());
    const std::string stem = Utf8FromPath(PathFromUtf8(path).stem());
    for (std::size_t k = 0; k < scan.tones.size(); ++k) {
        std::string name = k < names.names.size()   ? names.names[k]
                           : scan.tones.size() == 1 ? stem
                                                    : stem + " " + std::to_string(k + 1);
        tones.push_back(
            {scan.tones[k].record, std::move(name), file + ", tone " + std::to_string(k + 1)});
    }
}

std::string Lines(const std::vector<std::string>& notes) {
    std::string text;
    for (std::size_t i = 0; i < notes.size() && i < kReportLines; ++i) text += "\n" + notes[i];
    if (notes.size() > kReportLines)
        text += "\n... and " + std::to_string(notes.size() - kReportLines) + " more.";
    return text;
}

}  // namespace

std::string ImportSummary(const TransferReport& report) {
    if (report.done == 0) return "Nothing was imported: no file holds a tone of the CZ1000.";
    return "Imported " + std::to_string(report.done) + (report.done == 1 ? " tone" : " tones") +
           " into patch" + (report.done == 1 ? " " : "es ") + std::to_string(report.first) +
           (report.done == 1 ? "" : " to " + std::to_string(report.first + report.done - 1)) + ".";
}

int ExportedPatches(int patchCount) {
    return std::clamp(patchCount, 1, kBankSlots);
}

TransferReport BankTransfer::ImportFiles(const std::vector<std::string>& paths) {
    TransferReport report;
    std::vector<ImportedTone> found;
    for (const std::string& path : paths) ImportOne(path, found, report);
    report.first = std::max(1, editor_.CurrentPatch());
    const int room = kBankSlots - report.first + 1;
    std::vector<ToneRecord> records;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (static_cast<int>(i) < room) {
            records.push_back(found[i].record);
            names.push_back(found[i].name);
        } else {
            report.notes.push_back(found[i].source + ": not imported, patch 16 is the last.");
        }
    }
    report.done = static_cast<int>(records.size());
    if (report.done > 0) editor_.TakePatches(report.first, records, names, "Import");
    return report;
}

void BankTransfer::ShowReport(const std::string& summary, const TransferReport& report) {
    platform_.ShowMessage({summary + Lines(report.notes), title_, MessageButtons::Ok,
                           report.done > 0 ? MessageIcon::Information : MessageIcon::Exclamation});
}

void BankTransfer::Import() {
    FileDialogRequest dialog;
    dialog.kind = FileDialogKind::OpenMany;
    dialog.title = "Import";
    dialog.initialName = folders_.Start(FileKind::Imports) + "/*.syx";
    dialog.filters = {{"SysEx and text(*.syx *.txt)", {"*.syx", "*.txt"}},
                      {"All Files(*.*)", {"*.*"}}};
    dialog.fileMustExist = true;
    const std::vector<std::string> paths = platform_.ShowFilesDialog(dialog);
    if (paths.empty()) return;
    folders_.Remember(FileKind::Imports, paths.front());
    const TransferReport report = ImportFiles(paths);
    platform_.ShowStatus(ImportSummary(report));
    if (report.done == 0 || !report.notes.empty()) ShowReport(ImportSummary(report), report);
}

TransferReport BankTransfer::ExportBank(const std::string& folder,
                                        const std::function<bool(int)>& replace) {
    TransferReport report;
    std::error_code ec;
    if (!fs::is_directory(PathFromUtf8(folder), ec)) {
        report.notes.push_back("\"" + folder + "\" is no folder.");
        return report;
    }
    editor_.ShowEditedPatch();
    const BankTones tones = editor_.Tones();
    report.wanted = ExportedPatches(editor_.PatchCount());
    std::vector<fs::path> targets;
    int existing = 0;
    for (int patch = 1; patch <= report.wanted; ++patch) {
        targets.push_back(PathFromUtf8(folder) /
                          PathFromUtf8(FileNameOf(patch, editor_.Name(patch))));
        if (fs::exists(targets.back(), ec)) ++existing;
    }
    if (existing > 0 && !replace(existing)) return report;
    for (int patch = 1; patch <= report.wanted; ++patch) {
        const std::string path = Utf8FromPath(targets[patch - 1]);
        const SinglePatchWrite written = WriteSinglePatchFile(
            path, tones[patch - 1], MemoryPosition(patch), editor_.Name(patch));
        if (!written.tone.ok())
            report.notes.push_back(FileName(path) + " could not be written (" +
                                   written.tone.reason + ").");
        else
            ++report.done;
        if (!written.names.ok())
            report.notes.push_back(FileName(NamesFilePath(path)) + " could not be written (" +
                                   written.names.reason + ").");
    }
    return report;
}

void BankTransfer::Export() {
    FileDialogRequest dialog;
    dialog.kind = FileDialogKind::Folder;
    dialog.title = "Export";
    dialog.initialName = folders_.Start(FileKind::Exports);
    const std::string folder = platform_.ShowFileDialog(dialog);
    if (folder.empty()) return;
    folders_.Remember(FileKind::Exports, folder);
    const TransferReport report = ExportBank(folder, [this, &folder](int existing) {
        return platform_.ShowMessage({std::to_string(existing) + " of the " +
                                          std::to_string(ExportedPatches(editor_.PatchCount())) +
                                          " files already exist in \"" + folder +
                                          "\". Replace them?",
                                      "Export", MessageButtons::YesNo, MessageIcon::Exclamation,
                                      DefaultButton::Second}) == MessageAnswer::Yes;
    });
    platform_.ShowStatus(report.done == 0 && report.notes.empty()
                             ? "Nothing was exported: the files in " + folder + " are kept."
                             : "Exported " + std::to_string(report.done) +
                                   (report.done == 1 ? " patch" : " patches") + " to " + folder +
                                   ".");
    if (!report.notes.empty())
        ShowReport("Exported " + std::to_string(report.done) + " of " +
                       std::to_string(report.wanted) + " patches.",
                   report);
}

}  // namespace voxtane::editor
