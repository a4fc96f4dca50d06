// From a program's start to its first window on screen: `voxtane` against the least Qt Widgets
// program that shows a dialog with a list (bare_dialog.cpp), as the editor's first window is.
//
// Each repetition starts one fresh process of each. With VOXTANE_EXIT_WHEN_SHOWN set, both end
// at the first expose of their first window and write the steady clock's time of that moment;
// the figure is that time less the time just before the process was spawned. They run on an
// Xvfb display of the benchmark's own, where a window is really mapped; without Xvfb, on Qt's
// offscreen platform (the counter on_xvfb tells which).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "qt/shown_exit.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Spawned {
    pid_t pid = 0;
    int output = -1;  // the read end of the child's standard output
};

// Starts `args` with its standard output (or the descriptor `into`) going into a pipe; nothing
// when it cannot be started.
std::optional<Spawned> Spawn(const std::vector<std::string>& args, int into = -1) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const int target = into >= 0 ? into : STDOUT_FILENO;
    // The read end goes first: it may have the number the write end is to take.
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], target);
    if (pipeEnds[1] != target) posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        return std::nullopt;
    }
    return Spawned{pid, pipeEnds[0]};
}

// Reads up to the first line end, or to the end of the output.
std::string ReadLine(int fd) {
    std::string line;
    char c = 0;
    while (read(fd, &c, 1) == 1 && c != '\n') line += c;
    return line;
}

// An Xvfb server for the benchmark's processes, stopped when the benchmark ends. It tells its
// display number on a pipe once it takes connections.
class VirtualDisplay {
  public:
    VirtualDisplay() {
        constexpr int kDisplayFd = 3;
        server_ = Spawn({"Xvfb", "-displayfd", std::to_string(kDisplayFd), "-screen", "0",
                         "1280x1024x24", "-nolisten", "tcp"},
                        kDisplayFd);
        if (!server_) return;
        const std::string number = ReadLine(server_->output);
        if (!number.empty()) name_ = ":" + number;
    }
    ~VirtualDisplay() {
        if (!server_) return;
        kill(server_->pid, SIGTERM);
        waitpid(server_->pid, nullptr, 0);
        close(server_->output);
    }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // "" when no Xvfb could be started.
    [[nodiscard]] const std::string& Name() const { return name_; }

  private:
    std::optional<Spawned> server_;
    std::string name_;
};

VirtualDisplay& Display() {
    static VirtualDisplay display;
    return display;
}

// The nanoseconds from just before the start of `program` to its first window on screen.
std::optional<double> StartToShown(const char* program) {
    const Clock::time_point before = Clock::now();
    const std::optional<Spawned> child = Spawn({program});
    if (!child) return std::nullopt;
    const std::string shownAt = ReadLine(child->output);
    close(child->output);
    int status = 0;
    waitpid(child->pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || shownAt.empty()) return std::nullopt;
    const auto start =
        std::chrono::duration_cast<std::chrono::nanoseconds>(before.time_since_epoch()).count();
    return (std::strtod(shownAt.c_str(), nullptr) - static_cast<double>(start)) * 1e-9;
}

void StartUntilShown(benchmark::State& state, const char* program) {
    for (auto _ : state) {
        const std::optional<double> seconds = StartToShown(program);
        if (!seconds) {
            state.SkipWithError("the program showed no window");
            return;
        }
        state.SetIterationTime(*seconds);
    }
    state.counters["on_xvfb"] = Display().Name().empty() ? 0 : 1;
}

void EditorStartToShown(benchmark::State& state) {
    StartUntilShown(state, VOXTANE_PROGRAM);
}
void BareDialogStartToShown(benchmark::State& state) {
    StartUntilShown(state, VOXTANE_BARE_DIALOG);
}
// One process per iteration; the repetitions give the median.
BENCHMARK(EditorStartToShown)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(9)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BareDialogStartToShown)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(9)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // The programs' settings, data and copies of unsaved changes stay out of the user's, and
    // both start with none.
    char scratch[] = "/tmp/voxtane-start-bench-XXXXXX";
    if (mkdtemp(scratch) == nullptr) return 1;
    const std::filesystem::path home(scratch);
    for (const char* folder : {"config", "data", "runtime"}) {
        std::filesystem::create_directory(home / folder);
        std::filesystem::permissions(home / folder, std::filesystem::perms::owner_all);
    }
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (home / "runtime").c_str(), 1);
    setenv(voxtane::qt::kExitWhenShownVariable, "1", 1);
    if (Display().Name().empty()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    } else {
        setenv("DISPLAY", Display().Name().c_str(), 1);
        unsetenv("QT_QPA_PLATFORM");
        unsetenv("WAYLAND_DISPLAY");
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return 0;
}
