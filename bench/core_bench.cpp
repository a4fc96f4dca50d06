// The editor's core: decoding and encoding one patch, and loading and decoding a whole bank.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <array>
#include <filesystem>
#include <string>

#include "editor/editor_run.h"
#include "editor/scripted_platform.h"
#include "handler_walk.h"
#include "varied_tones.h"

namespace {

using namespace voxtane;

struct Editor {
    Editor() : run(platform) { run.Start(); }
    editor::ScriptedPlatform platform{"/nonexistent"};
    editor::EditorRun run;
};

// Sixteen tones, each differing from the next in every control.
std::array<ToneRecord, 16> VariedRecords() {
    Editor editor;
    bench::VaryBank(editor.run.form1, 1);
    std::array<ToneRecord, 16> records{};
    for (int patch = 0; patch < 16; ++patch)
        records[patch] = editor.run.module1.PatchBank[patch + 1];
    return records;
}

// A private folder under the temporary directory, removed when the program ends.
struct TemporaryFolder {
    TemporaryFolder()
        : path(std::filesystem::temp_directory_path() /
               ("voxtane-bench-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path);
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    std::filesystem::path path;
};

// A bank file of those 16 tones written by the editor itself, with its names file.
const std::string& BankFile() {
    static const TemporaryFolder folder;
    static const std::string path = [] {
        Editor editor;
        bench::VaryBank(editor.run.form1, 1);
        const std::string file = (folder.path / "bank.syx").string();
        editor.platform.QueueFileChoice(file);
        editor.run.form1.cmdSave_Click();
        return file;
    }();
    return path;
}

// A decoding message would be a box the user has to close: the figures hold only without any.
bool ReportMessages(benchmark::State& state, const editor::ScriptedPlatform& platform) {
    if (platform.Messages().empty()) return true;
    state.SkipWithError(
        ("the editor showed a message: " + platform.Messages().front().text).c_str());
    return false;
}

// One decode of the scratch record into the controls. Controls raise their events only when
// their value changes, so each decode takes the next of sixteen tones that differ in every
// control: decoding the same record again would change nothing and cost next to nothing.
void DecodeOnePatch(benchmark::State& state) {
    const std::array<ToneRecord, 16> records = VariedRecords();
    Editor editor;
    auto& form = editor.run.form1;
    std::size_t next = 0;
    for (auto _ : state) {
        editor.run.module1.ScratchRecord = records[next];
        next = (next + 1) % records.size();
        form.ParseSysex();
        benchmark::DoNotOptimize(form.txtDCO2Lvl.Text(7));
    }
    ReportMessages(state, editor.platform);
}
BENCHMARK(DecodeOnePatch);

// Every handler of every control once, as re-entering the whole patch would.
void EncodeOnePatch(benchmark::State& state) {
    Editor editor;
    auto& form = editor.run.form1;
    bench::VaryTone(form, 1);
    for (auto _ : state) {
        editor::RaiseEveryHandler(form);
        benchmark::DoNotOptimize(editor.run.module1.ScratchRecord);
    }
    ReportMessages(state, editor.platform);
}
BENCHMARK(EncodeOnePatch);

// The whole Load command (read the bank and names files, reset the controls, fill the bank,
// decode patch 1) and a decode of the other 15 patches by selecting each in turn. The load
// resets the controls to the default tone first, so every iteration decodes from the same state.
void LoadAndDecodeBank(benchmark::State& state) {
    const std::string& file = BankFile();
    Editor editor;
    auto& form = editor.run.form1;
    for (auto _ : state) {
        editor.platform.QueueFileChoice(file);
        form.cmdLoad_Click();
        for (int patch = 1; patch < 16; ++patch) form.cboPatches.SetListIndex(patch);
        benchmark::DoNotOptimize(editor.run.module1.ScratchRecord);
    }
    if (ReportMessages(state, editor.platform) && editor.run.module1.PatchCount != 16)
        state.SkipWithError("the bank file did not give 16 patches");
}
BENCHMARK(LoadAndDecodeBank)->Unit(benchmark::kMicrosecond);

// A whole editor run started as the program starts it (defaults, bank, patch 1, device list).
void StartEditor(benchmark::State& state) {
    for (auto _ : state) {
        Editor editor;
        benchmark::DoNotOptimize(editor.run.module1.PatchBank);
    }
}
BENCHMARK(StartEditor)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
