// The output layer's own rules: handles, headers, message bytes and error texts.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "midi/midi_out.h"
#include "midi/recording_backend.h"

namespace voxtane::midi {
namespace {

using Kind = RecordedEvent::Kind;
using ::testing::ElementsAre;

struct OpenOutput : ::testing::Test {
    OpenOutput() {
        EXPECT_EQ(midiOut.midiOutGetNumDevs(), 1u);
        EXPECT_EQ(midiOut.midiOutOpen(&handle, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    }
    [[nodiscard]] MMRESULT SendLong(std::vector<char> buffer, DWORD length) {
        MIDIHDR header{};
        header.lpData = buffer.data();
        header.dwBufferLength = length;
        if (const MMRESULT rc = midiOut.midiOutPrepareHeader(handle, &header, kMidiHdrSize))
            return rc;
        return midiOut.midiOutLongMsg(handle, &header, kMidiHdrSize);
    }
    [[nodiscard]] std::string ErrorText(MMRESULT code) {
        char text[128];
        EXPECT_EQ(midiOut.midiOutGetErrorTextA(code, text, sizeof text), MMSYSERR_NOERROR);
        return text;
    }

    RecordingBackend backend{{"synth"}};
    MidiOut midiOut{backend};
    HMIDIOUT handle{};
};

TEST_F(OpenOutput, ALongMessageGoesWholeAndOnlyWhenPrepared) {
    std::vector<char> sysex{'\xF0', '\x44', '\x01', '\xF7', '\0', '\0'};
    MIDIHDR header{};
    header.lpData = sysex.data();
    header.dwBufferLength = 4;
    EXPECT_EQ(midiOut.midiOutLongMsg(handle, &header, kMidiHdrSize), MIDIERR_UNPREPARED);
    EXPECT_EQ(midiOut.midiOutPrepareHeader(handle, &header, 12), MMSYSERR_INVALPARAM);
    ASSERT_EQ(midiOut.midiOutPrepareHeader(handle, &header, kMidiHdrSize), MMSYSERR_NOERROR);
    EXPECT_EQ(header.dwFlags, MHDR_PREPARED);
    ASSERT_EQ(midiOut.midiOutLongMsg(handle, &header, kMidiHdrSize), MMSYSERR_NOERROR);
    EXPECT_EQ(header.dwFlags, MHDR_PREPARED | MHDR_DONE);
    ASSERT_EQ(midiOut.midiOutUnprepareHeader(handle, &header, kMidiHdrSize), MMSYSERR_NOERROR);
    EXPECT_EQ(header.dwFlags & MHDR_PREPARED, 0u);
    EXPECT_THAT(backend.Sent(), ElementsAre(std::vector<std::uint8_t>{0xF0, 0x44, 0x01, 0xF7}));
}

TEST_F(OpenOutput, MalformedSysexIsRefusedWithItsReason) {
    // The spare zeros of a buffer after F7, a data byte above 127, a missing F7.
    const std::vector<char> dump{'\xF0', '\x44', '\x01', '\xF7', '\0', '\0'};
    EXPECT_EQ(SendLong(dump, 6), MMSYSERR_INVALPARAM);
    EXPECT_EQ(ErrorText(MMSYSERR_INVALPARAM),
              "The MIDI output was given something it cannot send (byte 4 ends the SysEx "
              "message before its last byte).");
    EXPECT_EQ(SendLong({'\xF0', '\x44', '\x80', '\xF7'}, 4), MMSYSERR_INVALPARAM);
    EXPECT_EQ(SendLong({'\xF0', '\x44', '\x01'}, 3), MMSYSERR_INVALPARAM);
    EXPECT_EQ(SendLong({'\x44', '\x01'}, 2), MMSYSERR_INVALPARAM);
    EXPECT_TRUE(backend.Sent().empty());
}

TEST_F(OpenOutput, ShortMessagesCarryAsManyBytesAsTheirStatusTakes) {
    EXPECT_EQ(midiOut.midiOutShortMsg(handle, 0x7F3C90), MMSYSERR_NOERROR);
    EXPECT_EQ(midiOut.midiOutShortMsg(handle, 0x7F05C0), MMSYSERR_NOERROR);     // program change
    EXPECT_EQ(midiOut.midiOutShortMsg(handle, 0xFFFFF8), MMSYSERR_NOERROR);     // clock
    EXPECT_EQ(midiOut.midiOutShortMsg(handle, 0x7F3C3C), MMSYSERR_INVALPARAM);  // no status
    EXPECT_EQ(midiOut.midiOutShortMsg(handle, 0x0000F0), MMSYSERR_INVALPARAM);  // SysEx start
    EXPECT_EQ(midiOut.midiOutShortMsg(handle, 0x803C90), MMSYSERR_INVALPARAM);  // data above 127
    EXPECT_THAT(backend.Sent(), ElementsAre(std::vector<std::uint8_t>{0x90, 0x3C, 0x7F},
                                            std::vector<std::uint8_t>{0xC0, 0x05},
                                            std::vector<std::uint8_t>{0xF8}));
}

TEST_F(OpenOutput, AHandleIsGoneAfterItsClose) {
    ASSERT_EQ(midiOut.midiOutClose(handle), MMSYSERR_NOERROR);
    EXPECT_EQ(midiOut.midiOutClose(handle), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(midiOut.midiOutShortMsg(handle, 0x7F3C90), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(backend.Count(Kind::Close), 1u);
}

TEST_F(OpenOutput, AFailedCloseStillLetsGoOfTheHandle) {
    backend.FailCall(MidiCall::Close, MIDIERR_STILLPLAYING);
    EXPECT_EQ(midiOut.midiOutClose(handle), MIDIERR_STILLPLAYING);
    EXPECT_EQ(midiOut.midiOutClose(handle), MMSYSERR_INVALHANDLE);
}

TEST(MidiOutLayer, OpensOnlyListedDevicesTheDefaultOrNothing) {
    RecordingBackend backend{{"a", "b"}};
    MidiOut midiOut{backend};
    HMIDIOUT handle{};
    EXPECT_EQ(midiOut.midiOutOpen(&handle, 2, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(midiOut.midiOutOpen(&handle, -2, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(midiOut.midiOutOpen(&handle, 1, 0, 0, 0x30000), MMSYSERR_INVALFLAG);
    EXPECT_TRUE(backend.Events().empty());
    EXPECT_EQ(midiOut.midiOutOpen(&handle, 1, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    HMIDIOUT second{};
    EXPECT_EQ(midiOut.midiOutOpen(&second, MIDI_MAPPER, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    EXPECT_NE(handle, second);
    EXPECT_EQ(backend.Events()[0].device, 1);
    EXPECT_EQ(backend.Events()[2].device, -1);  // after the default port was made
}

TEST(MidiOutLayer, OutputsLeftOpenAreClosedWithTheRun) {
    RecordingBackend backend{{"a"}};
    {
        MidiOut midiOut{backend};
        HMIDIOUT handle{};
        ASSERT_EQ(midiOut.midiOutOpen(&handle, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    }
    EXPECT_EQ(backend.Count(Kind::Close), 1u);
}

TEST(MidiOutLayer, DeviceNamesAreCutToTheRecordOnWholeCharacters) {
    const std::string longName = "JACK: abcdefghijklmnopqrstuvwxéyz";  // é is bytes 30 and 31
    RecordingBackend backend{{longName}};
    MidiOut midiOut{backend};
    ASSERT_EQ(midiOut.midiOutGetNumDevs(), 1u);
    MIDIOUTCAPSA caps{};
    std::memset(&caps, 'x', sizeof caps);
    ASSERT_EQ(midiOut.midiOutGetDevCapsA(0, &caps, kMidiOutCapsSize), MMSYSERR_NOERROR);
    EXPECT_STREQ(caps.szPname, longName.substr(0, 30).c_str());
    EXPECT_EQ(midiOut.midiOutGetDevCapsA(1, &caps, kMidiOutCapsSize), MMSYSERR_BADDEVICEID);
}

TEST(MidiOutLayer, ErrorTextsFitTheBufferAndNameUnknownCodes) {
    RecordingBackend backend;
    MidiOut midiOut{backend};
    char text[16];
    std::memset(text, 'x', sizeof text);
    EXPECT_EQ(midiOut.midiOutGetErrorTextA(MMSYSERR_BADDEVICEID, text, sizeof text),
              MMSYSERR_NOERROR);
    EXPECT_STREQ(text, "There is no MID");
    char wide[128];
    EXPECT_EQ(midiOut.midiOutGetErrorTextA(999, wide, sizeof wide), MMSYSERR_BADERRNUM);
    EXPECT_STREQ(wide, "Unknown MIDI error 999.");
    EXPECT_EQ(midiOut.midiOutGetErrorTextA(MMSYSERR_ERROR, nullptr, 128), MMSYSERR_INVALPARAM);
}

}  // namespace
}  // namespace voxtane::midi
