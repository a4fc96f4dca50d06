// voxtane-syx run as a user runs it: its output, exit codes and the files it writes.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bank/sysex_bank_reader.h"
#include "syx_runner.h"
#include "test_support.h"

namespace voxtane::testing {
namespace {

using Json = nlohmann::ordered_json;
using Bytes = std::vector<std::uint8_t>;

// The data bytes (entries 1 to 256) of message `patch` (1-based) of a bank file's bytes.
Bytes MessageData(const Bytes& file, int patch) {
    const auto start = file.begin() + (patch - 1) * kToneDumpLength + 7;
    return {start, start + kToneEntries};
}

Bytes RecordBytes(const ToneRecord& record) {
    return {record.begin() + 1, record.end()};
}

// A folder holding the default bank as `new` writes it.
class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const RunResult made = RunSyx({"new", bank});
        ASSERT_EQ(made.exitCode, 0) << made.err;
    }

    Json Show(const std::string& file, const std::vector<std::string>& extra = {}) {
        std::vector<std::string> args{"show", file};
        args.insert(args.end(), extra.begin(), extra.end());
        const RunResult shown = RunSyx(args);
        EXPECT_EQ(shown.exitCode, 0) << shown.err;
        return Json::parse(shown.out);
    }

    TempFolder folder;
    const std::string bank = folder.File("bank.syx");
};
// The suite's name is the one the command-line tests are selected by (ctest -R cli).
using cli = CliTest;

TEST_F(cli, NewWritesTheStartUpBankAndItsNames) {
    const Bytes bytes = ReadBytes(bank);
    ASSERT_EQ(bytes.size(), 4224u);
    StartedEditor fresh;
    for (int patch = 1; patch <= 16; ++patch) {
        const auto message = bytes.begin() + (patch - 1) * kToneDumpLength;
        EXPECT_EQ(Bytes(message, message + 7), (Bytes{0xF0, 0x44, 0x00, 0x00, 0x70, 0x20,
                                                      static_cast<std::uint8_t>(0x1F + patch)}))
            << "patch " << patch;
        EXPECT_EQ(message[kToneDumpLength - 1], 0xF7) << "patch " << patch;
        EXPECT_EQ(MessageData(bytes, patch), RecordBytes(fresh.module.ScratchRecord))
            << "patch " << patch;
    }

    std::string names;
    for (int i = 1; i <= 16; ++i) names += "Patch_" + std::to_string(i) + "\r\n";
    EXPECT_EQ(ReadText(folder.File("bank.plf")), names);
}

TEST_F(cli, ShowPrintsEveryPatchAsTheEditorShowsIt) {
    const Json patches = Show(bank);
    ASSERT_TRUE(patches.is_array());
    ASSERT_EQ(patches.size(), 16u);

    const Json& first = patches[0];
    EXPECT_EQ(first["patch"], 1);
    EXPECT_EQ(first["name"], "Patch_1");
    EXPECT_EQ(first["messages"], Json::array());
    // One key per tone control, in the editor's order.
    StartedEditor editor;
    std::vector<std::string> expectedKeys, keys;
    for (const auto& named : editor.form.All()) expectedKeys.emplace_back(named.name);
    for (const auto& item : first["controls"].items()) keys.push_back(item.key());
    EXPECT_EQ(keys, expectedKeys);

    const Json& controls = first["controls"];
    EXPECT_EQ(controls["optLS"], 2);
    EXPECT_EQ(controls["optDCA1E"], 7);
    EXPECT_EQ(controls["hsFine"], 0);
    EXPECT_EQ(controls["lblFine"], "0");
    EXPECT_EQ(controls["txtDCA1Rate"], Json({"99", "50", "50", "50", "50", "50", "50", "50"}));
    EXPECT_EQ(controls["txtDCO1Lvl"], Json({"0", "0", "0", "0", "0", "0", "0", "0"}));

    for (int n = 1; n < 16; ++n) {
        EXPECT_EQ(patches[n]["patch"], n + 1);
        EXPECT_EQ(patches[n]["name"], "Patch_" + std::to_string(n + 1));
        EXPECT_EQ(patches[n]["controls"], controls);
        EXPECT_EQ(patches[n]["messages"], Json::array());
    }

    const Json one = Show(bank, {"--patch", "16"});
    ASSERT_TRUE(one.is_object());
    EXPECT_EQ(one, patches[15]);
}

TEST_F(cli, ShowReportsADecodingMessageOnceForItsPatch) {
    Bytes bytes = ReadBytes(bank);
    bytes[6 + 41] = 8;  // DCA 1 end step of patch 1
    WriteBytes(bank, bytes);

    const Json patches = Show(bank);
    ASSERT_EQ(patches.size(), 16u);
    EXPECT_EQ(patches[0]["messages"], Json({"Error in DCA 1 End Step Code, End Step = 8 assumed"}));
    EXPECT_EQ(patches[0]["controls"]["optDCA1E"], 7);
    for (int n = 1; n < 16; ++n) EXPECT_EQ(patches[n]["messages"], Json::array()) << n;
}

TEST_F(cli, EditMakesUserEditsAndSavesTheBankWithItsNames) {
    const std::string out = folder.File("edited.syx");
    const RunResult edited =
        RunSyx({"edit", bank, out, "hsFine=16", "txtDCA1Rate[2]=80", "name=Lead"});
    ASSERT_EQ(edited.exitCode, 0) << edited.err;

    const Json patch = Show(out, {"--patch", "1"});
    EXPECT_EQ(patch["name"], "Lead");
    EXPECT_EQ(patch["controls"]["hsFine"], 16);
    EXPECT_EQ(patch["controls"]["lblFine"], "16");
    EXPECT_EQ(patch["controls"]["txtDCA1Rate"][2], "80");
    EXPECT_EQ(patch["messages"], Json::array());

    const Bytes before = ReadBytes(bank);
    const Bytes after = ReadBytes(out);
    ASSERT_EQ(after.size(), 4224u);
    Bytes expected = MessageData(before, 1);
    expected[5 - 1] = 4;  // fine byte 68 (slider 16): entries 5 and 6
    expected[6 - 1] = 4;
    expected[51 - 1] = 0;  // DCA 1 rate of step 3, code 96, not falling: entries 51 and 52
    expected[52 - 1] = 6;
    EXPECT_EQ(MessageData(after, 1), expected);
    EXPECT_TRUE(std::equal(before.begin() + kToneDumpLength, before.end(),
                           after.begin() + kToneDumpLength));

    std::string names = "Lead\r\n";
    for (int i = 2; i <= 16; ++i) names += "Patch_" + std::to_string(i) + "\r\n";
    EXPECT_EQ(ReadText(folder.File("edited.plf")), names);
    EXPECT_EQ(RunSyx({"check", out}).exitCode, 0);
}

TEST_F(cli, EditWorksOnTheChosenPatchAsTheEditorDoes) {
    const std::string out = folder.File("edited.syx");
    const std::vector<std::string> edits{"optLS=0", "optDCA1S=3", "txtDCW2Lvl[4]=70",
                                         "hsDCA2Key=9"};
    std::vector<std::string> args{"edit", bank, out, "--patch", "3"};
    args.insert(args.end(), edits.begin(), edits.end());
    const RunResult edited = RunSyx(args);
    ASSERT_EQ(edited.exitCode, 0) << edited.err;

    StartedEditor editor;
    editor.form.cboPatches.SetListIndex(2);
    editor.form.optLS.Click(0);
    editor.form.optDCA1S.Click(3);
    editor.form.txtDCW2Lvl.SetText(4, "70");
    editor.form.hsDCA2Key.SetValue(9);
    const Bytes after = ReadBytes(out);
    EXPECT_EQ(MessageData(after, 3), RecordBytes(editor.module.ScratchRecord));
    EXPECT_NE(MessageData(after, 3), MessageData(after, 1));
    EXPECT_EQ(MessageData(after, 1), MessageData(ReadBytes(bank), 1));
}

TEST_F(cli, EditRejectsBadAssignmentsBeforeWritingAnything) {
    const std::string out = folder.File("out.syx");
    for (const std::string bad :
         {"nosuch=1", "hsFine=61", "hsFine=-1", "optLS=4", "optLS=1.5", "optLS=x", "lblFine=3",
          "txtDCA1Rate[8]=10", "txtDCA1Rate=10", "hsFine[0]=1", "name[0]=x", "name=two\nlines",
          "txtDCA1Rate[0]=1\r", "hsFine"}) {
        const RunResult run = RunSyx({"edit", bank, out, "hsFine=5", bad});
        EXPECT_EQ(run.exitCode, 2) << bad;
        EXPECT_FALSE(run.err.empty()) << bad;
        EXPECT_FALSE(std::filesystem::exists(out)) << bad;
        EXPECT_FALSE(std::filesystem::exists(folder.File("out.plf"))) << bad;
    }
    for (const std::string patch : {"0", "17", "two"})
        EXPECT_EQ(RunSyx({"edit", bank, out, "--patch", patch, "hsFine=5"}).exitCode, 2) << patch;
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(cli, FilesThatCannotBeReadOrWrittenFailWithTheEditorsMessage) {
    const std::string junk = folder.File("junk.syx");
    WriteText(junk, "not sysex");
    const std::string out = folder.File("out.syx");
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"show", junk}, {"edit", junk, out, "hsFine=1"}}) {
        const RunResult run = RunSyx(args);
        EXPECT_EQ(run.exitCode, 1) << args[1];
        EXPECT_NE(run.err.find("Nothing was loaded"), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(out));

    const std::string unwritable = folder.File("no/such/folder/out.syx");
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"new", unwritable}, {"edit", bank, unwritable}}) {
        const RunResult run = RunSyx(args);
        EXPECT_EQ(run.exitCode, 1) << args[0];
        EXPECT_NE(run.err.find("could not be written"), std::string::npos) << run.err;
    }
}

TEST_F(cli, CheckListsEveryDeviationWithItsOffset) {
    const RunResult exact = RunSyx({"check", bank});
    EXPECT_EQ(exact.exitCode, 0);
    EXPECT_NE(exact.out.find("ok"), std::string::npos);

    // Message 1 with a wrong header byte and a data byte above 0F, message 2 ended after 100
    // bytes by an F7, then three bytes of junk.
    Bytes bytes = ReadBytes(bank);
    bytes[2] = 0x01;
    bytes[7 + 13] = 0x1F;
    bytes.resize(kToneDumpLength + 100);
    bytes.push_back(0xF7);
    bytes.insert(bytes.end(), {'x', 'y', 'z'});
    const std::string broken = folder.File("broken.syx");
    WriteBytes(broken, bytes);

    const RunResult run = RunSyx({"check", broken});
    EXPECT_EQ(run.exitCode, 1);
    for (const std::string offset : {"offset 2 ", "offset 20 ", "offset 364 ", "offset 365 "})
        EXPECT_NE(run.out.find(offset), std::string::npos) << offset << "in\n" << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 4) << run.out;

    // A file ending inside its first message.
    const Bytes whole = ReadBytes(bank);
    WriteBytes(broken, Bytes(whole.begin(), whole.begin() + 200));
    const RunResult cut = RunSyx({"check", broken});
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_NE(cut.out.find("offset 200"), std::string::npos) << cut.out;

    EXPECT_EQ(RunSyx({"check", folder.File("none.syx")}).exitCode, 2);
}

TEST_F(cli, HelpExitsZeroAndCommandLineMistakesExitTwo) {
    for (const std::string command : {"show", "edit", "new", "check"}) {
        const RunResult help = RunSyx({command, "--help"});
        EXPECT_EQ(help.exitCode, 0) << command;
        EXPECT_NE(help.out.find("Usage"), std::string::npos) << command;
        // Missing arguments.
        EXPECT_EQ(RunSyx({command}).exitCode, 2) << command;
    }
    EXPECT_EQ(RunSyx({}).exitCode, 2);
    EXPECT_EQ(RunSyx({"frobnicate"}).exitCode, 2);
    EXPECT_EQ(RunSyx({"show", "x.syx", "--patch", "one"}).exitCode, 2);
    EXPECT_EQ(RunSyx({"new", "a.syx", "--bogus"}).exitCode, 2);
}

// What a user gets wrong in the first hour is told once, in words that name it: a command
// that does not exist, an input file that is not there (the same words from every command),
// a bank that cannot be written, an export folder whose parent is missing, an envelope number
// the box cannot hold.
TEST_F(cli, MistakesAreToldOnceInWordsThatNameThem) {
    const RunResult bogus = RunSyx({"bogus"});
    EXPECT_EQ(bogus.exitCode, 2);
    EXPECT_NE(bogus.err.find("unknown command 'bogus' (commands: show, edit, new,"),
              std::string::npos)
        << bogus.err;

    const std::string missing = folder.File("missing.syx");
    const std::string said = "voxtane-syx: the file \"" + missing + "\" does not exist\n";
    const std::string out = folder.File("out.syx");
    for (const auto& [args, code] : std::vector<std::pair<std::vector<std::string>, int>>{
             {{"show", missing}, 1},
             {{"edit", missing, out}, 1},
             {{"export", missing, folder.File("x")}, 1},
             {{"import", missing, out, bank}, 1},
             {{"import", bank, out, missing}, 1},
             {{"render", missing, folder.File("x.wav")}, 1},
             {{"send", missing}, 1},
             {{"put", missing, "--out", "0"}, 1},
             {{"check", missing}, 2}}) {
        const RunResult run = RunSyx(args);
        EXPECT_EQ(run.exitCode, code) << args[0];
        EXPECT_EQ(run.err, said) << args[0];
    }
    EXPECT_FALSE(std::filesystem::exists(out));

    const RunResult unwritable = RunSyx({"new", folder.File("no/such/x.syx")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.err.find("Nothing was saved"), std::string::npos) << unwritable.err;
    EXPECT_EQ(unwritable.err.find("without their names"), std::string::npos) << unwritable.err;

    const RunResult deep = RunSyx({"export", bank, folder.File("no/such")});
    EXPECT_EQ(deep.exitCode, 1);
    EXPECT_NE(deep.err.find(folder.File("no") + "\" does not exist"), std::string::npos)
        << deep.err;
    EXPECT_FALSE(std::filesystem::exists(folder.File("no")));
    const RunResult made = RunSyx({"export", bank, folder.File("new/")});
    EXPECT_EQ(made.exitCode, 0) << made.err;
    EXPECT_NE(made.out.find("Made the folder " + folder.File("new")), std::string::npos);

    const RunResult edited = RunSyx({"edit", bank, out, "txtDCW1Rate[3]=150", "txtDCW1Lvl[3]=40"});
    EXPECT_EQ(edited.exitCode, 0) << edited.err;
    EXPECT_EQ(edited.err, "note: DCW 1 step 4 rate: 150 is outside 0 to 99; 0 is stored\n");
    EXPECT_EQ(Show(out, {"--patch", "1"})["controls"]["txtDCW1Rate"][3], "0");
}

}  // namespace
}  // namespace voxtane::testing

namespace voxtane::testing {
namespace {

// Random edits, each undone again: k undos give back the file byte for byte, and an undo and a
// redo give back the edited result; import and export bring the patches in and out again.
TEST_F(cli, EditsUndoneGiveBackTheFileAndImportAndExportCarryThePatches) {
    const std::vector<std::string> choices{"hsFine=9",
                                           "optLS=0",
                                           "txtDCA1Rate[2]=80",
                                           "txtDCW2Lvl[0]=3",
                                           "name=Lead",
                                           "select=4",
                                           "optDCO1Waveform2=6",
                                           "hsDCA2Key=7",
                                           "optDCO2E=3",
                                           "copy",
                                           "paste",
                                           "txtDCO1Lvl[5]=70"};
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
        std::mt19937 random(seed);
        std::vector<std::string> edits{"select=" + std::to_string(1 + random() % 16)};
        for (int i = 0; i < 8; ++i) edits.push_back(choices[random() % choices.size()]);
        std::vector<std::string> undone{"edit", bank, folder.File("undone.syx")};
        undone.insert(undone.end(), edits.begin(), edits.end());
        std::vector<std::string> edited = undone;
        edited[2] = folder.File("edited.syx");
        std::vector<std::string> redone = edited;
        redone[2] = folder.File("redone.syx");
        for (std::size_t i = 0; i < edits.size(); ++i) undone.push_back("undo");
        redone.insert(redone.end(), {"undo", "redo"});
        for (const auto& args : {undone, edited, redone})
            ASSERT_EQ(RunSyx(args).exitCode, 0) << seed;
        EXPECT_EQ(ReadBytes(folder.File("undone.syx")), ReadBytes(bank)) << seed;
        EXPECT_EQ(ReadText(folder.File("undone.plf")), ReadText(folder.File("bank.plf"))) << seed;
        EXPECT_EQ(ReadBytes(folder.File("redone.syx")), ReadBytes(folder.File("edited.syx")));
    }
    // The window's recovery shelf, listed and brought back.
    {
        StartedEditor window;
        window.platform.SetDataFolder(folder.File("data"));
        window.run.recovery.OfferRestore();
        for (const char* name : {"Older", "Newer"}) {
            window.form.cboPatches.SetText(name);
            window.form.cmdNew_Click();
        }
        window.run.recovery.Flush();
    }
    const RunResult listed = RunSyx({"recover", "--list", "--data-dir", folder.File("data")});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 2) << listed.out;
    EXPECT_LT(listed.out.find("Newer"), listed.out.find("Older")) << listed.out;
    EXPECT_EQ(RunSyx({"recover", "2", folder.File("older.syx"), "--data-dir", folder.File("data")})
                  .exitCode,
              0);
    EXPECT_EQ(ReadText(folder.File("older.plf")).substr(0, 16), "Older\r\nPatch_2\r\n");
    EXPECT_EQ(
        RunSyx({"recover", "3", folder.File("no.syx"), "--data-dir", folder.File("data")}).exitCode,
        1);
    EXPECT_EQ(RunSyx({"recover"}).exitCode, 2);
    // Undoing more than was edited stops at the loaded file, and says so.
    const RunResult beyond =
        RunSyx({"edit", bank, folder.File("beyond.syx"), "hsFine=9", "undo", "undo", "undo"});
    ASSERT_EQ(beyond.exitCode, 0) << beyond.err;
    EXPECT_EQ(ReadBytes(folder.File("beyond.syx")), ReadBytes(bank));
    EXPECT_NE(beyond.err.find("nothing left to undo"), std::string::npos) << beyond.err;
    ASSERT_EQ(RunSyx({"export", folder.File("edited.syx"), folder.File("out")}).exitCode, 0);
    EXPECT_EQ(RunSyx({"export", folder.File("edited.syx"), folder.File("out")}).exitCode, 1)
        << "existing files are kept unless --replace";
    std::vector<std::string> import{"import", bank, folder.File("back.syx")};
    for (const auto& entry : std::filesystem::directory_iterator(folder.File("out")))
        if (entry.path().extension() == ".syx") import.push_back(entry.path().string());
    std::sort(import.begin() + 3, import.end());
    const RunResult imported = RunSyx(import);
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(imported.out, "Imported 16 tones into patches 1 to 16.\n");
    EXPECT_EQ(ReadBytes(folder.File("back.syx")), ReadBytes(folder.File("edited.syx")));
    EXPECT_EQ(RunSyx({"import", bank, folder.File("none.syx"), bank + ".missing"}).exitCode, 1);
}

}  // namespace
}  // namespace voxtane::testing
