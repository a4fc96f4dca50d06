#include "editor/midi_commands.h"

#include <array>
#include <chrono>
#include <vector>

#include "bank/sysex_bank_writer.h"

namespace voxtane::editor {

namespace {
constexpr midi::DWORD kNoteOn = 0x7F3C90;   // 90 3C 7F on channel 1
constexpr midi::DWORD kNoteOff = 0x7F3C80;  // 80 3C 7F on channel 1
constexpr std::chrono::seconds kNoteLength{1};

midi::DWORD OnChannel(midi::DWORD message, int channel) {
    return message | static_cast<midi::DWORD>(channel - 1);
}
}  // namespace

void MidiCommands::Report(const std::string& text, MessageIcon icon) {
    platform_.ShowMessage({text, module1_.AppTitle, MessageButtons::Ok, icon});
}

void MidiCommands::SelectMidiDevice() {
    midi::MidiOut& midiOut = midiRun.midiOut;
    midi::VBSYXMID& window = midiRun.vbsyxmid;
    NumMidiDevs = static_cast<std::int16_t>(midiOut.midiOutGetNumDevs());
    window.List1.SetList(0, "Device not enabled");
    for (int i = 0; i < NumMidiDevs; ++i) {
        midi::MIDIOUTCAPSA caps{};
        midiRun.vbsyxgbl.MidiResult = midiOut.midiOutGetDevCapsA(i, &caps, midi::kMidiOutCapsSize);
        if (midiRun.vbsyxgbl.MidiResult != 0) {
            // The devices listed so far stay; the window is still shown.
            Report("midiOutGetDevCaps Error: " + std::to_string(midiRun.vbsyxgbl.MidiResult));
            break;
        }
        window.List1.SetList(i + 1, std::string(caps.szPname));
    }
    window.Show();
    midiRun.deviceWindow.ShowModal(window);
    // Closed by the user without a choice: the choice stays as it was.
    window.Hide();
}

std::vector<std::string> MidiCommands::ListOutputs() {
    std::vector<std::string> names{"Device not enabled"};
    midi::MidiOut& midiOut = midiRun.midiOut;
    const auto count = static_cast<std::int32_t>(midiOut.midiOutGetNumDevs());
    for (std::int32_t i = 0; i < count; ++i) {
        midi::MIDIOUTCAPSA caps{};
        if (midiOut.midiOutGetDevCapsA(i, &caps, midi::kMidiOutCapsSize) != 0) break;
        names.emplace_back(caps.szPname);
    }
    return names;
}

void MidiCommands::SendPatchSysex(const ToneRecord& record) {
    midi::VBSYXGBL& state = midiRun.vbsyxgbl;
    if (state.MidiDeviceChoice.SendsNothing()) return;
    if (const auto entry = FirstUnsendableEntry(record)) {
        Report("The patch was not sent: its entry " + std::to_string(*entry) + " holds " +
                   std::to_string(record[*entry]) +
                   ", and a SysEx message can only carry values 0 to 127.",
               MessageIcon::Exclamation);
        return;
    }
    ToneDump dump = BuildToneDump(record, kSendProgram);
    SetDumpChannel(dump, Channel());
    if (coordinator != nullptr && !coordinator->MaySend("Send Patch")) return;
    state.SysexMessage.assign(dump.begin(), dump.end());
    if (coordinator != nullptr) coordinator->BeforeToneDump(record);
    bool sent = false;
    if (OpenChosenDevice() == OpenOutcome::Opened) {
        sent = SendLongMessage(state.SysexMessage);
        CloseChosenDevice();
    }
    if (coordinator != nullptr) coordinator->AfterToneDump(sent);
}

bool MidiCommands::SendLongMessage(const std::string& message) {
    // The buffer holds the message and a zero after it; the header hands on exactly the message
    // bytes, since bytes after the closing F7 would be malformed MIDI on the wire. The output
    // layer has passed the bytes on when midiOutLongMsg returns, so the buffer may end with the
    // call even when a step fails.
    std::vector<char> buffer(message.begin(), message.end());
    buffer.push_back(0);
    midi::MIDIHDR header{};
    header.lpData = buffer.data();
    header.dwBufferLength = static_cast<midi::DWORD>(message.size());

    midi::MidiOut& midiOut = midiRun.midiOut;
    const midi::HMIDIOUT handle = midiRun.vbsyxgbl.MidiOutHandle;
    auto rc = static_cast<std::int16_t>(
        midiOut.midiOutPrepareHeader(handle, &header, midi::kMidiHdrSize));
    if (rc != 0) {
        Report("Prepare rc = " + std::to_string(rc));
        return false;
    }
    rc = static_cast<std::int16_t>(midiOut.midiOutLongMsg(handle, &header, midi::kMidiHdrSize));
    if (rc != 0) {
        Report("Send Long Message rc= " + std::to_string(rc));
        return false;
    }
    rc = static_cast<std::int16_t>(
        midiOut.midiOutUnprepareHeader(handle, &header, midi::kMidiHdrSize));
    if (rc != 0) Report("Unprepare rc= " + std::to_string(rc));
    return true;
}

void MidiCommands::TestNote() {
    midi::VBSYXGBL& state = midiRun.vbsyxgbl;
    if (state.MidiDeviceChoice.SendsNothing()) return;
    if (coordinator != nullptr && !coordinator->MaySend("Play Note")) return;
    // A failing note message is not reported: the note still ends and the device is closed.
    midi::MidiOut& midiOut = midiRun.midiOut;
    if (note_) {
        (void)midiOut.midiOutShortMsg(note_->handle, OnChannel(kNoteOff, note_->channel));
    } else {
        if (OpenChosenDevice() == OpenOutcome::Failed) return;
        note_ = SoundingNote{state.MidiOutHandle, Channel(), {}};
    }
    note_->channel = Channel();
    (void)midiOut.midiOutShortMsg(note_->handle, OnChannel(kNoteOn, note_->channel));
    // Timed on a monotonic clock, so that the note lasts the full second whatever the machine's
    // speed or the time of day.
    note_->end = midiRun.clock.Now() + kNoteLength;
    if (coordinator != nullptr) {
        coordinator->NoteStarted();
        return;
    }
    midi::SleepUntil(midiRun.clock, note_->end);
    EndNote();
}

std::optional<midi::Clock::TimePoint> MidiCommands::NoteEnd() const {
    if (!note_) return std::nullopt;
    return note_->end;
}

void MidiCommands::TickNote(midi::Clock::TimePoint now) {
    if (note_ && now >= note_->end) EndNote();
}

void MidiCommands::EndNote() {
    if (!note_) return;
    const SoundingNote note = *note_;
    note_.reset();
    (void)midiRun.midiOut.midiOutShortMsg(note.handle, OnChannel(kNoteOff, note.channel));
    Close(note.handle);
}

MidiCommands::OpenOutcome MidiCommands::OpenChosenDevice() {
    midi::VBSYXGBL& state = midiRun.vbsyxgbl;
    state.MidiDeviceId = state.MidiDeviceChoice.DeviceId();
    const auto rc = static_cast<std::int16_t>(midiRun.midiOut.midiOutOpen(
        &state.MidiOutHandle, state.MidiDeviceId, 0, 0, midi::CALLBACK_NULL));
    if (rc != 0) {
        ReportMidiError("Open", rc);
        return OpenOutcome::Failed;
    }
    return OpenOutcome::Opened;
}

void MidiCommands::CloseChosenDevice() {
    Close(midiRun.vbsyxgbl.MidiOutHandle);
}

void MidiCommands::Close(midi::HMIDIOUT handle) {
    const auto rc = static_cast<std::int16_t>(midiRun.midiOut.midiOutClose(handle));
    if (rc != 0) ReportMidiError("Close", rc);
}

void MidiCommands::ReportMidiError(const std::string& operation, std::int16_t code) {
    std::array<char, 132> description{};
    // The code goes on widened with its sign, as the error-text call takes a 32-bit number.
    midiRun.vbsyxgbl.MidiResult = midiRun.midiOut.midiOutGetErrorTextA(
        static_cast<midi::MMRESULT>(static_cast<std::int32_t>(code)), description.data(), 128);
    Report("Operation: " + operation + "\r\n" + std::string(description.data()));
}

}  // namespace voxtane::editor
