// `voxtane-syx library` run as a user runs it, on a folder tree of generated bank files.
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <random>

#include <gtest/gtest.h>

#include "bank/sysex_bank_reader.h"
#include "library/tone_identity.h"
#include "syx_runner.h"
#include "test_support.h"
#include "tone_collection.h"

namespace voxtane::testing {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

class LibraryCliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::mt19937 random(21);
        fs::create_directories(tones / "synths" / "old");
        for (int i = 0; i < 4; ++i) made.push_back(RandomToneRecord(random));
        WriteBankFile(tones / "synths" / "brass.syx", {made[0], made[1]},
                      {"Warm Brass", "Bright Brass"});
        WriteBankFile(tones / "synths" / "old" / "pads.syx", {made[2], made[0]},
                      {"Soft Pad", "Old Brass"});
        WriteBankFile(tones / "Bell Tree.syx", {made[3]}, {});
        WriteText((tones / "notes.txt").string(), "not a tone\n");
    }

    RunResult Library(std::vector<std::string> args) {
        args.insert(args.begin(), {"library", "--library", db});
        return RunSyx(args);
    }

    Json SearchJson(std::vector<std::string> args) {
        args.insert(args.begin(), "search");
        args.push_back("--json");
        const RunResult run = Library(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return Json::parse(run.out);
    }

    std::string Id(int tone) { return library::ToneHash(made[static_cast<std::size_t>(tone)]); }

    TempFolder home;
    const fs::path tones = home.path() / "tones";
    const std::string db = (home.path() / "lib" / "library.sqlite").string();
    std::vector<ToneRecord> made;
};
using library_cli = LibraryCliTest;

TEST_F(library_cli, AddScansSearchFindsAndJsonListsEverySource) {
    const RunResult added = Library({"add", tones.string()});
    ASSERT_EQ(added.exitCode, 0) << added.err;
    EXPECT_EQ(added.out, "read 4 files (0 unchanged, 0 gone): 5 tones, 4 new to the library\n");
    EXPECT_NE(added.err.find("notes.txt: no tone"), std::string::npos) << added.err;

    const Json brass = SearchJson({"bras"});
    ASSERT_EQ(brass.size(), 2u);
    const Json& warm = brass[0]["id"] == Id(0) ? brass[0] : brass[1];
    EXPECT_EQ(warm["names"], Json({"Warm Brass", "Old Brass"}));
    EXPECT_EQ(warm["sources"].size(), 2u);
    EXPECT_EQ(warm["sources"][0]["file"], (tones / "synths" / "brass.syx").string());
    EXPECT_EQ(warm["sources"][1]["patch"], 2);
    EXPECT_EQ(warm["favourite"], false);

    const RunResult text = Library({"search", "bell"});
    EXPECT_EQ(text.out, Id(3).substr(0, 12) + "  Bell Tree  (1 source)\n");
    EXPECT_EQ(SearchJson({"brsas"}).size(), 2u);  // a typing slip
    EXPECT_EQ(SearchJson({"--limit", "1"}).size(), 1u);
    EXPECT_EQ(SearchJson({"--folder", (tones / "synths" / "old").string()}).size(), 2u);

    const RunResult again = Library({"scan"});
    EXPECT_EQ(again.out, "read 0 files (4 unchanged, 0 gone): 0 tones, 0 new to the library\n");
}

TEST_F(library_cli, TagsAndFavouritesFollowTheToneByAnyUniquePrefix) {
    ASSERT_EQ(Library({"add", tones.string()}).exitCode, 0);
    const std::string soft = Id(2).substr(0, 8);
    EXPECT_EQ(Library({"tag", soft, "evening", "calm"}).exitCode, 0);
    EXPECT_EQ(Library({"untag", soft, "calm"}).exitCode, 0);
    EXPECT_EQ(Library({"favourite", soft}).exitCode, 0);
    EXPECT_EQ(Library({"favourite", Id(3), "--off"}).exitCode, 0);

    const Json tagged = SearchJson({"--tag", "evening"});
    ASSERT_EQ(tagged.size(), 1u);
    EXPECT_EQ(tagged[0]["id"], Id(2));
    EXPECT_EQ(tagged[0]["tags"], Json({"evening"}));
    EXPECT_EQ(tagged[0]["favourite"], true);
    EXPECT_EQ(SearchJson({"--favourite"}).size(), 1u);
    EXPECT_EQ(SearchJson({"even"}).size(), 1u);  // tags are searched as words too
    EXPECT_TRUE(SearchJson({"--tag", "calm"}).empty());

    // The owner's data is also in the JSON file beside the database.
    const Json userData =
        Json::parse(ReadText((home.path() / "lib" / "library-userdata.json").string()));
    EXPECT_EQ(userData["folders"], Json({tones.string()}));
    EXPECT_EQ(userData["tones"].size(), 2u);

    const RunResult unknown = Library({"tag", "ffffffffffffffff0", "x"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("no tone has the id"), std::string::npos);
    EXPECT_EQ(Library({"favourite", "not-hex"}).exitCode, 2);
    EXPECT_EQ(Library({"add", (tones / "missing").string()}).exitCode, 2);
}

TEST_F(library_cli, DupsListsToneFoundTwiceAndBankWritesTheFirstSixteen) {
    ASSERT_EQ(Library({"add", tones.string()}).exitCode, 0);
    const RunResult dups = Library({"dups", "--json"});
    ASSERT_EQ(dups.exitCode, 0) << dups.err;
    const Json list = Json::parse(dups.out);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]["id"], Id(0));

    const std::string out = home.File("picked.syx");
    const RunResult bank = Library({"bank", "brass", out});
    ASSERT_EQ(bank.exitCode, 0) << bank.err;
    const BankReadResult read = ReadSysexBank(out, 20);
    ASSERT_EQ(read.messages.size(), 16u);
    std::vector<std::string> hashes;
    for (int i = 0; i < 2; ++i) {
        ToneRecord record{};
        for (int e = 0; e < kToneEntries; ++e)
            record[e + 1] =
                read.messages[static_cast<std::size_t>(i)].data[static_cast<std::size_t>(e)];
        hashes.push_back(library::ToneHash(record));
    }
    std::sort(hashes.begin(), hashes.end());
    std::vector<std::string> expected{Id(0), Id(1)};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(hashes, expected);
    const std::string names = ReadText(home.File("picked.plf"));
    EXPECT_NE(names.find("Bright Brass\r\n"), std::string::npos);
    EXPECT_NE(names.find("Patch_16\r\n"), std::string::npos);
    EXPECT_EQ(Library({"bank", "xylophone", home.File("none.syx")}).exitCode, 1);
    EXPECT_FALSE(fs::exists(home.File("none.syx")));

    const RunResult stats = Library({"stats"});
    EXPECT_NE(stats.out.find("tones: 4\n"), std::string::npos) << stats.out;
    EXPECT_NE(stats.out.find("files without tones: 1\n"), std::string::npos);
}

TEST_F(library_cli, FeaturesMeasureEveryToneAndSimilarListsTheNearestFirst) {
    ASSERT_EQ(Library({"add", tones.string()}).exitCode, 0);
    const RunResult measured = Library({"features"});
    ASSERT_EQ(measured.exitCode, 0) << measured.err;
    EXPECT_EQ(measured.out, "measured 4 tones\n");
    EXPECT_EQ(Library({"features"}).out, "measured 0 tones\n");

    const RunResult similar = Library(
        {"similar", (tones / "synths" / "old" / "pads.syx").string(), "--patch", "2", "--json"});
    ASSERT_EQ(similar.exitCode, 0) << similar.err;
    const Json list = Json::parse(similar.out);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0]["id"], Id(0));
    EXPECT_EQ(list[0]["distance"], 0.0);
    for (std::size_t i = 1; i < list.size(); ++i)
        EXPECT_LE(list[i - 1]["distance"].get<double>(), list[i]["distance"].get<double>());
    EXPECT_EQ(Library({"similar", (tones / "Bell Tree.syx").string(), "--patch", "2"}).exitCode, 2);
}

TEST_F(library_cli, TheDefaultLibraryLivesInTheUsersDataFolder) {
    const std::string data = (home.path() / "xdg").string();
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    const RunResult added = RunSyx({"library", "add", tones.string()});
    unsetenv("XDG_DATA_HOME");
    ASSERT_EQ(added.exitCode, 0) << added.err;
    EXPECT_TRUE(fs::exists(fs::path(data) / "voxtane" / "library.sqlite"));
}

}  // namespace
}  // namespace voxtane::testing
