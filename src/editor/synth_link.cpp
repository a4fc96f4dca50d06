#include "editor/synth_link.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "midi/midi_state.h"
#include "midi/synth_messages.h"

namespace voxtane::editor {

namespace {
using namespace std::chrono_literals;

// Often enough that input is taken as it comes, as the exchange's quiet rule wants.
constexpr std::chrono::milliseconds kTickInterval = 5ms;

constexpr const char* kInputKey = "link/input";
constexpr const char* kChannelKey = "link/channel";
constexpr const char* kSendWhileEditingKey = "link/sendWhileEditing";
constexpr const char* kFetchFormKey = "link/fetchForm";
constexpr const char* kWholeFetchForm = "whole";
constexpr const char* kOpenFetchForm = "open";

std::string OperationName(midi::ExchangeKind kind) {
    return kind == midi::ExchangeKind::Fetch ? "Get Patch" : "Write Patch to Memory";
}

// The memories a tone can be fetched from, in the order Get Patch offers them.
std::vector<midi::SynthMemory> FetchableMemories() {
    std::vector<midi::SynthMemory> memories{midi::SynthMemory::Current()};
    for (midi::MemoryArea area :
         {midi::MemoryArea::Preset, midi::MemoryArea::Internal, midi::MemoryArea::Cartridge})
        for (int n = 1; n <= kMemoriesPerArea; ++n)
            memories.push_back(*midi::SynthMemory::Numbered(area, n));
    return memories;
}

std::string Capitalized(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 32);
    return text;
}
}  // namespace

SynthLink::SynthLink(midi::MidiRun& midiRun, MidiCommands& midiCommands, Platform& platform,
                     SettingsStore& settings, Ticker& ticker, LinkedEditor& editor,
                     const std::string& title)
    : midiRun_(midiRun),
      midiCommands_(midiCommands),
      platform_(platform),
      store_(settings),
      ticker_(ticker),
      editor_(editor),
      title_(title) {
    settings_.input = store_.Read(kInputKey).value_or("");
    const int channel = std::atoi(store_.Read(kChannelKey).value_or("1").c_str());
    settings_.channel = midi::IsMidiChannel(channel) ? channel : 1;
    settings_.sendWhileEditing = store_.Read(kSendWhileEditingKey).value_or("0") == "1";
    if (store_.Read(kFetchFormKey).value_or("") == kWholeFetchForm)
        exchange_.PreferFetchForm(midi::FetchForm::Whole);
    midiCommands_.coordinator = this;
    editor_.WatchCurrentTone([this] { ToneEdited(); });
}

SynthLink::~SynthLink() {
    midiCommands_.coordinator = nullptr;
    ticker_.Stop();
}

void SynthLink::ApplySettings(const LinkSettings& settings) {
    LinkSettings applied = settings;
    if (!midi::IsMidiChannel(applied.channel)) applied.channel = 1;
    // The edits' output and channel may have changed: it is opened afresh at the next edit.
    editConnection_.reset();
    coalescer_.reset();
    settings_ = applied;
    SaveSettings();
    changed.Notify();
}

void SynthLink::SaveSettings() {
    store_.Write(kInputKey, settings_.input);
    store_.Write(kChannelKey, std::to_string(settings_.channel));
    store_.Write(kSendWhileEditingKey, settings_.sendWhileEditing ? "1" : "0");
}

std::int32_t SynthLink::OutputDevice() const {
    return midiRun_.vbsyxgbl.MidiDeviceChoice.DeviceId();
}

void SynthLink::Report(const std::string& text, MessageIcon icon) {
    platform_.ShowMessage({text, title_, MessageButtons::Ok, icon});
}

void SynthLink::SetStatus(std::string status) {
    status_ = std::move(status);
    changed.Notify();
}

std::string SynthLink::WhatToCheck() const {
    return "Check the cable from the synth's MIDI OUT to the MIDI input \"" + settings_.input +
           "\", that the synth receives on MIDI channel " + std::to_string(settings_.channel) +
           ", that its memory protect is off, and that its MIDI settings let it exchange tones.";
}

bool SynthLink::ReadyFor(const char* operation, bool needsInput) {
    if (Busy()) {
        Report(std::string(operation) + " has to wait: an exchange with the synth is under way.");
        return false;
    }
    if (midiRun_.vbsyxgbl.MidiDeviceChoice.SendsNothing()) return false;
    if (needsInput && settings_.input.empty()) {
        Report(std::string(operation) +
               " needs the MIDI input that the synth's MIDI OUT is connected to. Choose it in "
               "Synth > MIDI Setup.");
        return false;
    }
    return true;
}

bool SynthLink::Open(bool withOutput) {
    midi::SynthConnection::Opened opened = midi::SynthConnection::Open(
        midiRun_.backend, withOutput ? std::optional(OutputDevice()) : std::nullopt,
        settings_.input);
    if (!opened.connection) {
        std::string description(128, '\0');
        (void)midiRun_.midiOut.midiOutGetErrorTextA(opened.status.code, description.data(), 128);
        description.resize(description.find('\0'));
        const std::string device =
            opened.device.empty() ? "The MIDI device" : "\"" + opened.device + "\"";
        Report(device + " could not be opened: " +
               (opened.status.reason.empty() ? description : opened.status.reason) + ".");
        return false;
    }
    connection_ = std::move(opened.connection);
    return true;
}

void SynthLink::Begin(Operation operation) {
    // The note-off must not land inside the exchange's messages.
    if (operation != Operation::ConfirmSend) midiCommands_.EndNote();
    operation_ = operation;
    changed.Notify();
}

// What waited for the exchange goes now: the output is free again.
void SynthLink::End() {
    operation_ = Operation::None;
    memory_.reset();
    if (connection_) (void)connection_->Close();
    connection_.reset();
    KeepFetchForm();
    if (pendingAllNotesOff_) {
        pendingAllNotesOff_ = false;
        SendAllNotesOff();
    }
    if (pendingEdit_) ToneEdited();
    if (pendingAudition_) AuditionOnSynth(*std::exchange(pendingAudition_, std::nullopt));
    KeepTicking();
    changed.Notify();
}

void SynthLink::KeepFetchForm() {
    const char* form =
        exchange_.PreferredFetchForm() == midi::FetchForm::Whole ? kWholeFetchForm : kOpenFetchForm;
    if (store_.Read(kFetchFormKey).value_or(kOpenFetchForm) != form)
        store_.Write(kFetchFormKey, form);
}

void SynthLink::GetPatch() {
    if (!ReadyFor("Get Patch", true)) return;
    const std::vector<midi::SynthMemory> memories = FetchableMemories();
    ItemChoiceRequest request{"Get Patch", "Get the current patch from:", {}, 0};
    for (const midi::SynthMemory memory : memories)
        request.items.push_back(Capitalized(midi::SynthMemoryWords(memory)));
    const std::optional<int> chosen = platform_.ChooseItem(request);
    if (!chosen || *chosen < 0 || *chosen >= static_cast<int>(memories.size())) return;
    GetPatchFrom(memories[*chosen]);
}

void SynthLink::GetPatchFrom(midi::SynthMemory memory) {
    if (!ReadyFor("Get Patch", true) || !Open(true)) return;
    memory_ = memory;
    Begin(Operation::GetPatch);
    if (exchange_.StartFetch(settings_.channel, memory, midiRun_.clock.Now()) !=
        midi::StartOutcome::Started) {
        End();
        return;
    }
    SetStatus("Getting " + midi::SynthMemoryWords(memory) + " from the synth...");
    Tick();
}

void SynthLink::GetBank() {
    if (!ReadyFor("Get Bank", true)) return;
    const MessageAnswer answer = platform_.ShowMessage(
        {"Get Bank replaces patches 1 to 16 with the synth's internal memories 1 to 16.\n\n"
         "Name the patches \"Internal 1\" to \"Internal 16\"? (No keeps their names.)",
         "Get Bank", MessageButtons::YesNoCancel, MessageIcon::Information, DefaultButton::First});
    if (answer == MessageAnswer::Cancel) return;
    GetBankNamed(answer == MessageAnswer::No);
}

void SynthLink::GetBankNamed(bool keepNames) {
    if (!ReadyFor("Get Bank", true) || !Open(true)) return;
    keepNames_ = keepNames;
    Begin(Operation::GetBank);
    if (bank_.StartGet(settings_.channel, midiRun_.clock.Now()) != midi::StartOutcome::Started) {
        End();
        return;
    }
    SetStatus("Getting the synth's internal memories...");
    Tick();
}

void SynthLink::WritePatch() {
    if (!ReadyFor("Write Patch to Memory", false)) return;
    ItemChoiceRequest request{"Write Patch to Memory", "Write the current patch into:", {}, 0};
    for (int n = 1; n <= kMemoriesPerArea; ++n)
        request.items.push_back("Internal memory " + std::to_string(n));
    request.initial = std::clamp(editor_.CurrentPatch() - 1, 0, kMemoriesPerArea - 1);
    const std::optional<int> chosen = platform_.ChooseItem(request);
    if (!chosen || *chosen < 0 || *chosen >= kMemoriesPerArea) return;
    const int internal = *chosen + 1;
    if (platform_.ShowMessage(
            {"Write the current patch into the synth's internal memory " +
                 std::to_string(internal) + "? It replaces the tone stored there.",
             "Write Patch to Memory", MessageButtons::YesNo, MessageIcon::Exclamation,
             DefaultButton::Second}) != MessageAnswer::Yes)
        return;
    WritePatchTo(internal);
}

void SynthLink::WritePatchTo(int internal) {
    if (!ReadyFor("Write Patch to Memory", false)) return;
    const auto memory = midi::SynthMemory::Numbered(midi::MemoryArea::Internal, internal);
    if (!memory || !Open(true)) return;
    editor_.ShowEditedPatch();
    memory_ = *memory;
    Begin(Operation::WritePatch);
    const midi::Confirmation confirmation =
        connection_->HasInput() ? midi::Confirmation::FromSynth : midi::Confirmation::NoInput;
    const midi::StartOutcome started = exchange_.StartWrite(
        settings_.channel, *memory, editor_.CurrentTone(), confirmation, midiRun_.clock.Now());
    if (started != midi::StartOutcome::Started) {
        End();
        if (started == midi::StartOutcome::UnsendableTone)
            Report("The patch was not written: it holds an entry a SysEx message cannot carry.");
        return;
    }
    SetStatus("Writing the patch into " + midi::SynthMemoryWords(*memory) + "...");
    Tick();
}

void SynthLink::WriteBank() {
    if (!ReadyFor("Write Bank to Memory", false)) return;
    if (platform_.ShowMessage({"Write patches 1 to 16 into the synth's internal memories 1 to 16? "
                               "They replace every tone stored there.",
                               "Write Bank to Memory", MessageButtons::YesNo,
                               MessageIcon::Exclamation, DefaultButton::Second}) !=
        MessageAnswer::Yes)
        return;
    WriteBankConfirmed();
}

void SynthLink::WriteBankConfirmed() {
    if (!ReadyFor("Write Bank to Memory", false) || !Open(true)) return;
    editor_.ShowEditedPatch();
    Begin(Operation::WriteBank);
    const BankTones tones = editor_.Tones();
    const midi::Confirmation confirmation =
        connection_->HasInput() ? midi::Confirmation::FromSynth : midi::Confirmation::NoInput;
    const midi::StartOutcome started =
        bank_.StartWrite(settings_.channel, tones, confirmation, midiRun_.clock.Now());
    if (started != midi::StartOutcome::Started) {
        End();
        if (started == midi::StartOutcome::UnsendableTone)
            Report(
                "The bank was not written: a patch holds an entry a SysEx message cannot carry.");
        return;
    }
    SetStatus("Writing the bank into the synth's internal memories...");
    Tick();
}

void SynthLink::AllNotesOff() {
    if (midiRun_.vbsyxgbl.MidiDeviceChoice.SendsNothing()) return;
    if (Busy() && operation_ != Operation::ConfirmSend) {
        pendingAllNotesOff_ = true;
        SetStatus("All Notes Off goes as soon as the exchange with the synth ends.");
        return;
    }
    SendAllNotesOff();
}

void SynthLink::SendAllNotesOff() {
    midi::SynthConnection::Opened opened =
        midi::SynthConnection::Open(midiRun_.backend, OutputDevice(), "");
    if (!opened.connection) {
        Report("All Notes Off: the MIDI output could not be opened (" + opened.status.reason +
               ").");
        return;
    }
    const midi::SinkStatus sent = opened.connection->Send(midi::AllNotesOff(settings_.channel));
    (void)opened.connection->Close();
    if (!sent.sent)
        Report("All Notes Off could not be sent (" + sent.reason + ").");
    else
        SetStatus("All notes off on channel " + std::to_string(settings_.channel) + ".");
}

void SynthLink::Cancel() {
    const auto now = midiRun_.clock.Now();
    if (operation_ == Operation::GetBank || operation_ == Operation::WriteBank) {
        if (const auto result = bank_.Cancel(now)) Finished(*result);
    } else if (Busy()) {
        if (const auto result = exchange_.Cancel(now)) Finished(*result);
    }
}

std::optional<midi::BankProgress> SynthLink::Progress() const {
    if (operation_ != Operation::GetBank && operation_ != Operation::WriteBank) return std::nullopt;
    return bank_.Progress();
}

void SynthLink::Tick() {
    const auto wall = midiRun_.clock.Now();
    midiCommands_.TickNote(wall);
    // Time in which the MIDI system stood still does not count against the synth.
    const auto now = connection_ ? connection_->Time(wall) : wall;
    const bool bank = operation_ == Operation::GetBank || operation_ == Operation::WriteBank;
    if (Busy() && connection_) {
        for (const auto& message : connection_->Received()) {
            if (bank) {
                if (const auto result = bank_.Receive(message, now)) return Finished(*result);
                changed.Notify();  // the progress may have moved on
            } else if (const auto result = exchange_.Receive(message, now)) {
                return Finished(*result);
            }
        }
    }
    if (bank) {
        if (const auto result = bank_.Tick(now)) return Finished(*result);
    } else if (Busy()) {
        if (const auto result = exchange_.Tick(now)) return Finished(*result);
    }
    if (coalescer_ && !Busy()) {
        coalescer_->Tick(now);
        if (const auto failure = coalescer_->TakeFailure())
            SetStatus("Send While Editing: the tone could not be sent (" + *failure + ").");
    }
    KeepTicking();
}

void SynthLink::WatchDevices() {
    std::optional<std::string> notice = midiRun_.backend.TakeNotice();
    if (!notice) return;
    coalescer_.reset();  // it sends through the edits' output
    editConnection_.reset();
    SetStatus(std::move(*notice));
}

void SynthLink::KeepTicking() {
    if (Busy() || (coalescer_ && coalescer_->Waiting()) || midiCommands_.NoteEnd())
        ticker_.Start(kTickInterval, [this] { Tick(); });
    else
        ticker_.Stop();
}

void SynthLink::Finished(const midi::ExchangeResult& result) {
    const Operation operation = operation_;
    End();
    if (operation == Operation::ConfirmSend) {
        if (result.Succeeded())
            SetStatus("The synth took the tone.");
        else if (result.outcome != midi::ExchangeOutcome::Cancelled)
            Report("The synth did not confirm the tone that Send Patch sent: " + result.Describe() +
                   ".\n\n" + WhatToCheck());
        return;
    }
    const std::string name = OperationName(result.kind);
    if (result.outcome == midi::ExchangeOutcome::Cancelled) {
        SetStatus(name + " was cancelled.");
        return;
    }
    if (!result.Succeeded()) {
        SetStatus(name + " failed.");
        Report(name + " failed: " + result.Describe() + ".\n\n" +
               (operation == Operation::GetPatch ? "The patch is unchanged. " : "") +
               WhatToCheck());
        return;
    }
    if (operation == Operation::GetPatch) {
        editor_.TakeTone(*result.tone, std::nullopt, "Get Patch");
        SetStatus("Got " + midi::SynthMemoryWords(result.memory) + " from the synth.");
    } else {
        SetStatus(Capitalized(result.Describe()) + ".");
    }
}

void SynthLink::Finished(const midi::BankResult& result) {
    const Operation operation = operation_;
    End();
    const bool get = operation == Operation::GetBank;
    const std::string name = get ? "Get Bank" : "Write Bank to Memory";
    switch (result.outcome) {
        case midi::BankOutcome::Completed:
            if (get) {
                std::vector<std::string> names;
                if (!keepNames_)
                    for (int n = 1; n <= kBankSlots; ++n)
                        names.push_back("Internal " + std::to_string(n));
                editor_.TakePatches(1, result.tones, names, "Get Bank");
                SetStatus("Got internal memories 1 to 16 from the synth.");
            } else {
                SetStatus(Capitalized(result.Describe()) + ".");
            }
            break;
        case midi::BankOutcome::Cancelled:
            SetStatus(name + " was cancelled" +
                      (get ? "; the bank is unchanged." : ": " + result.Written() + "."));
            break;
        case midi::BankOutcome::Failed:
            SetStatus(name + " failed.");
            Report(name + " failed: " + result.Describe() + ".\n\n" +
                   (get ? "Nothing in the bank was changed. " : "") + WhatToCheck());
            break;
    }
}

midi::SinkStatus SynthLink::ExchangeOutput::Send(std::span<const std::uint8_t> message) {
    if (!link_.connection_) return {false, "no MIDI output is open"};
    return link_.connection_->Send(message);
}

bool SynthLink::MaySend(const std::string& operation) {
    if (!Busy() || operation_ == Operation::ConfirmSend) return true;
    SetStatus(operation + " was not sent: an exchange with the synth is under way.");
    return false;
}

// The input is open before the dump goes, so that no part of the answer is missed; the wait for
// the answer starts once the dump has left, however long opening the output took.
void SynthLink::BeforeToneDump(const ToneRecord& /*tone*/) {
    if (settings_.input.empty() || Busy() || !Open(false)) return;
    Begin(Operation::ConfirmSend);
}

void SynthLink::AfterToneDump(bool sent) {
    if (operation_ != Operation::ConfirmSend) return;
    // A failure to send has been reported; there is nothing to confirm.
    if (!sent || exchange_.AwaitConfirmation(settings_.channel, midi::SynthMemory::Current(),
                                             midiRun_.clock.Now()) != midi::StartOutcome::Started) {
        End();
        return;
    }
    SetStatus("Sent the tone; waiting for the synth to confirm it...");
    Tick();
}

void SynthLink::NoteStarted() {
    KeepTicking();
}

void SynthLink::SetSendWhileEditing(bool on) {
    settings_.sendWhileEditing = on;
    SaveSettings();
    if (!on) {
        coalescer_.reset();
        editConnection_.reset();
        SetStatus("Send While Editing is off.");
        KeepTicking();
        return;
    }
    SetStatus("Send While Editing is on: every edit goes to the synth.");
    ToneEdited();
}

// Edits made while an exchange runs wait for its end: a dump must not land inside it.
void SynthLink::ToneEdited() {
    if (!settings_.sendWhileEditing) return;
    if (Busy()) {
        pendingEdit_ = true;
        pendingAudition_.reset();
        return;
    }
    pendingEdit_ = false;
    SendToTemporaryArea(editor_.CurrentTone(), "Send While Editing");
}

void SynthLink::AuditionOnSynth(const ToneRecord& tone) {
    if (Busy()) {
        pendingAudition_ = tone;
        pendingEdit_ = false;
        return;
    }
    SendToTemporaryArea(tone, "Audition on the synth");
}

midi::DumpCoalescer* SynthLink::EditOutput(const std::string& who) {
    if (midiRun_.vbsyxgbl.MidiDeviceChoice.SendsNothing()) return nullptr;
    if (!editConnection_) {
        midi::SynthConnection::Opened opened =
            midi::SynthConnection::Open(midiRun_.backend, OutputDevice(), "");
        if (!opened.connection) {
            SetStatus(who + ": the MIDI output could not be opened (" + opened.status.reason +
                      ").");
            return nullptr;
        }
        editConnection_ = std::move(opened.connection);
        coalescer_.emplace(*editConnection_, settings_.channel);
    }
    return &*coalescer_;
}

void SynthLink::SendToTemporaryArea(const ToneRecord& tone, const std::string& who) {
    midi::DumpCoalescer* coalescer = EditOutput(who);
    if (coalescer == nullptr) return;
    if (coalescer->Edited(tone, midiRun_.clock.Now()) == midi::EditDump::NotSendable)
        SetStatus(who + ": the tone holds an entry the synth cannot take.");
    if (const auto failure = coalescer->TakeFailure())
        SetStatus(who + ": the tone could not be sent (" + *failure + ").");
    KeepTicking();
}

}  // namespace voxtane::editor
