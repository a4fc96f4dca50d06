#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/module1.h"
#include "editor/platform.h"
#include "midi/midi_run.h"

namespace voxtane::editor {

// The link with the synth as the senders see it: it owns the output while an exchange runs,
// watches for the synth's answer to "Send Patch", and keeps the timer that ends the test note.
class SendCoordinator {
  public:
    virtual ~SendCoordinator() = default;
    // Whether `operation` may send now; when not, the user has been told why.
    [[nodiscard]] virtual bool MaySend(const std::string& operation) = 0;
    // Right before the dump goes out.
    virtual void BeforeToneDump(const ToneRecord& tone) = 0;
    // Once the operation has ended; `sent` tells whether the dump went out.
    virtual void AfterToneDump(bool sent) = 0;
    // The test note sounds: TickNote is to be called until NoteEnd gives nothing.
    virtual void NoteStarted() = 0;
    // The MIDI channel of the tone dump (its 7n byte) and of the test note: 1 to 16.
    [[nodiscard]] virtual int Channel() const = 0;
};

// The editor's MIDI operations over the multimedia-shaped output layer: the device list shown at
// start-up, "Send Patch" and "Play Note". Each operation opens the chosen device, sends and
// closes it before it returns; every failure is reported to the user under the program's title.
class MidiCommands {
  public:
    MidiCommands(midi::MidiRun& midiRun, Platform& platform, const Module1& module1)
        : midiRun(midiRun), platform_(platform), module1_(module1) {}
    // A note still sounding is ended, so that the synth does not hold it.
    ~MidiCommands() { EndNote(); }
    MidiCommands(const MidiCommands&) = delete;
    MidiCommands& operator=(const MidiCommands&) = delete;

    midi::MidiRun& midiRun;
    std::int16_t NumMidiDevs = 0;
    SendCoordinator* coordinator = nullptr;

    void SelectMidiDevice();
    // The device list's entries, listed afresh: "Device not enabled", then every device that
    // gives its name (a device that does not ends the list, as in the device window).
    [[nodiscard]] std::vector<std::string> ListOutputs();
    void SendPatchSysex(const ToneRecord& record);
    // Whether the message went out (a failed unprepare comes after the sending).
    bool SendLongMessage(const std::string& message);
    // "Play Note": middle C for one second. The note-on goes now and the note-off from TickNote
    // (driven by the coordinator's timer), so that nothing waits; a click while the note sounds
    // plays it again for a full second. Without a coordinator, the call waits for the note.
    void TestNote();
    // When the sounding test note ends; nothing when none sounds.
    [[nodiscard]] std::optional<midi::Clock::TimePoint> NoteEnd() const;
    // Ends the test note once its time has come.
    void TickNote(midi::Clock::TimePoint now);
    // Ends the test note now, if one sounds.
    void EndNote();
    void ReportMidiError(const std::string& operation, std::int16_t code);

  private:
    enum class OpenOutcome { Opened, Failed };
    // Opens the device of the current choice (its entry minus 1; nothing chosen gives -1, the
    // default output). A failure has been reported as "Open" when this gives Failed.
    [[nodiscard]] OpenOutcome OpenChosenDevice();
    void CloseChosenDevice();
    void Close(midi::HMIDIOUT handle);
    void Report(const std::string& text, MessageIcon icon = MessageIcon::None);
    // The coordinator's channel; channel 1 without one.
    [[nodiscard]] int Channel() const {
        return coordinator != nullptr ? coordinator->Channel() : 1;
    }

    Platform& platform_;
    const Module1& module1_;

    struct SoundingNote {
        midi::HMIDIOUT handle;
        int channel;
        midi::Clock::TimePoint end;
    };
    std::optional<SoundingNote> note_;
};

}  // namespace voxtane::editor
