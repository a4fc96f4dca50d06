// The `ports` and `send` subcommands, run on the recording backend.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "bank/sysex_bank_writer.h"
#include "cli/cli_error.h"
#include "cli/midi_commands.h"
#include "midi_test_support.h"
#include "test_support.h"

namespace voxtane::testing {
namespace {

using Kind = midi::RecordedEvent::Kind;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(PortsCommand, ListsTheDeviceWindowsEntriesWithTheIdsTheyChoose) {
    midi::RecordingBackend backend({"ALSA: Midi Through Port-0", "JACK: synth:in"});
    std::ostringstream out;
    EXPECT_EQ(cli::RunPorts(backend, out), cli::kExitOk);
    EXPECT_EQ(out.str(),
              "-1  Device not enabled\n"
              "0  ALSA: Midi Through Port-0\n"
              "1  JACK: synth:in\n");
}

// A system without devices (Windows under Wine) says so, in the listings and in the commands.
TEST(PortsCommand, WithoutDevicesTheListingsAndTheExchangesSaySo) {
    midi::RecordingBackend backend;
    std::ostringstream out;
    EXPECT_EQ(cli::RunPorts(backend, out), cli::kExitOk);
    EXPECT_EQ(out.str(), "-1  Device not enabled\nno MIDI output devices\n");
    out.str("");
    EXPECT_EQ(cli::RunInputPorts(backend, out), cli::kExitOk);
    EXPECT_EQ(out.str(), "no MIDI inputs\n");
    midi::SteadyClock clock;
    cli::SendOptions send;
    send.file = "bank.syx";  // the port is checked first
    send.port = "0";
    try {
        (void)cli::RunSend(send, backend, clock, out);
        ADD_FAILURE() << "no failure";
    } catch (const cli::CliError& e) {
        EXPECT_STREQ(e.what(), "no MIDI output devices");
    }
    for (const auto& [output, input, message] :
         {std::tuple{"0", "0", "no MIDI output devices"}, {"-1", "0", "no MIDI inputs"}}) {
        cli::GetOptions options;
        options.input = input;
        options.output = output;
        try {
            (void)cli::RunGet(options, backend, clock, out);
            ADD_FAILURE() << "no failure";
        } catch (const cli::CliError& e) {
            EXPECT_EQ(e.ExitCode(), cli::kExitUsage);
            EXPECT_STREQ(e.what(), message);
        }
    }
}

TEST(PortsCommand, ACapabilitiesErrorFailsAfterTheDevicesListedBeforeIt) {
    midi::RecordingBackend backend({"d0", "d1"});
    backend.FailDeviceName(1, midi::MMSYSERR_NODRIVER);
    std::ostringstream out;
    try {
        (void)cli::RunPorts(backend, out);
        ADD_FAILURE() << "no failure";
    } catch (const cli::CliError& e) {
        EXPECT_EQ(e.ExitCode(), cli::kExitFailure);
        EXPECT_STREQ(e.what(), "midiOutGetDevCaps Error: 6");
    }
    EXPECT_EQ(out.str(), "-1  Device not enabled\n0  d0\n");
}

// A bank file of two patches whose second has its fine tuning raised, as the editor saves it.
struct SendCommand : ::testing::Test {
    SendCommand() {
        editor::ScriptedPlatform platform;
        editor::EditorRun run(platform);
        run.Start();
        run.form1.cboPatches.SetListIndex(1);
        run.form1.hsFine.SetValue(20);
        secondPatch = run.module1.ScratchRecord;
        run.form1.cboPatches.SetListIndex(0);
        platform.QueueFileChoice(bank);
        run.form1.cmdSaveAs_Click();
    }
    [[nodiscard]] cli::SendOptions Options(std::optional<std::string> port) const {
        cli::SendOptions options;
        options.file = bank;
        options.patch = 2;
        options.port = std::move(port);
        return options;
    }
    [[nodiscard]] int Run(const cli::SendOptions& options) {
        return cli::RunSend(options, backend, clock, out);
    }

    TempFolder folder;
    std::string bank = folder.File("bank.syx");
    ToneRecord secondPatch{};
    midi::RecordingBackend backend{{"ALSA: Midi Through Port-0", "JACK: synth:in"}};
    FakeClock clock;
    std::ostringstream out;
};

TEST_F(SendCommand, SendsTheChosenPatchToThePortNamedAndPlaysTheNote) {
    cli::SendOptions options = Options("JACK: synth:in");
    options.note = true;
    EXPECT_EQ(Run(options), cli::kExitOk);
    EXPECT_THAT(backend.Sent(), ElementsAre(ExpectedToneDump(secondPatch),
                                            std::vector<std::uint8_t>{0x90, 0x3C, 0x7F},
                                            std::vector<std::uint8_t>{0x80, 0x3C, 0x7F}));
    for (const auto& event : backend.Events()) EXPECT_EQ(event.device, 1);
    EXPECT_EQ(clock.Slept(), std::chrono::seconds(1));
}

TEST_F(SendCommand, TakesThePortByIdAndWithoutOneTheDefaultOutput) {
    EXPECT_EQ(Run(Options("0")), cli::kExitOk);
    EXPECT_EQ(Run(Options(std::nullopt)), cli::kExitOk);
    EXPECT_EQ(Run(Options("-1")), cli::kExitOk);
    std::vector<std::int32_t> opened;
    for (const auto& event : backend.Events())
        if (event.kind == Kind::Open) opened.push_back(event.device);
    EXPECT_THAT(opened, ElementsAre(0, -1, -1));
    EXPECT_TRUE(clock.sleeps.empty());
}

TEST_F(SendCommand, APortThatIsNotListedIsAUsageErrorAndNothingIsSent) {
    for (const char* port : {"JACK: other:in", "2", "-2"}) {
        try {
            (void)Run(Options(port));
            ADD_FAILURE() << port << " was taken";
        } catch (const cli::CliError& e) {
            EXPECT_EQ(e.ExitCode(), cli::kExitUsage) << port;
        }
    }
    EXPECT_TRUE(backend.Events().empty());
}

TEST_F(SendCommand, WhatTheEditorReportsIsTheFailure) {
    backend.FailCall(midi::MidiCall::Open, midi::MMSYSERR_ALLOCATED);
    try {
        (void)Run(Options("1"));
        ADD_FAILURE() << "no failure";
    } catch (const cli::CliError& e) {
        EXPECT_EQ(e.ExitCode(), cli::kExitFailure);
        EXPECT_STREQ(e.what(),
                     "Operation: Open\nThe MIDI output device is in use by another program.");
    }
}

TEST_F(SendCommand, APatchBeyondTheFileOrAFileWithoutPatchesSendsNothing) {
    std::vector<std::uint8_t> twoPatches;
    for (int patch = 1; patch <= 2; ++patch) {
        const ToneDump dump = BuildToneDump(secondPatch, MemoryPosition(patch));
        twoPatches.insert(twoPatches.end(), dump.begin(), dump.end());
    }
    WriteBytes(bank, twoPatches);
    cli::SendOptions options = Options("1");
    options.patch = 3;
    try {
        (void)Run(options);
        ADD_FAILURE() << "patch 3 was taken";
    } catch (const cli::CliError& e) {
        EXPECT_EQ(e.ExitCode(), cli::kExitUsage);
        EXPECT_STREQ(e.what(), "the file holds patches 1 to 2");
    }
    WriteBytes(bank, {});
    try {
        (void)Run(options);
        ADD_FAILURE() << "an empty file was taken";
    } catch (const cli::CliError& e) {
        EXPECT_EQ(e.ExitCode(), cli::kExitFailure);
        EXPECT_THAT(e.what(), HasSubstr(bank));
    }
    EXPECT_TRUE(backend.Events().empty());
}

}  // namespace
}  // namespace voxtane::testing
