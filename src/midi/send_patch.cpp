// "Send Patch": the record being edited as one tone dump to the chosen device.
#include <algorithm>
#include <string>
#include <vector>

#include "bank/sysex_bank_writer.h"
#include "midi/device_operations.h"
#include "ui/form1.h"

namespace voxtane::ui {

namespace {
// The first entry that no SysEx data byte can carry, or 0 when all can. A value above 127 would
// end the message on the wire (and a negative one would go as its low byte, above 127 too).
int FirstEntryNotSendable(const ToneRecord& record) {
    for (int entry = 1; entry <= kToneEntries; ++entry)
        if (record[entry] < 0 || record[entry] > 127) return entry;
    return 0;
}
}  // namespace

void Form1::SendPatchSysex() {
    midi::VBSYXGBL& state = midiRun.vbsyxgbl;
    if (state.MidiDeviceChoice == midi::kNoOutputChoice) return;
    if (const int entry = FirstEntryNotSendable(module1.ScratchRecord); entry != 0) {
        platform.ShowMessage({"The patch was not sent: its entry " + std::to_string(entry) +
                                  " holds " + std::to_string(module1.ScratchRecord[entry]) +
                                  ", and a SysEx message can only carry values 0 to 127.",
                              module1.AppTitle, MessageButtons::Ok, MessageIcon::Exclamation});
        return;
    }
    const ToneDump dump = BuildToneDump(module1.ScratchRecord, kSendProgram);
    state.SysexMessage.assign(dump.begin(), dump.end());
    if (midi::OpenChosenDevice(*this) == midi::OpenOutcome::Failed) return;
    SendLongMessage(state.SysexMessage);
    midi::CloseChosenDevice(*this);
}

void Form1::SendLongMessage(const std::string& message) {
    // The buffer holds the message and a zero after it; the header hands on exactly the message
    // bytes, since bytes after the closing F7 would be malformed MIDI on the wire. The output
    // layer has passed the bytes on when midiOutLongMsg returns, so the buffer may end with the
    // call even when a step fails.
    std::vector<char> buffer(message.begin(), message.end());
    buffer.push_back(0);
    midi::MIDIHDR header{};
    header.lpData = buffer.data();
    header.dwBufferLength = static_cast<midi::DWORD>(message.size());
    header.dwBytesRecorded = 0;
    header.dwUser = 0;
    header.dwFlags = 0;
    header.lpNext = nullptr;
    header.reserved = 0;

    midi::MidiOut& midiOut = midiRun.midiOut;
    const midi::HMIDIOUT handle = midiRun.vbsyxgbl.MidiOutHandle;
    auto report = [this](const std::string& text) {
        platform.ShowMessage({text, module1.AppTitle, MessageButtons::Ok});
    };
    auto rc = static_cast<std::int16_t>(
        midiOut.midiOutPrepareHeader(handle, &header, midi::kMidiHdrSize));
    if (rc != 0) {
        report("Prepare rc = " + std::to_string(rc));
        return;
    }
    rc = static_cast<std::int16_t>(midiOut.midiOutLongMsg(handle, &header, midi::kMidiHdrSize));
    if (rc != 0) {
        report("Send Long Message rc= " + std::to_string(rc));
        return;
    }
    rc = static_cast<std::int16_t>(
        midiOut.midiOutUnprepareHeader(handle, &header, midi::kMidiHdrSize));
    if (rc != 0) report("Unprepare rc= " + std::to_string(rc));
}

}  // namespace voxtane::ui
