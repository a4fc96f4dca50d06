#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "editor/editor_run.h"
#include "editor/scripted_platform.h"
#include "midi/clock.h"
#include "midi/recording_backend.h"
#include "midi/scripted_device_window.h"

namespace voxtane::testing {

// A clock that only counts: every sleep moves it on by exactly the time asked for, and is
// recorded with what the test wants to know at that moment.
class FakeClock : public midi::Clock {
  public:
    [[nodiscard]] TimePoint Now() const override { return now_; }
    void SleepFor(Duration duration) override {
        now_ += duration;
        sleeps.push_back(duration);
        if (onSleep) onSleep();
    }
    [[nodiscard]] Duration Slept() const {
        Duration total{};
        for (Duration d : sleeps) total += d;
        return total;
    }

    std::vector<Duration> sleeps;
    std::function<void()> onSleep;

  private:
    TimePoint now_{};
};

// An editor whose MIDI output is recorded and whose device list answers from a script. The
// devices and the clicks are set before Start, as the device list is shown at start-up.
struct MidiEditor {
    explicit MidiEditor(std::vector<std::string> devices = {})
        : backend(std::move(devices)), run(platform, backend, window, clock) {}

    void Start() { run.Start(); }
    // Started, with the device list answered by a click on `entry`.
    void StartChoosing(int entry) {
        window.QueueClick(entry);
        Start();
    }
    // Lets the test note run its time, as the window's timer does.
    void LetNoteEnd() {
        for (int i = 0; i < 10 && run.midiCommands.NoteEnd(); ++i) {
            clock.SleepFor(*run.midiCommands.NoteEnd() - clock.Now());
            run.manualTicker.Tick();
        }
    }
    [[nodiscard]] std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const auto& message : platform.Messages()) texts.push_back(message.text);
        return texts;
    }
    [[nodiscard]] std::vector<midi::RecordedEvent::Kind> EventKinds() const {
        std::vector<midi::RecordedEvent::Kind> kinds;
        for (const auto& event : backend.Events()) kinds.push_back(event.kind);
        return kinds;
    }

    editor::ScriptedPlatform platform{"/opt/voxtane"};
    midi::RecordingBackend backend;
    midi::ScriptedDeviceWindow window;
    FakeClock clock;
    editor::EditorRun run;
    editor::Form1& form = run.form1;
    midi::VBSYXGBL& state = run.midi.vbsyxgbl;
};

// The tone dump the synth expects for `record`, written out byte by byte.
std::vector<std::uint8_t> ExpectedToneDump(const ToneRecord& record);

}  // namespace voxtane::testing
