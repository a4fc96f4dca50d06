#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "editor/controls.h"
#include "editor/linked_editor.h"
#include "editor/midi_commands.h"
#include "editor/platform.h"
#include "editor/settings_store.h"
#include "editor/synth_audition.h"
#include "editor/ticker.h"
#include "midi/bank_exchange.h"
#include "midi/dump_coalescer.h"
#include "midi/midi_run.h"
#include "midi/synth_connection.h"
#include "midi/tone_exchange.h"

namespace voxtane::editor {

// The choices of MIDI Setup that the link keeps between runs.
struct LinkSettings {
    std::string input;  // the MIDI input the synth's MIDI OUT reaches; "" for none
    int channel = 1;    // 1 to 16
    bool sendWhileEditing = false;
    friend bool operator==(const LinkSettings&, const LinkSettings&) = default;
};

// The two-way link with the synth: fetching tones from its memories, writing tones into them,
// confirming "Send Patch", sending every edit while editing, and All Notes Off. Exchanges run on
// the ticker and never wait on the window's thread: an operation starts, the ticker feeds the
// exchange machine what arrives, and the end is reported in the status or a message box.
//
// While an exchange runs it owns the output: Send Patch and Play Note are refused with a word in
// the status, All Notes Off and Send While Editing wait for its end, and a sounding test note is
// ended before the exchange's first message. A fetch asks in the form the synth last answered
// (see midi::FetchForm), kept in the settings.
class SynthLink : public SynthAudition, private SendCoordinator {
  public:
    // `title` is the program's, for the message boxes.
    SynthLink(midi::MidiRun& midiRun, MidiCommands& midiCommands, Platform& platform,
              SettingsStore& settings, Ticker& ticker, LinkedEditor& editor,
              const std::string& title);
    ~SynthLink() override;
    SynthLink(const SynthLink&) = delete;
    SynthLink& operator=(const SynthLink&) = delete;

    [[nodiscard]] const LinkSettings& Settings() const { return settings_; }
    // Takes new settings (from MIDI Setup) and keeps them for the next run.
    void ApplySettings(const LinkSettings& settings);

    // The Synth menu. Each asks what it needs (a memory, a confirmation), then starts; while an
    // exchange runs, no other starts.
    void GetPatch();
    void GetPatchFrom(midi::SynthMemory memory);
    // `keepNames`: the patches keep their names; otherwise they become "Internal 1" to 16.
    void GetBank();
    void GetBankNamed(bool keepNames);
    void WritePatch();
    void WritePatchTo(int internal);
    void WriteBank();
    void WriteBankConfirmed();
    void SetSendWhileEditing(bool on);
    // Sends `tone` to the synth's temporary area through the edits' output, coalesced as edits
    // are: a slider dragged through tones sends one dump at a time and always the last. While an
    // exchange runs the tone waits for its end (only the last one).
    void AuditionOnSynth(const ToneRecord& tone) override;
    // Waits for the end of the exchange under way, when one runs.
    void AllNotesOff();
    // Ends the exchange under way; nothing of it is taken.
    void Cancel();

    [[nodiscard]] bool Busy() const { return operation_ != Operation::None; }
    // Progress of Get Bank or Write Bank; nothing for other operations.
    [[nodiscard]] std::optional<midi::BankProgress> Progress() const;
    // One line for the status bar: what happened last.
    [[nodiscard]] const std::string& Status() const { return status_; }
    // Told when Busy, Progress, Status or the settings change.
    Observers<> changed;

    // Drives exchanges and edits on. The ticker calls it; the command line may too.
    void Tick();
    // Tells in the status what the MIDI systems had to say outside any operation (a JACK
    // server that stopped), and lets go of the edits' output so that the next edit opens it
    // again. The window calls it now and then.
    void WatchDevices();

  private:
    enum class Operation { None, GetPatch, GetBank, WritePatch, WriteBank, ConfirmSend };

    // The exchange machines send through the connection of the operation under way.
    class ExchangeOutput : public midi::MessageSink {
      public:
        explicit ExchangeOutput(SynthLink& link) : link_(link) {}
        midi::SinkStatus Send(std::span<const std::uint8_t> message) override;

      private:
        SynthLink& link_;
    };

    [[nodiscard]] bool MaySend(const std::string& operation) override;
    void BeforeToneDump(const ToneRecord& tone) override;
    void AfterToneDump(bool sent) override;
    void NoteStarted() override;
    [[nodiscard]] int Channel() const override { return settings_.channel; }

    [[nodiscard]] bool ReadyFor(const char* operation, bool needsInput);
    [[nodiscard]] bool Open(bool withOutput);
    void Begin(Operation operation);
    void End();
    void Finished(const midi::ExchangeResult& result);
    void Finished(const midi::BankResult& result);
    void Report(const std::string& text, MessageIcon icon = MessageIcon::Exclamation);
    void SetStatus(std::string status);
    [[nodiscard]] std::string WhatToCheck() const;
    [[nodiscard]] std::int32_t OutputDevice() const;
    void ToneEdited();
    // The coalescer of the edits' output, opened when needed; nothing (said in the status,
    // after `who`) when no output is chosen or it cannot be opened.
    [[nodiscard]] midi::DumpCoalescer* EditOutput(const std::string& who);
    void SendToTemporaryArea(const ToneRecord& tone, const std::string& who);
    void StartOrStopEditSending();
    void KeepTicking();
    void SaveSettings();
    void KeepFetchForm();
    void SendAllNotesOff();

    midi::MidiRun& midiRun_;
    MidiCommands& midiCommands_;
    Platform& platform_;
    SettingsStore& store_;
    Ticker& ticker_;
    LinkedEditor& editor_;
    const std::string& title_;
    LinkSettings settings_;

    ExchangeOutput output_{*this};
    midi::ToneExchange exchange_{output_};
    midi::BankExchange bank_{exchange_};
    Operation operation_ = Operation::None;
    std::unique_ptr<midi::SynthConnection> connection_;
    std::optional<midi::SynthMemory> memory_;  // of a single-tone operation
    bool keepNames_ = false;

    // Send While Editing: an output of its own, open while the switch is on.
    std::unique_ptr<midi::SynthConnection> editConnection_;
    std::optional<midi::DumpCoalescer> coalescer_;

    std::string status_;
    // What waits for the end of an exchange to go to the temporary area: the edited tone or a
    // tone auditioned, whichever came last.
    bool pendingEdit_ = false;
    std::optional<ToneRecord> pendingAudition_;
    bool pendingAllNotesOff_ = false;
};

}  // namespace voxtane::editor
