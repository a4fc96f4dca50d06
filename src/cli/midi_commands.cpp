#include "cli/midi_commands.h"

#include <charconv>
#include <iostream>
#include <vector>

#include "bank/bank_limits.h"
#include "cli/cli_error.h"
#include "cli/device_library_loader.h"
#include "editor/editor_run.h"
#include "editor/scripted_platform.h"
#include "midi/scripted_device_window.h"

namespace voxtane::cli {

namespace {

constexpr const char* kInputHelp =
    "The MIDI input the synth's MIDI OUT reaches: its id or its name as `ports --in` shows them";
constexpr const char* kExchangeOutputHelp =
    "The MIDI output to the synth's MIDI IN: its id or its name as `ports` shows them";
constexpr const char* kFromHelp =
    "current (the tone the synth plays now, the default), preset:N, internal:N or cartridge:N, "
    "N 1 to 16";
constexpr const char* kPortHelp =
    "The output device: its id or its name as `ports` shows them. Without it the program's own "
    "port \"Voxtane\" is used, which exists only while the command runs.";

// The editor's texts with their line breaks as a terminal shows them.
std::string ForTerminal(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
        text.erase(at, 1);
    return text;
}

std::string JoinedMessages(const editor::ScriptedPlatform& platform, const std::string& title) {
    std::string text;
    for (const auto& message : platform.Messages())
        if (message.title == title) text += (text.empty() ? "" : "\n") + ForTerminal(message.text);
    return text;
}

std::optional<int> WholeNumber(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// A run of the editor on `backend` whose device list answers with `window`'s script.
struct MidiEditor {
    MidiEditor(midi::MidiBackend& backend, midi::Clock& clock)
        : run(platform, backend, window, clock) {}
    editor::ScriptedPlatform platform;
    midi::ScriptedDeviceWindow window;
    editor::EditorRun run;
};

void ThrowOnMessages(const MidiEditor& editor) {
    const std::string text = JoinedMessages(editor.platform, editor.run.module1.AppTitle);
    if (!text.empty()) throw RuntimeFailure(text);
}

void ChoosePort(const SendOptions& options, midi::ScriptedDeviceWindow& window) {
    if (!options.port) return;  // the window is closed without a choice
    if (const auto id = WholeNumber(*options.port)) {
        window.QueueClick(*id + 1);
    } else {
        window.QueueClickOn(*options.port);
    }
}

// The port asked for must be one the device list offered.
void CheckPortListed(const SendOptions& options, const MidiEditor& editor) {
    if (!options.port) return;
    const std::vector<std::string>& entries = editor.window.Showings().front().entries;
    if (entries.size() <= 1 && *options.port != "-1") throw UsageError(kNoOutputs);
    const auto id = WholeNumber(*options.port);
    if (id && (*id < -1 || *id + 1 >= static_cast<int>(entries.size())))
        throw UsageError("there is no MIDI output device with the id " + *options.port +
                         " (`ports` lists them)");
    if (!editor.window.Unmatched().empty())
        throw UsageError("there is no MIDI output device named \"" + *options.port +
                         "\" (`ports` lists them)");
}

}  // namespace

int RunPorts(midi::MidiBackend& backend, std::ostream& out) {
    midi::SteadyClock clock;
    MidiEditor editor(backend, clock);
    editor.run.Start();
    const std::vector<std::string>& entries = editor.window.Showings().front().entries;
    for (std::size_t i = 0; i < entries.size(); ++i)
        out << static_cast<int>(i) - 1 << "  " << entries[i] << '\n';
    ThrowOnMessages(editor);
    // The first entry is the program's own port; a system may list nothing else (Windows under
    // Wine, a machine without MIDI).
    if (entries.size() <= 1) out << kNoOutputs << '\n';
    return kExitOk;
}

int RunSend(const SendOptions& options, midi::MidiBackend& backend, midi::Clock& clock,
            std::ostream& out) {
    MidiEditor editor(backend, clock);
    ChoosePort(options, editor.window);
    editor.run.Start();
    ThrowOnMessages(editor);
    CheckPortListed(options, editor);

    editor::Form1& form = editor.run.form1;
    Module1& state = editor.run.module1;
    editor.platform.QueueFileChoice(options.file);
    form.cmdLoad_Click();
    if (state.BankFileName != options.file) {
        ThrowOnMessages(editor);
        throw RuntimeFailure("The file \"" + options.file + "\" gave no patch. Nothing was sent.");
    }
    if (options.patch < 1 || options.patch > state.PatchCount)
        throw UsageError("the file holds patches 1 to " + std::to_string(state.PatchCount));
    form.cboPatches.SetListIndex(options.patch - 1);

    // Decoding notes of the loaded file are no failure of sending.
    editor.platform.ClearRecords();
    form.cmdSendOutSysex_Click();
    ThrowOnMessages(editor);
    out << "Sent patch " << options.patch << " (" << form.cboPatches.Text() << ")\n";
    if (options.note) {
        form.cmdPLayANot_Click();
        // The command has nothing else to do: it waits for the note-off here.
        editor::MidiCommands& commands = editor.run.midiCommands;
        while (const auto end = commands.NoteEnd()) {
            midi::SleepUntil(clock, *end);
            commands.TickNote(clock.Now());
        }
        ThrowOnMessages(editor);
        out << "Played the test note\n";
    }
    return kExitOk;
}

MidiCommands::MidiCommands(CLI::App& app) {
    ports_ = app.add_subcommand(
        "ports",
        "List the MIDI output devices as the editor's device list shows them, each "
        "with the id that chooses it.");
    ports_->add_flag("--in", portsIn_, "List the MIDI inputs instead, each with its id");
    send_ = app.add_subcommand(
        "send",
        "Load a bank file and send one patch to a MIDI output device as \"Send Patch\" "
        "does, then optionally play the test note.");
    send_->add_option("FILE", sendOptions_.file, "The bank file (.syx)")->required();
    send_->add_option("--patch", sendPatch_, "The patch to send (default 1)")
        ->check(CLI::Range(1, kBankSlots));
    send_->add_option("--port", sendOptions_.port, kPortHelp);
    send_->add_flag("--note", sendOptions_.note,
                    "Then play the test note (middle C, one second), as \"Play Note\" does");

    get_ = app.add_subcommand("get",
                              "Fetch a tone (or the 16 internal memories) from the synth and save "
                              "it as the editor saves one patch (or a bank), with its names file.");
    get_->add_option("OUT", getOptions_.out, "The file to write (.syx)")->required();
    get_->add_option("--in", getOptions_.input, kInputHelp)->required();
    get_->add_option("--out", getOptions_.output, kExchangeOutputHelp)->required();
    get_->add_option("--channel", getOptions_.channel, "The synth's MIDI channel, 1 to 16");
    auto* from = get_->add_option("--from", getOptions_.from, kFromHelp);
    get_->add_flag("--bank", getOptions_.bank, "Internal memories 1 to 16, as a bank")
        ->excludes(from);

    put_ = app.add_subcommand("put",
                              "Write a patch of a bank file (or every patch) into the synth; "
                              "with --in each tone must be confirmed by the synth.");
    put_->add_option("FILE", putOptions_.file, "The bank file (.syx)")->required();
    put_->add_option("--out", putOptions_.output, kExchangeOutputHelp)->required();
    put_->add_option("--in", putOptions_.input, kInputHelp);
    put_->add_option("--channel", putOptions_.channel, "The synth's MIDI channel, 1 to 16");
    put_->add_option("--patch", putOptions_.patch, "The patch to write (default 1)");
    auto* to = put_->add_option("--to", putOptions_.to,
                                "current (the tone the synth plays now, the default) or "
                                "internal:N (N 1 to 16)");
    put_->add_flag("--bank", putOptions_.bank,
                   "Patches 1 to the file's count into internal memories 1 to that count")
        ->excludes(to);
}

std::optional<int> MidiCommands::RunParsed() {
    if (!*ports_ && !*send_ && !*get_ && !*put_) return std::nullopt;
    if (*send_) RequireInputFile(sendOptions_.file);
    if (*put_) RequireInputFile(putOptions_.file);
    std::string whyNot;
    const std::unique_ptr<DeviceLibrary> library = DeviceLibrary::Load(whyNot);
    if (!library) throw RuntimeFailure(whyNot);
    const std::unique_ptr<midi::MidiBackend> backend = library->SystemBackend();
    if (*ports_)
        return portsIn_ ? RunInputPorts(*backend, std::cout) : RunPorts(*backend, std::cout);
    midi::SteadyClock clock;
    if (*get_) return RunGet(getOptions_, *backend, clock, std::cout);
    if (*put_) return RunPut(putOptions_, *backend, clock, std::cout);
    if (sendPatch_) sendOptions_.patch = *sendPatch_;
    return RunSend(sendOptions_, *backend, clock, std::cout);
}

}  // namespace voxtane::cli
