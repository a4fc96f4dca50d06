#include <gtest/gtest.h>

#include "test_support.h"

namespace voxtane::testing {
namespace {

TEST(StartUp, ShowsTheDefaultBankWithPatchOneSelected) {
    StartedEditor editor;
    EXPECT_EQ(editor.form.Caption.Text(), "Voxtane");
    ASSERT_EQ(editor.form.cboPatches.ListCount(), 16);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(editor.form.cboPatches.List(i), "Patch_" + std::to_string(i + 1));
    EXPECT_EQ(editor.form.cboPatches.ListIndex(), 0);
    EXPECT_EQ(editor.form.cboPatches.Text(), "Patch_1");
    EXPECT_EQ(editor.module.PatchCount, 16);
    EXPECT_EQ(editor.module.CurrentPatch, 1);
    EXPECT_EQ(editor.module.PreviousPatch, 0);
    EXPECT_EQ(editor.module.BankFileName, "");
    EXPECT_FALSE(editor.module.ParsingSysex);
    EXPECT_TRUE(editor.platform.Messages().empty());
}

TEST(StartUp, EveryRunStartsFresh) {
    StartedEditor first;
    first.form.hsFine.SetValue(33);
    first.form.cboPatches.SetListIndex(4);
    StartedEditor second;
    EXPECT_EQ(second.form.hsFine.Value(), 0);
    EXPECT_EQ(second.module.CurrentPatch, 1);
    EXPECT_EQ(ToneBytes(second.module.ScratchRecord), ToneBytes(second.module.PatchBank[5]));
}

TEST(PatchSelection, StoresTheEditIntoTheSlotLeftAndShowsItOnReturn) {
    StartedEditor editor;
    const ToneRecord defaults = editor.module.ScratchRecord;
    editor.form.hsFine.SetValue(20);
    editor.form.txtDCA1Rate.SetText(2, "80");

    editor.form.cboPatches.SetListIndex(1);
    EXPECT_EQ(editor.module.CurrentPatch, 2);
    EXPECT_EQ(editor.module.PreviousPatch, 1);
    EXPECT_EQ(editor.form.hsFine.Value(), 0);
    EXPECT_EQ(editor.module.ScratchRecord, defaults);
    EXPECT_NE(editor.module.PatchBank[1], defaults);

    editor.form.cboPatches.SetListIndex(0);
    EXPECT_EQ(editor.form.hsFine.Value(), 20);
    EXPECT_EQ(editor.form.lblFine.Text(), "20");
    EXPECT_EQ(editor.form.txtDCA1Rate.Text(2), "80");
}

TEST(PatchSelection, SelectingTheSamePatchAgainStoresAndDecodesIt) {
    StartedEditor editor;
    editor.form.hsDepth.SetValue(42);
    editor.form.cboPatches.SetListIndex(0);
    EXPECT_EQ(editor.module.PatchBank[1], editor.module.ScratchRecord);
    EXPECT_EQ(editor.form.hsDepth.Value(), 42);
}

TEST(Renaming, TypingRenamesTheCurrentEntryAndKeepsThePatch) {
    StartedEditor editor;
    editor.form.cboPatches.SetListIndex(2);
    editor.form.hsRate.SetValue(7);
    const ToneRecord edited = editor.module.ScratchRecord;

    editor.form.cboPatches.SetText("Patch_3x");
    EXPECT_EQ(editor.form.cboPatches.List(2), "Patch_3x");
    EXPECT_EQ(editor.form.cboPatches.ListIndex(), 2);
    EXPECT_EQ(editor.module.CurrentPatch, 3);
    EXPECT_EQ(editor.module.PatchBank[3], edited);
    EXPECT_EQ(editor.module.ScratchRecord, edited);
    EXPECT_EQ(editor.form.hsRate.Value(), 7);
    EXPECT_EQ(editor.form.cboPatches.SelStart(), 8);
}

TEST(Renaming, ANameIsOneLineOfAtMostAThousandCharacters) {
    StartedEditor editor;
    editor.form.cboPatches.SetText(std::string(1500, 'a'));
    EXPECT_EQ(editor.form.cboPatches.List(0), std::string(1000, 'a'));
    editor.form.cboPatches.SetText("two\r\nlines");
    EXPECT_EQ(editor.form.cboPatches.List(0), "two  lines");
}

TEST(New, ClearsFileAndNamesAndShowsTheDefaultWhicheverEntryIsPicked) {
    StartedEditor editor;
    editor.form.cboPatches.SetListIndex(3);
    editor.form.optModulation.Click(1);
    editor.form.txtDCW2Lvl.SetText(1, "99");
    const ToneRecord slot4Before = editor.module.PatchBank[4];

    editor.form.cmdNew_Click();
    EXPECT_EQ(editor.form.Caption.Text(), "Voxtane");
    EXPECT_EQ(editor.module.BankFileName, "");
    EXPECT_EQ(editor.module.PatchCount, 0);
    EXPECT_EQ(editor.form.cboPatches.ListIndex(), 3);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(editor.form.cboPatches.List(i), "Default_" + std::to_string(i + 1));
    // The default tone keeps the modulation shown, and its falling flags follow the default
    // levels whatever the previous patch held.
    EXPECT_EQ(editor.form.optModulation.Selected(), 1);
    EXPECT_EQ(editor.form.txtDCW2Lvl.Text(1), "0");
    EXPECT_EQ(ReadToneByte(editor.module.ScratchRecord, 16), 32);
    EXPECT_EQ(ReadToneByte(editor.module.ScratchRecord, 98), 196);
    EXPECT_EQ(editor.module.PatchBank[4], slot4Before);

    // With no patches from a file every entry keeps showing the same tone, and each slot left
    // receives it.
    const ToneRecord shown = editor.module.ScratchRecord;
    editor.form.cboPatches.SetListIndex(7);
    EXPECT_EQ(editor.module.ScratchRecord, shown);
    EXPECT_EQ(editor.module.PatchBank[4], shown);
}

TEST(Exit, AnswerNoKeepsEverythingAnswerYesEndsTheProgram) {
    StartedEditor editor;
    editor.form.hsFine.SetValue(9);
    const ToneRecord before = editor.module.ScratchRecord;
    editor.platform.QueueAnswer(editor::MessageAnswer::No);
    editor.form.cmdExit_Click();
    ASSERT_EQ(editor.platform.Messages().size(), 1u);
    const auto& box = editor.platform.Messages()[0];
    EXPECT_EQ(box.text, "Do you want to EXIT?");
    EXPECT_EQ(box.title, "Exit Program");
    EXPECT_EQ(box.buttons, editor::MessageButtons::YesNo);
    EXPECT_EQ(box.icon, editor::MessageIcon::Critical);
    EXPECT_EQ(box.defaultButton, editor::DefaultButton::Second);
    EXPECT_FALSE(editor.platform.Ended());
    EXPECT_EQ(editor.module.ScratchRecord, before);

    editor.platform.QueueAnswer(editor::MessageAnswer::Yes);
    editor.form.cmdExit_Click();
    EXPECT_TRUE(editor.platform.Ended());
}

// The guide is found beside the program (a build tree) or in share/voxtane (installed); beside
// wins, and when neither exists the message names the place beside the program.
TEST(UsingVoxtane, OpensTheGuideBesideTheProgramOrInTheInstalledDataFolder) {
    struct Layout {
        bool beside, installed;
        const char* opened;  // relative to the temporary root; nullptr: a message instead
    };
    for (const Layout layout :
         {Layout{true, false, "bin/voxtane.txt"}, Layout{false, true, "share/voxtane/voxtane.txt"},
          Layout{true, true, "bin/voxtane.txt"}, Layout{false, false, nullptr}}) {
        TempFolder root;
        std::filesystem::create_directories(root.path() / "bin");
        std::filesystem::create_directories(root.path() / "share/voxtane");
        if (layout.beside) WriteText(root.File("bin/voxtane.txt"), "guide");
        if (layout.installed) WriteText(root.File("share/voxtane/voxtane.txt"), "guide");
        editor::ScriptedPlatform platform{root.File("bin")};
        editor::EditorRun run(platform);
        run.Start();
        run.form1.cmdUsingVoxtane_Click();
        if (layout.opened) {
            ASSERT_EQ(platform.Documents().size(), 1u);
            EXPECT_EQ(std::filesystem::path(platform.Documents()[0]), root.path() / layout.opened);
            EXPECT_TRUE(platform.Messages().empty());
        } else {
            EXPECT_TRUE(platform.Documents().empty());
            ASSERT_EQ(platform.Messages().size(), 1u);
            EXPECT_NE(platform.Messages()[0].text.find(root.File("bin/voxtane.txt")),
                      std::string::npos);
        }
    }
}

}  // namespace
}  // namespace voxtane::testing
