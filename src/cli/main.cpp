// voxtane-syx: the editor's bank operations from the command line.
#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>
#include <optional>
#include <string>

#include "bank/bank_limits.h"
#include "cli/cli_error.h"
#include "cli/commands.h"
#include "cli/explore_commands.h"
#if VOXTANE_WITH_LIBRARY
#include "cli/library_commands.h"
#endif
#include "cli/midi_commands.h"
#include "cli/program_start.h"
#include "voxtane_version.h"

namespace {

using namespace voxtane::cli;

constexpr const char* kAssignmentHelp =
    R"(Assignments, made in order as a user makes them in the editor:
  NAME=V        option array NAME: click element V (raises the click also when V is selected)
                scroll bar NAME: set the value to V
  NAME[i]=TEXT  text-box array NAME: set the text of element i (0 to 7) to TEXT
  name=TEXT     rename the current patch to TEXT
  select=N      choose patch N (1 to 16) in the patch list
  undo, redo    Undo and Redo, as in the Edit menu
  copy, paste   Copy Patch and Paste Patch (through a clipboard of the command's own)
NAME is a control's name as `show` lists it (optLS, hsFine, txtDCA1Rate, ...); labels are
written by the editor and cannot be assigned; texts are single lines. Every assignment is checked
before any is made.)";

// Paths are handed to the editor's file dialogs, where an empty one means "cancel".
void RejectEmptyPath(const std::string& path, const char* what) {
    if (path.empty()) throw UsageError(std::string(what) + " must not be empty");
}

// The first word that is no option must name a command; one that does not is named back with
// the commands there are, instead of being called an unexpected argument.
std::optional<std::string> UnknownCommand(CLI::App& app, int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '-') return std::nullopt;
    const std::string word = argv[1];
    std::string names;
    for (const CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        if (command->get_name() == word) return std::nullopt;
        names += (names.empty() ? "" : ", ") + command->get_name();
    }
    return "unknown command '" + word + "' (commands: " + names + ")";
}

#ifdef _WIN32
constexpr const char* kBuildNote =
    "This Windows build has no library commands (it is built without SQLite); its MIDI commands "
    "go through WinMM, and render writes no WAV file.";
#endif

}  // namespace

int main(int systemArgc, char** systemArgv) {
    ProgramStart start(systemArgc, systemArgv);
    const int argc = start.argc();
    char** argv = start.argv();
    CLI::App app{"Reads, edits, writes and checks CZ1000 SysEx bank files as Voxtane does.",
                 "voxtane-syx"};
    app.set_version_flag("-v,--version", "voxtane-syx " + std::string(voxtane::kVersion));
    app.require_subcommand(1);

    ShowOptions show;
    int showPatch = 0;
    CLI::App* showCommand = app.add_subcommand(
        "show", "Print, as JSON, what the editor shows for each patch of a bank file.");
    showCommand->add_option("FILE", show.file, "The bank file (.syx)")->required();
    CLI::Option* showPatchOption = showCommand->add_option(
        "--patch", showPatch, "Only this patch (1 to the number of patches), as one object");

    EditOptions edit;
    CLI::App* editCommand = app.add_subcommand(
        "edit",
        "Load a bank, edit one patch as a user would, and save the bank (with its names "
        "file) under a new name.");
    editCommand->add_option("IN", edit.in, "The bank file to load")->required();
    editCommand->add_option("OUT", edit.out, "Where to save the edited bank")->required();
    editCommand->add_option("ASSIGNMENT", edit.assignments, "NAME=V, NAME[i]=TEXT or name=TEXT");
    editCommand->add_option("--patch", edit.patch, "The patch to edit (default 1)");
    editCommand->footer(kAssignmentHelp);

    std::string newOut;
    CLI::App* newCommand = app.add_subcommand(
        "new",
        "Write the 16-patch default bank, and its names file, as \"Save All\" does right "
        "after start-up.");
    newCommand->add_option("OUT", newOut, "The bank file to write")->required();

    std::string checkFile;
    CLI::App* checkCommand = app.add_subcommand(
        "check",
        "List every way a bank file differs from what the editor writes (exit 0: none, "
        "1: some, 2: the file cannot be opened).");
    checkCommand->add_option("FILE", checkFile, "The bank file to check")->required();

    ImportOptions import;
    CLI::App* importCommand = app.add_subcommand(
        "import",
        "Load a bank, import tone files into it from a patch on, and save it under a new name "
        "(exit 1 when no tone was imported); skipped messages are reported on stderr.");
    importCommand->add_option("BANK", import.bank, "The bank file to load")->required();
    importCommand->add_option("OUT", import.out, "Where to save the bank")->required();
    importCommand->add_option("FILE", import.files, "The files to import")->required();
    importCommand->add_option("--at", import.at, "The first patch to import into (default 1)")
        ->check(CLI::Range(1, voxtane::kBankSlots));

    ExportOptions exportOptions;
    CLI::App* exportCommand = app.add_subcommand(
        "export", "Write each patch of a bank as a single-patch file \"NN Name.syx\" in FOLDER.");
    exportCommand->add_option("BANK", exportOptions.bank, "The bank file")->required();
    exportCommand->add_option("FOLDER", exportOptions.folder, "Where the files go")->required();
    exportCommand->add_flag("--replace", exportOptions.replace, "Replace files of those names");

    RecoverOptions recover;
    CLI::App* recoverCommand = app.add_subcommand(
        "recover",
        "List the recovery shelf (banks with unsaved changes that New, Load, Get Bank, Import or "
        "Exit replaced in the window), or save bank N of it, with its names file, as OUT.");
    recoverCommand->add_flag("--list", recover.list, "List the shelf, newest first");
    recoverCommand->add_option("N", recover.number, "The bank to bring back (1 is the newest)");
    recoverCommand->add_option("OUT", recover.out, "The bank file to write");
    recoverCommand->add_option(
        "--data-dir", recover.dataFolder,
        "The window's data folder (default: $VOXTANE_DATA_DIR, else the desktop's data folder)");

    RenderOptions render;
    CLI::App* renderCommand = app.add_subcommand(
        "render",
        "Play a patch on the software voice into a WAV file (mono, 16-bit): a note held, then "
        "released.");
    renderCommand->add_option("FILE", render.file, "The bank file (.syx)")->required();
    renderCommand->add_option("OUT", render.out, "The WAV file to write")->required();
    renderCommand->add_option("--patch", render.patch, "The patch (default 1)");
    renderCommand->add_option("--note", render.note,
                              "The MIDI note (default 60, middle C; 69 is 440 Hz); notes below "
                              "36 or above 96 sound moved by octaves into 36 to 96");
    renderCommand->add_option("--hold", render.hold, "Seconds the key is held (default 1)");
    renderCommand->add_option("--seconds", render.seconds,
                              "Seconds of sound in all (default the hold and one more)");
    renderCommand->add_option("--rate", render.rate, "Sample rate in Hz (default 48000)");

    MidiCommands midi(app);
    ExploreCommands explore(app);
#if VOXTANE_WITH_LIBRARY
    LibraryCommands library(app);
#endif
#ifdef _WIN32
    app.footer(kBuildNote);
#endif

    if (const auto unknown = UnknownCommand(app, argc, argv)) {
        std::cerr << "voxtane-syx: " << *unknown << '\n';
        return kExitUsage;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // Help exits 0; every other complaint about the command line is a usage error.
        return app.exit(e) == 0 ? kExitOk : kExitUsage;
    }

    try {
        if (const auto code = midi.RunParsed()) return *code;
        if (const auto code = explore.RunParsed()) return *code;
#if VOXTANE_WITH_LIBRARY
        if (const auto code = library.RunParsed()) return *code;
#endif
        if (*showCommand) {
            RejectEmptyPath(show.file, "FILE");
            RequireInputFile(show.file);
            if (*showPatchOption) show.patch = showPatch;
            return RunShow(show);
        }
        if (*editCommand) {
            RejectEmptyPath(edit.in, "IN");
            RejectEmptyPath(edit.out, "OUT");
            RequireInputFile(edit.in);
            return RunEdit(edit);
        }
        if (*newCommand) {
            RejectEmptyPath(newOut, "OUT");
            return RunNew(newOut);
        }
        if (*checkCommand) {
            RequireInputFile(checkFile, kExitUsage);
            return RunCheck(checkFile);
        }
        if (*importCommand) {
            RejectEmptyPath(import.bank, "BANK");
            RejectEmptyPath(import.out, "OUT");
            RequireInputFile(import.bank);
            for (const std::string& file : import.files) RequireInputFile(file);
            return RunImport(import);
        }
        if (*recoverCommand) {
            if (!recover.list && (recover.number == 0 || recover.out.empty()))
                throw UsageError("recover needs --list, or N and OUT");
            return RunRecover(recover);
        }
        if (*renderCommand) {
            RejectEmptyPath(render.file, "FILE");
            RejectEmptyPath(render.out, "OUT");
            RequireInputFile(render.file);
            return RunRender(render);
        }
        if (*exportCommand) {
            RejectEmptyPath(exportOptions.bank, "BANK");
            RequireInputFile(exportOptions.bank);
            return RunExport(exportOptions);
        }
    } catch (const CliError& e) {
        std::cerr << "voxtane-syx: " << e.what() << '\n';
        return e.ExitCode();
    } catch (const std::exception& e) {
        std::cerr << "voxtane-syx: " << e.what() << '\n';
        return kExitFailure;
    }
    return kExitUsage;
}
