// voxtane-syx mutate, morph, breed and randomise, run as a user runs them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../syx_runner.h"
#include "bank/sysex_bank_reader.h"
#include "test_support.h"

namespace voxtane::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Entries `first` to `last` (1-based) of message `patch` (1-based) of a bank file's bytes.
Bytes Entries(const Bytes& file, int patch, int first, int last) {
    const auto data = file.begin() + (patch - 1) * kToneDumpLength + 7;
    return {data + first - 1, data + last};
}

class ExploreCli : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(RunSyx({"new", bank}).exitCode, 0); }
    // Runs a command that writes `out`, and checks the file as `check` does.
    void Run(const std::vector<std::string>& args, const std::string& out) {
        const RunResult run = RunSyx(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const RunResult check = RunSyx({"check", out});
        EXPECT_EQ(check.exitCode, 0) << check.out;
    }
    TempFolder folder;
    const std::string bank = folder.File("bank.syx");
};
// Selected with the other command-line tests by ctest -R cli.
using cli_explore = ExploreCli;

TEST_F(cli_explore, MutateWritesItsCandidatesNamedAfterTheSourceWithTheLockedGroupsKept) {
    const std::string out = folder.File("m.syx");
    Run({"mutate", bank, out, "--patch", "3", "--amount", "0.8", "--seed", "5", "--count", "5",
         "--lock", "dca1,dcw2"},
        out);
    const Bytes source = ReadBytes(bank), grown = ReadBytes(out);
    ASSERT_EQ(grown.size(), 5u * kToneDumpLength);
    std::string names;
    for (int i = 1; i <= 5; ++i) {
        names += "Patch_3 m" + std::to_string(i) + "\r\n";
        EXPECT_EQ(Entries(grown, i, 41, 74), Entries(source, 3, 41, 74)) << "DCA 1 of " << i;
        EXPECT_EQ(Entries(grown, i, 189, 222), Entries(source, 3, 189, 222)) << "DCW 2 of " << i;
        EXPECT_NE(Entries(grown, i, 1, 256), Entries(source, 3, 1, 256)) << i;
    }
    EXPECT_EQ(ReadText(folder.File("m.plf")).substr(0, names.size()), names);

    const std::string again = folder.File("again.syx"), other = folder.File("other.syx");
    Run({"mutate", bank, again, "--patch", "3", "--amount", "0.8", "--seed", "5", "--count", "5",
         "--lock", "dca1,dcw2"},
        again);
    Run({"mutate", bank, other, "--patch", "3", "--amount", "0.8", "--seed", "6", "--count", "5",
         "--lock", "dca1,dcw2"},
        other);
    EXPECT_EQ(ReadBytes(again), grown);
    EXPECT_NE(ReadBytes(other), grown);
}

TEST_F(cli_explore, MorphStepsRunFromAToBAndBreedAndRandomiseWriteTheirCount) {
    const std::string fresh = folder.File("r.syx"), children = folder.File("c.syx"),
                      row = folder.File("row.syx");
    Run({"randomise", fresh, "--count", "6", "--seed", "3"}, fresh);
    ASSERT_EQ(ReadBytes(fresh).size(), 6u * kToneDumpLength);
    Run({"breed", fresh, children, "--patches", "2,4,6", "--count", "3"}, children);
    ASSERT_EQ(ReadBytes(children).size(), 3u * kToneDumpLength);
    EXPECT_EQ(ReadText(folder.File("c.plf")).substr(0, 11), "Random 2 x1");
    Run({"morph", fresh, children, row, "--patch-a", "2", "--patch-b", "3", "--steps", "4"}, row);
    const Bytes steps = ReadBytes(row);
    ASSERT_EQ(steps.size(), 4u * kToneDumpLength);
    EXPECT_EQ(Entries(steps, 1, 1, 256), Entries(ReadBytes(fresh), 2, 1, 256));
    EXPECT_EQ(Entries(steps, 4, 1, 256), Entries(ReadBytes(children), 3, 1, 256));
}

TEST_F(cli_explore, ImpossibleRequestsAreUsageErrorsAndWriteNothing) {
    const std::string out = folder.File("never.syx");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"mutate", bank, out, "--count", "17"},
          {"mutate", bank, out, "--lock", "dca1,dca3"},
          {"mutate", bank, out, "--amount", "1.5"},
          {"morph", bank, bank, out, "--at", "0.5", "--steps", "3"},
          {"morph", bank, bank, out, "--patch-b", "17"},
          {"breed", bank, out, "--patches", "1,20"},
          {"randomise", out, "--count", "0"}}) {
        EXPECT_EQ(RunSyx(args).exitCode, 2) << args[0] << " " << args.back();
        EXPECT_FALSE(std::filesystem::exists(out)) << args[0];
    }
}

}  // namespace
}  // namespace voxtane::testing
