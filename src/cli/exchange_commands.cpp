#include "cli/exchange_commands.h"

#include <charconv>
#include <chrono>
#include <ostream>
#include <vector>

#include "bank/atomic_file.h"
#include "bank/names_file.h"
#include "bank/sysex_bank_writer.h"
#include "cli/cli_error.h"
#include "cli/headless_editor.h"
#include "midi/bank_exchange.h"
#include "midi/synth_connection.h"
#include "midi/synth_messages.h"
#include "midi/tone_exchange.h"

namespace voxtane::cli {

namespace {
using namespace std::chrono_literals;

// Often enough that what arrives is taken as it comes, as the exchange's quiet rule wants.
constexpr auto kPoll = 1ms;

std::optional<int> WholeNumber(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The output device id of a port given by id (as `ports` shows it: -1 the program's own) or by
// name.
std::int32_t OutputDevice(const std::string& port, midi::MidiBackend& backend) {
    const std::size_t count = backend.ListDevices();
    if (count == 0 && port != "-1") throw UsageError(std::string(kNoOutputs));
    if (const auto id = WholeNumber(port)) {
        if (*id < -1 || *id >= static_cast<int>(count))
            throw UsageError("there is no MIDI output device with the id " + port +
                             " (`ports` lists them)");
        return *id;
    }
    for (std::size_t i = 0; i < count; ++i)
        if (backend.NameOf(i).name == port) return static_cast<std::int32_t>(i);
    throw UsageError("there is no MIDI output device named \"" + port + "\" (`ports` lists them)");
}

std::string InputName(const std::string& port, midi::MidiBackend& backend) {
    const std::vector<std::string> inputs = backend.InputNames();
    if (inputs.empty()) throw UsageError(std::string(kNoInputs));
    if (const auto id = WholeNumber(port)) {
        if (*id < 0 || *id >= static_cast<int>(inputs.size()))
            throw UsageError("there is no MIDI input with the id " + port +
                             " (`ports --in` lists them)");
        return inputs[*id];
    }
    for (const std::string& name : inputs)
        if (name == port) return name;
    throw UsageError("there is no MIDI input named \"" + port + "\" (`ports --in` lists them)");
}

void CheckChannel(int channel) {
    if (!midi::IsMidiChannel(channel))
        throw UsageError("--channel " + std::to_string(channel) + ": channels are 1 to 16");
}

midi::SynthMemory Memory(const std::string& text, const char* option) {
    const auto memory = midi::ParseSynthMemory(text);
    if (!memory)
        throw UsageError(std::string(option) + " " + text + ": expected " +
                         std::string(midi::kSynthMemoryForms));
    return *memory;
}

std::unique_ptr<midi::SynthConnection> Open(midi::MidiBackend& backend, std::int32_t output,
                                            const std::string& input) {
    midi::SynthConnection::Opened opened = midi::SynthConnection::Open(backend, output, input);
    if (!opened.connection)
        throw RuntimeFailure(
            "could not open " +
            (opened.device.empty() ? std::string("the MIDI device") : "\"" + opened.device + "\"") +
            ": " + opened.status.reason);
    return std::move(opened.connection);
}

// Feeds the machine what arrives and the passing time until it gives its result. Time in which
// the MIDI system stood still does not count: nothing could arrive then.
template <class Machine>
auto RunToEnd(Machine& machine, midi::SynthConnection& connection, midi::Clock& clock) {
    for (;;) {
        for (const auto& message : connection.Received())
            if (auto result = machine.Receive(message, connection.Time(clock.Now())))
                return *result;
        if (auto result = machine.Tick(connection.Time(clock.Now()))) return *result;
        clock.SleepFor(kPoll);
    }
}

void Write(const std::string& path, const std::vector<std::uint8_t>& bytes,
           const std::vector<std::string>& names) {
    const std::string namesPath = NamesFilePath(path);
    if (const FileWriteResult written = WriteNamesFile(namesPath, names); !written.ok())
        throw RuntimeFailure("The names file \"" + namesPath +
                             "\" could not be written: " + written.reason + ".");
    if (const FileWriteResult written = WriteFileAtomically(path, bytes); !written.ok())
        throw RuntimeFailure("The file \"" + path + "\" could not be written: " + written.reason +
                             ".");
}

std::string Capitalized(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 32);
    return text;
}

}  // namespace

int RunInputPorts(midi::MidiBackend& backend, std::ostream& out) {
    const std::vector<std::string> inputs = backend.InputNames();
    for (std::size_t i = 0; i < inputs.size(); ++i) out << i << "  " << inputs[i] << '\n';
    if (inputs.empty()) out << kNoInputs << '\n';
    return kExitOk;
}

int RunGet(const GetOptions& options, midi::MidiBackend& backend, midi::Clock& clock,
           std::ostream& out) {
    CheckChannel(options.channel);
    const midi::SynthMemory memory =
        options.bank ? midi::SynthMemory::Current() : Memory(options.from, "--from");
    const std::int32_t output = OutputDevice(options.output, backend);
    const std::string input = InputName(options.input, backend);
    const auto connection = Open(backend, output, input);
    midi::ToneExchange exchange(*connection);

    std::vector<ToneRecord> tones;
    std::vector<std::string> names;
    if (options.bank) {
        midi::BankExchange bank(exchange);
        if (bank.StartGet(options.channel, clock.Now()) != midi::StartOutcome::Started)
            throw RuntimeFailure("Get Bank could not start");
        const midi::BankResult result = RunToEnd(bank, *connection, clock);
        if (result.outcome != midi::BankOutcome::Completed)
            throw RuntimeFailure("Get Bank failed: " + result.Describe() +
                                 ". Nothing was written.");
        tones = result.tones;
        for (int n = 1; n <= static_cast<int>(tones.size()); ++n)
            names.push_back("Internal " + std::to_string(n));
    } else {
        if (exchange.StartFetch(options.channel, memory, clock.Now()) !=
            midi::StartOutcome::Started)
            throw RuntimeFailure("Get Patch could not start");
        const midi::ExchangeResult result = RunToEnd(exchange, *connection, clock);
        if (!result.Succeeded())
            throw RuntimeFailure("Get Patch failed: " + result.Describe() +
                                 ". Nothing was written.");
        tones.push_back(*result.tone);
        names.push_back(Capitalized(midi::SynthMemoryWords(memory)));
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < tones.size(); ++i) {
        const ToneDump dump = BuildToneDump(tones[i], MemoryPosition(static_cast<int>(i) + 1));
        bytes.insert(bytes.end(), dump.begin(), dump.end());
    }
    // A bank's names file has all 16 names, a single patch's one.
    Write(options.out, bytes, names);
    out << "Got " << (options.bank ? "internal memories 1 to 16" : midi::SynthMemoryWords(memory))
        << " into " << options.out << '\n';
    return kExitOk;
}

int RunPut(const PutOptions& options, midi::MidiBackend& backend, midi::Clock& clock,
           std::ostream& out) {
    CheckChannel(options.channel);
    const midi::SynthMemory target = Memory(options.to, "--to");
    if (!options.bank && target.Area() != midi::MemoryArea::Current &&
        target.Area() != midi::MemoryArea::Internal)
        throw UsageError("--to " + options.to + ": tones go to current or internal:N");
    HeadlessEditor bank;
    bank.Load(options.file);
    const int count = bank.State().PatchCount;
    if (!options.bank && (options.patch < 1 || options.patch > count))
        throw UsageError("--patch " + std::to_string(options.patch) +
                         ": the file holds patches 1 to " + std::to_string(count));
    const std::int32_t output = OutputDevice(options.output, backend);
    const std::string input = options.input ? InputName(*options.input, backend) : "";
    const auto connection = Open(backend, output, input);
    midi::ToneExchange exchange(*connection);
    const midi::Confirmation confirmation =
        options.input ? midi::Confirmation::FromSynth : midi::Confirmation::NoInput;

    if (options.bank) {
        std::vector<ToneRecord> tones(bank.State().PatchBank.begin() + 1,
                                      bank.State().PatchBank.begin() + 1 + count);
        midi::BankExchange writer(exchange);
        if (writer.StartWrite(options.channel, tones, confirmation, clock.Now()) !=
            midi::StartOutcome::Started)
            throw RuntimeFailure(
                "a patch holds an entry a SysEx message cannot carry; nothing was sent");
        const midi::BankResult result = RunToEnd(writer, *connection, clock);
        if (result.outcome != midi::BankOutcome::Completed)
            throw RuntimeFailure("Write Bank failed: " + result.Describe() + ".");
        out << "Wrote patches 1 to " << count << " into internal memories 1 to " << count
            << (options.input ? ", each confirmed by the synth\n"
                              : " (no MIDI input to confirm)\n");
        return kExitOk;
    }
    if (exchange.StartWrite(options.channel, target, bank.State().PatchBank[options.patch],
                            confirmation, clock.Now()) != midi::StartOutcome::Started)
        throw RuntimeFailure(
            "the patch holds an entry a SysEx message cannot carry; nothing was sent");
    const midi::ExchangeResult result = RunToEnd(exchange, *connection, clock);
    if (!result.Succeeded()) throw RuntimeFailure("Write Patch failed: " + result.Describe() + ".");
    out << "Patch " << options.patch << ": " << result.Describe() << '\n';
    return kExitOk;
}

}  // namespace voxtane::cli
