// `voxtane-syx show` over a folder of 1,000 bank files, against reading the same files with
// `cat`.
//
// Method: one process per file for both, run one after the other over the whole folder, with
// standard output and standard error to /dev/null; an iteration is the whole loop, timed from
// the first start to the last exit. `show` reads a bank file and its names file, so `cat` is
// given both files too: both read the same bytes and both pay a process start per file. The
// files stay in the page cache between loops (they are read over and over), so neither pays for
// the disk.
//
// The banks are made once per run of this program, in a private folder under the temporary
// directory: one `voxtane-syx new`, then 1,000 variations of it made by the editor's core
// (every patch of every bank differs from its neighbours in every control), each saved with its
// names file by the editor's "Save All As". The folder is removed at the end.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/editor_run.h"
#include "editor/scripted_platform.h"
#include "varied_tones.h"

extern char** environ;

namespace {

using namespace voxtane;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kFiles = 1000;

// Runs a program with its output and errors to /dev/null and returns its exit status (-1 when
// it could not be started or did not exit normally).
int RunQuietly(const std::vector<std::string>& args, bool searchPath) {
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = searchPath
                            ? posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ)
                            : posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

class BankFolder {
  public:
    BankFolder()
        : folder_(fs::temp_directory_path() / ("voxtane-cli-bench-" + std::to_string(getpid()))) {
        fs::create_directories(folder_);
        const std::string base = (folder_ / "new.syx").string();
        if (RunQuietly({VOXTANE_SYX, "new", base}, false) != 0) {
            problem_ = "voxtane-syx new failed";
            return;
        }
        editor::ScriptedPlatform platform{folder_.string()};
        editor::EditorRun run(platform);
        run.Start();
        for (int file = 0; file < kFiles; ++file) {
            const std::string path = (folder_ / ("bank" + std::to_string(file) + ".syx")).string();
            platform.QueueFileChoice(base);
            run.form1.cmdLoad_Click();
            bench::VaryBank(run.form1, file);
            platform.QueueFileChoice(path);
            run.form1.cmdSaveAs_Click();
            banks_.push_back(path);
            names_.push_back((folder_ / ("bank" + std::to_string(file) + ".plf")).string());
        }
        if (!platform.Messages().empty()) {
            problem_ = "the editor showed a message while making the banks: " +
                       platform.Messages().front().text;
            return;
        }
        for (const std::string& name : names_)
            if (!fs::exists(name)) problem_ = "no names file " + name;
        // Every bank is exactly what the editor writes, and `show` takes it.
        if (RunQuietly({VOXTANE_SYX, "check", banks_.back()}, false) != 0)
            problem_ = "voxtane-syx check finds the made banks wrong";
        if (RunQuietly({VOXTANE_SYX, "show", banks_.front()}, false) != 0)
            problem_ = "voxtane-syx show fails on the made banks";
    }
    ~BankFolder() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    BankFolder(const BankFolder&) = delete;
    BankFolder& operator=(const BankFolder&) = delete;

    [[nodiscard]] const std::string& Problem() const { return problem_; }
    [[nodiscard]] const std::vector<std::string>& Banks() const { return banks_; }
    [[nodiscard]] const std::vector<std::string>& Names() const { return names_; }

  private:
    fs::path folder_;
    std::vector<std::string> banks_;
    std::vector<std::string> names_;
    std::string problem_;
};

std::unique_ptr<BankFolder> folder;

BankFolder& Folder() {
    if (!folder) folder = std::make_unique<BankFolder>();
    return *folder;
}

template <class Command>
void EachFile(benchmark::State& state, Command command) {
    BankFolder& banks = Folder();
    if (!banks.Problem().empty()) {
        state.SkipWithError(banks.Problem().c_str());
        return;
    }
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        for (int file = 0; file < kFiles; ++file) {
            if (RunQuietly(command(banks, file), true) != 0) {
                state.SkipWithError("a process failed");
                return;
            }
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    state.counters["files"] = kFiles;
}

void ShowEachFile(benchmark::State& state) {
    EachFile(state, [](const BankFolder& banks, int file) {
        return std::vector<std::string>{VOXTANE_SYX, "show", banks.Banks()[file]};
    });
}
// The same processes doing no work: the start-up and exit of voxtane-syx, with its libraries,
// and a short help text. The difference to ShowEachFile is what `show` itself does.
void ShowHelpEachFile(benchmark::State& state) {
    EachFile(state, [](const BankFolder&, int) {
        return std::vector<std::string>{VOXTANE_SYX, "show", "--help"};
    });
}
void CatEachFile(benchmark::State& state) {
    EachFile(state, [](const BankFolder& banks, int file) {
        return std::vector<std::string>{"cat", banks.Banks()[file], banks.Names()[file]};
    });
}
// One iteration is one loop over the whole folder; the repetitions give the median.
BENCHMARK(ShowEachFile)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ShowHelpEachFile)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(CatEachFile)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    folder.reset();
    return 0;
}
