// Start-up of the editor's window to its first frame, against a bare QMainWindow of the same
// size, on Qt's offscreen platform.
//
// Both are measured in one process with one QApplication: each iteration builds the window,
// shows it and processes events until the window's first frame has been painted, then deletes
// it (not timed). A frame is painted in one go by Qt's repaint manager, from the first paint
// event of the window's widgets to the flush of the backing store, all inside one event-loop
// step: once any widget of the window has had its paint event and that step has returned, the
// whole frame is done.
//
// The same program, started as `voxtane_window_bench --first-frame=editor` (or `=bare`), runs
// one window in a fresh process and prints the nanoseconds from the start of main to the first
// frame; the *InFreshProcess benchmarks start it that way, so that what a user waits for at
// program start (libraries' first use, fonts, style) is measured as well.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QApplication>
#include <QMainWindow>
#include <QPointer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "editor/editor_run.h"
#include "midi/clock.h"
#include "midi/recording_backend.h"
#include "midi/scripted_device_window.h"
#include "qt/application_setup.h"
#include "qt/main_window.h"
#include "qt/qt_platform.h"

extern char** environ;

namespace {

using namespace voxtane;
using Clock = std::chrono::steady_clock;

// What the editor's program makes before its event loop, in its order, with two differences:
// the MIDI output is the recording backend (no MIDI system is started), and the device list
// shown at start-up is answered at once with "Device not enabled" instead of by the user.
struct EditorProgram {
    EditorProgram() : run(platform, midiBackend, deviceWindow, clock), window(run) {
        platform.SetMainWindow(&window);
        deviceWindow.QueueClick(0);
        // The unsaved edits of the runs before would be offered back.
        std::error_code ec;
        for (std::filesystem::directory_iterator it(platform.DataFolder(), ec), end;
             !ec && it != end; it.increment(ec))
            if (it->path().extension() == ".vxr") std::filesystem::remove(it->path(), ec);
        run.Start();
    }
    QWidget& Window() { return window; }

    qt::QtPlatform platform;
    midi::RecordingBackend midiBackend;
    midi::ScriptedDeviceWindow deviceWindow;
    midi::SteadyClock clock;
    editor::EditorRun run;
    qt::MainWindow window;
};

// The least a Qt 6 Widgets program shows: an empty main window, as large as the editor's.
struct BareProgram {
    BareProgram() { window.resize(editor::Form1::kWindowWidth, editor::Form1::kWindowHeight); }
    QWidget& Window() { return window; }

    QMainWindow window;
};

// Counts the paint events of one window's widgets.
class PaintWatch : public QObject {
  public:
    explicit PaintWatch(QWidget& window) : window_(&window) { qApp->installEventFilter(this); }
    ~PaintWatch() override { qApp->removeEventFilter(this); }
    PaintWatch(const PaintWatch&) = delete;
    PaintWatch& operator=(const PaintWatch&) = delete;

    [[nodiscard]] int Paints() const { return paints_; }

    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint && object->isWidgetType() &&
            static_cast<QWidget*>(object)->window() == window_)
            ++paints_;
        return false;
    }

  private:
    QPointer<QWidget> window_;
    int paints_ = 0;
};

struct Frame {
    Clock::duration toFirstFrame{};  // from the start of the window's construction
    Clock::duration built{};         // of which the construction, before show()
    Clock::time_point shownAt{};
    int paints = 0;   // paint events of the first frame: how many widgets it drew
    int widgets = 0;  // the window and every widget in it
};

// Shows the window and runs the event loop until its first frame is painted; nothing when no
// frame comes within ten seconds.
std::optional<int> ShowUntilFirstFrame(QWidget& window) {
    PaintWatch watch(window);
    window.show();
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (watch.Paints() == 0) {
        if (Clock::now() > deadline) return std::nullopt;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return watch.Paints();
}

template <class Program>
std::optional<Frame> BuildAndShow() {
    const Clock::time_point start = Clock::now();
    auto program = std::make_unique<Program>();
    const Clock::time_point built = Clock::now();
    const std::optional<int> paints = ShowUntilFirstFrame(program->Window());
    const Clock::time_point shown = Clock::now();
    const QWidget& window = program->Window();
    const auto widgets = static_cast<int>(window.findChildren<QWidget*>().size()) + 1;
    program.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    if (!paints) return std::nullopt;
    return Frame{shown - start, built - start, shown, *paints, widgets};
}

template <class Program>
void WindowToFirstFrame(benchmark::State& state) {
    int paints = 0;
    int widgets = 0;
    double built = 0;
    for (auto _ : state) {
        const std::optional<Frame> frame = BuildAndShow<Program>();
        if (!frame) {
            state.SkipWithError("the window painted no frame within 10 s");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(frame->toFirstFrame).count());
        paints = frame->paints;
        widgets = frame->widgets;
        built += std::chrono::duration<double, std::milli>(frame->built).count();
    }
    state.counters["paint_events"] = paints;
    state.counters["widgets"] = widgets;
    // The part of the time spent before show(), in milliseconds per window.
    state.counters["build_ms"] = benchmark::Counter(built, benchmark::Counter::kAvgIterations);
}

void EditorWindowToFirstFrame(benchmark::State& state) {
    WindowToFirstFrame<EditorProgram>(state);
}
void BareWindowToFirstFrame(benchmark::State& state) {
    WindowToFirstFrame<BareProgram>(state);
}
// Undo of an edit, or a Compare toggle, with the redraw: the shown window, then the action, the
// events it posted, and a repaint of the whole window (more than the action needs).
template <class Action>
void UntilRepainted(benchmark::State& state, Action action) {
    EditorProgram program;
    if (!ShowUntilFirstFrame(program.Window())) {
        state.SkipWithError("the window painted no frame within 10 s");
        return;
    }
    for (int i = 0; i < 1000; ++i)
        program.run.form1.txtDCA1Rate.SetText(2, std::to_string(i % 100));
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        action(program.run);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        program.Window().repaint();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        program.run.form1.hsFine.SetValue(program.run.form1.hsFine.Value() == 1 ? 2 : 1);
    }
    state.counters["history_kb"] = static_cast<double>(program.run.history.BytesHeld()) / 1024;
}

void UndoUntilRepainted(benchmark::State& state) {
    UntilRepainted(state, [](editor::EditorRun& run) { run.history.Undo(); });
}
void CompareToggleUntilRepainted(benchmark::State& state) {
    UntilRepainted(
        state, [](editor::EditorRun& run) { run.compare.SetComparing(!run.compare.Comparing()); });
}
BENCHMARK(UndoUntilRepainted)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(CompareToggleUntilRepainted)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK(EditorWindowToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BareWindowToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

// ---- The first window of a fresh process.

std::string ProgramPath() {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return {};
    return std::string(path, static_cast<std::size_t>(length));
}

// Runs this program with `--first-frame=WHICH` and reads the nanoseconds it prints.
std::optional<double> FirstFrameInFreshProcess(const char* which) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    const std::string program = ProgramPath();
    const std::string option = std::string("--first-frame=") + which;
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(option.c_str()), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    std::string output;
    char buffer[256];
    ssize_t got = 0;
    while (spawned == 0 && (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
        output.append(buffer, static_cast<std::size_t>(got));
    close(pipeEnds[0]);
    if (spawned != 0) return std::nullopt;
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || output.empty()) return std::nullopt;
    return std::strtod(output.c_str(), nullptr) * 1e-9;
}

void FreshProcess(benchmark::State& state, const char* which) {
    for (auto _ : state) {
        const std::optional<double> seconds = FirstFrameInFreshProcess(which);
        if (!seconds) {
            state.SkipWithError("the fresh process showed no frame");
            return;
        }
        state.SetIterationTime(*seconds);
    }
}
void EditorWindowInFreshProcess(benchmark::State& state) {
    FreshProcess(state, "editor");
}
void BareWindowInFreshProcess(benchmark::State& state) {
    FreshProcess(state, "bare");
}
// One process per iteration; the repetitions give the median.
BENCHMARK(EditorWindowInFreshProcess)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(11)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BareWindowInFreshProcess)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(11)
    ->Unit(benchmark::kMillisecond);

// The child: one window in this fresh process, and the nanoseconds from the start of main to
// its first frame on standard output. The editor's program sets up the application as the
// editor's main does; the bare one takes Qt's defaults.
int RunFirstFrame(const Clock::time_point start, char* program, const char* which) {
    int qtArgc = 1;
    char* qtArgv[] = {program, nullptr};
    QApplication app(qtArgc, qtArgv);
    std::optional<Frame> frame;
    if (std::strcmp(which, "editor") == 0) {
        qt::SetUpApplication(app);
        frame = BuildAndShow<EditorProgram>();
    } else {
        frame = BuildAndShow<BareProgram>();
    }
    if (!frame) return 1;
    const auto nanoseconds =
        std::chrono::duration_cast<std::chrono::nanoseconds>(frame->shownAt - start).count();
    std::printf("%lld\n", static_cast<long long>(nanoseconds));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const Clock::time_point start = Clock::now();
    // Always the offscreen platform: no display is needed, and figures do not depend on one.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Settings and copies of unsaved changes of the benchmark's windows stay out of the user's.
    char scratch[] = "/tmp/voxtane-window-bench-XXXXXX";
    if (mkdtemp(scratch) != nullptr) {
        setenv("XDG_DATA_HOME", scratch, 1);
        setenv("XDG_CONFIG_HOME", scratch, 1);
    }

    constexpr const char* kFirstFrame = "--first-frame=";
    if (argc == 2 && std::strncmp(argv[1], kFirstFrame, std::strlen(kFirstFrame)) == 0)
        return RunFirstFrame(start, argv[0], argv[1] + std::strlen(kFirstFrame));

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    QApplication app(argc, argv);
    // Set up once, as the editor's program does; the bare window then shares the style, so the
    // figures compare the windows, not the style's first use.
    qt::SetUpApplication(app);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
