// "Send Patch" from the click to the last byte in a receiving program, through a JACK server of
// this program's own (dummy driver, 256 frames at 48 kHz), against one JACK process cycle; and
// the same click on the recording backend.
//
// The server is started as the JACK tests start theirs (jackd --no-realtime -d dummy, a name of
// its own made known through JACK_DEFAULT_SERVER, and the machine-wide lock file that lets one
// such server run at a time). When jackd cannot start here, the JACK benchmarks are skipped and
// say why. The receiver is a JACK client with one MIDI input port (JackTimingSink) that reads
// the clock in its process callback when a SysEx message's last byte arrives.
//
// One editor run on the real system backend is started once, its device list answered with the
// receiver's port, and "Send Patch" is clicked again and again, as a user clicks it. JACK hands
// MIDI on only once per process cycle, so the time from a send to its arrival lies anywhere
// between nothing and one cycle: each click is one repetition (one iteration each), and the
// median is taken over many clicks.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "devices/quiet_libraries.h"
#include "devices/system_midi_backend.h"
#include "editor/editor_run.h"
#include "editor/scripted_platform.h"
#include "jack_server.h"
#include "jack_timing_sink.h"
#include "midi/clock.h"
#include "midi/recording_backend.h"
#include "midi/scripted_device_window.h"

namespace {

using namespace voxtane;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

// When each step of the latest operation of a backend happened.
struct Steps {
    Clock::time_point openStart, opened, sent, closeStart, closed;
};

// A backend that passes every call on to another one and notes when the steps of an operation
// happen: it shows where the time of a click goes.
class TimedConnection : public midi::OutputConnection {
  public:
    TimedConnection(std::unique_ptr<midi::OutputConnection> inner, Steps& steps)
        : inner_(std::move(inner)), steps_(steps) {}
    midi::BackendStatus Prepare(std::span<const std::uint8_t> buffer) override {
        return inner_->Prepare(buffer);
    }
    midi::BackendStatus Unprepare(std::span<const std::uint8_t> buffer) override {
        return inner_->Unprepare(buffer);
    }
    midi::BackendStatus SendLong(std::span<const std::uint8_t> message) override {
        steps_.sent = Clock::now();
        return inner_->SendLong(message);
    }
    midi::BackendStatus SendShort(std::span<const std::uint8_t> message) override {
        return inner_->SendShort(message);
    }
    midi::BackendStatus Close() override {
        steps_.closeStart = Clock::now();
        midi::BackendStatus status = inner_->Close();
        steps_.closed = Clock::now();
        return status;
    }

  private:
    std::unique_ptr<midi::OutputConnection> inner_;
    Steps& steps_;
};

class TimedBackend : public midi::MidiBackend {
  public:
    explicit TimedBackend(midi::MidiBackend& inner) : inner_(inner) {}
    std::size_t ListDevices() override { return inner_.ListDevices(); }
    midi::DeviceName NameOf(std::size_t device) override { return inner_.NameOf(device); }
    midi::OpenedOutput Open(std::size_t device) override {
        steps.openStart = Clock::now();
        return Timed(inner_.Open(device));
    }
    midi::OpenedOutput OpenDefault() override {
        steps.openStart = Clock::now();
        return Timed(inner_.OpenDefault());
    }
    Steps steps;

  private:
    midi::OpenedOutput Timed(midi::OpenedOutput opened) {
        steps.opened = Clock::now();
        if (opened.connection)
            opened.connection =
                std::make_unique<TimedConnection>(std::move(opened.connection), steps);
        return opened;
    }
    midi::MidiBackend& inner_;
};

// An editor run whose device list is answered with one entry, by its text.
struct Editor {
    Editor(midi::MidiBackend& backend, const std::string& device)
        : run(platform, backend, deviceWindow, clock) {
        deviceWindow.QueueClickOn(device);
        run.Start();
    }
    [[nodiscard]] bool DeviceChosen() const {
        return deviceWindow.Unmatched().empty() &&
               run.midi.vbsyxgbl.MidiDeviceChoice.Text() == " 1";
    }
    editor::ScriptedPlatform platform{"/nonexistent"};
    midi::ScriptedDeviceWindow deviceWindow;
    midi::SteadyClock clock;
    editor::EditorRun run;
};

// The JACK server, the receiver, the system backend and the editor runs on it, made on first
// use and kept for the whole program.
struct JackRig {
    std::string whyNot;
    std::unique_ptr<testing::JackServer> server;
    std::unique_ptr<bench::JackTimingSink> sink;
    std::unique_ptr<devices::SystemMidiBackend> backend;
    std::unique_ptr<TimedBackend> timed;
    std::unique_ptr<Editor> editor;       // on the system backend itself
    std::unique_ptr<Editor> timedEditor;  // on the same backend, seen through TimedBackend

    JackRig() {
        devices::QuietMidiLibraries();
        server = testing::JackServer::Start(whyNot);
        if (!server) return;
        sink = bench::JackTimingSink::Open("voxtane-bench-sink");
        if (!sink) {
            whyNot = "the receiving JACK client could not start";
            return;
        }
        backend = std::make_unique<devices::SystemMidiBackend>(
            std::vector<devices::MidiSystem>{devices::MidiSystem::Jack});
        if (backend->SystemNames().empty()) {
            whyNot = "no JACK server is reached";
            return;
        }
        const std::string device = "JACK: " + sink->PortName();
        editor = std::make_unique<Editor>(*backend, device);
        timed = std::make_unique<TimedBackend>(*backend);
        timedEditor = std::make_unique<Editor>(*timed, device);
        if (!editor->DeviceChosen() || !timedEditor->DeviceChosen())
            whyNot = "the editor's device list did not offer " + device;
    }
    ~JackRig() {
        // The editors' clients go before the receiver, and all of them before the server.
        timedEditor.reset();
        editor.reset();
        timed.reset();
        backend.reset();
        sink.reset();
        server.reset();
    }
    [[nodiscard]] bool Ready() const { return whyNot.empty(); }
    [[nodiscard]] double PeriodMs() const {
        return 1000.0 * sink->PeriodFrames() / static_cast<double>(sink->SampleRate());
    }
};

std::unique_ptr<JackRig> rig;

JackRig* Rig(benchmark::State& state) {
    if (!rig) {
        rig = std::make_unique<JackRig>();
        if (!rig->Ready())
            std::fprintf(stderr, "JACK benchmarks skipped: %s\n", rig->whyNot.c_str());
    }
    if (!rig->Ready()) {
        state.SkipWithError(("no JACK server for this benchmark: " + rig->whyNot).c_str());
        return nullptr;
    }
    return rig.get();
}

// The same click on the recording backend, which keeps the bytes as the send hands them over:
// the last byte is "received" before the handler returns, so the time is the whole click. The
// backend keeps every event, so each repetition starts a fresh run and clicks a fixed number of
// times. It runs before the JACK server is started, whose cycles would otherwise interrupt it.
void SendPatchRecordingClick(benchmark::State& state) {
    midi::RecordingBackend backend({"Bench device"});
    Editor editor(backend, "Bench device");
    if (!editor.DeviceChosen()) {
        state.SkipWithError("the device list did not offer the recording device");
        return;
    }
    for (auto _ : state) editor.run.form1.cmdSendOutSysex_Click();
    if (!editor.platform.Messages().empty())
        state.SkipWithError(
            ("the editor showed: " + editor.platform.Messages().front().text).c_str());
    else if (backend.Count(midi::RecordedEvent::Kind::SendLong) !=
             static_cast<std::size_t>(state.iterations()))
        state.SkipWithError("not every click sent the dump");
    // The floor of the JACK figures: the period the JACK server of the benchmarks runs with.
    state.counters["period_ms"] = 1000.0 * 256 / 48000;
}
BENCHMARK(SendPatchRecordingClick)->Iterations(10000)->Unit(benchmark::kMicrosecond);

struct Click {
    Clock::time_point start, returned;
    bench::JackTimingSink::Arrival arrival;
};

// One click of "Send Patch"; nothing when the editor showed a message or the whole dump did
// not arrive within two seconds.
std::optional<Click> SendPatch(JackRig& jack, Editor& editor, std::string& problem) {
    const std::uint64_t before = jack.sink->Last().count;
    Click click;
    click.start = Clock::now();
    editor.run.form1.cmdSendOutSysex_Click();
    click.returned = Clock::now();
    if (!editor.platform.Messages().empty()) {
        problem = "the editor showed: " + editor.platform.Messages().front().text;
        return std::nullopt;
    }
    click.arrival = jack.sink->WaitPast(before, 2s);
    if (click.arrival.count == 0) {
        problem = "the dump did not arrive within 2 s";
        return std::nullopt;
    }
    if (click.arrival.size != editor.run.midi.vbsyxgbl.SysexMessage.size()) {
        problem = "the dump arrived with " + std::to_string(click.arrival.size) + " bytes";
        return std::nullopt;
    }
    return click;
}

// The headline figure: from the click to the last byte in the receiver.
void SendPatchJackClickToLastByte(benchmark::State& state) {
    JackRig* jack = Rig(state);
    if (jack == nullptr) return;
    double handlerMs = 0;
    for (auto _ : state) {
        std::string problem;
        const std::optional<Click> click = SendPatch(*jack, *jack->editor, problem);
        if (!click) {
            state.SkipWithError(problem.c_str());
            return;
        }
        state.SetIterationTime(
            std::chrono::duration<double>(click->arrival.at - click->start).count());
        handlerMs += Milliseconds(click->returned - click->start);
    }
    state.counters["period_ms"] = jack->PeriodMs();
    // Until the click handler returns: it closes the device only once JACK has taken the dump.
    state.counters["handler_ms"] =
        benchmark::Counter(handlerMs, benchmark::Counter::kAvgIterations);
}
BENCHMARK(SendPatchJackClickToLastByte)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(61)
    ->Unit(benchmark::kMillisecond);

// Where the time of a click goes: opening the device (connecting to the port and waiting until
// the connection is part of JACK's graph), the send until the last byte arrives (the figure of
// this benchmark), and the close (waiting until JACK has taken everything sent).
void SendPatchJackSendToLastByte(benchmark::State& state) {
    JackRig* jack = Rig(state);
    if (jack == nullptr) return;
    double openMs = 0, closeMs = 0;
    for (auto _ : state) {
        std::string problem;
        const std::optional<Click> click = SendPatch(*jack, *jack->timedEditor, problem);
        if (!click) {
            state.SkipWithError(problem.c_str());
            return;
        }
        const Steps& steps = jack->timed->steps;
        state.SetIterationTime(
            std::chrono::duration<double>(click->arrival.at - steps.sent).count());
        openMs += Milliseconds(steps.opened - steps.openStart);
        closeMs += Milliseconds(steps.closed - steps.closeStart);
    }
    state.counters["period_ms"] = jack->PeriodMs();
    state.counters["open_ms"] = benchmark::Counter(openMs, benchmark::Counter::kAvgIterations);
    state.counters["close_ms"] = benchmark::Counter(closeMs, benchmark::Counter::kAvgIterations);
}
BENCHMARK(SendPatchJackSendToLastByte)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(61)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    rig.reset();
    return 0;
}
