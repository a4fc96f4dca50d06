#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

// The exploring subcommands of voxtane-syx: `mutate`, `morph`, `breed` and `randomise`. Each
// writes its tones as a bank of their own, with its names file, as "Save All As" does.
namespace voxtane::cli {

struct MutateOptions {
    std::string in;
    std::string out;
    int patch = 1;
    double amount = 0.3;
    std::uint64_t seed = 1;
    std::string locks;
    int count = 16;
};
int RunMutate(const MutateOptions& options);

struct MorphOptions {
    std::string a;
    std::string b;
    std::string out;
    int patchA = 1;
    int patchB = 1;
    std::optional<double> at;  // 0.5 when neither this nor steps is given
    std::optional<int> steps;
};
int RunMorph(const MorphOptions& options);

struct BreedOptions {
    std::string parents;
    std::string out;
    std::vector<int> patches;  // every patch of the file when empty
    int count = 16;
    std::uint64_t seed = 1;
    double amount = 0.1;
    std::string locks;
};
int RunBreed(const BreedOptions& options);

struct RandomiseOptions {
    std::string out;
    int count = 16;
    std::uint64_t seed = 1;
};
int RunRandomise(const RandomiseOptions& options);

// Adds the four subcommands; after parsing, RunParsed runs the one chosen.
class ExploreCommands {
  public:
    explicit ExploreCommands(CLI::App& app);
    // The exit code, or nothing when the command line chose another subcommand.
    [[nodiscard]] std::optional<int> RunParsed();

  private:
    CLI::App* mutate_;
    MutateOptions mutateOptions_;
    CLI::App* morph_;
    MorphOptions morphOptions_;
    CLI::App* breed_;
    BreedOptions breedOptions_;
    CLI::App* randomise_;
    RandomiseOptions randomiseOptions_;
};

}  // namespace voxtane::cli
