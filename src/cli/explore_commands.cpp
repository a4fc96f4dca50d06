// mutate, morph, breed and randomise: tones grown by src/explore, saved as a bank of their own.
#include "cli/explore_commands.h"

#include <iostream>
#include <span>

#include "bank/bank_limits.h"
#include "cli/cli_error.h"
#include "cli/headless_editor.h"
#include "explore/explore_random.h"
#include "explore/operations.h"

namespace voxtane::cli {

namespace {

using explore::Explored;

struct LoadedPatch {
    ToneRecord tone;
    std::string name;
};

// Patch `patch` of a bank file, as "&Load" reads it.
LoadedPatch LoadPatch(const std::string& file, int patch, const char* option) {
    HeadlessEditor editor;
    editor.Load(file);
    const int count = editor.State().PatchCount;
    if (patch < 1 || patch > count)
        throw UsageError(std::string(option) + " " + std::to_string(patch) + ": \"" + file +
                         "\" holds patches 1 to " + std::to_string(count));
    const editor::LinkedEditor& tones = editor.Run().tones;
    return {tones.Tones()[static_cast<std::size_t>(patch - 1)], tones.Name(patch)};
}

void CheckCount(int count) {
    if (count < 1 || count > kBankSlots) throw UsageError("--count: 1 to 16 tones");
}

void CheckFraction(double value, const char* option) {
    if (!(value >= 0.0 && value <= 1.0)) throw UsageError(std::string(option) + ": 0 to 1");
}

explore::GroupLocks ParseLocks(const std::string& list) {
    std::string unknown;
    const std::optional<explore::GroupLocks> locks = explore::ParseGroupLocks(list, unknown);
    if (!locks)
        throw UsageError("--lock: no group \"" + unknown +
                         "\" (groups: " + explore::ToneGroupNameList() + ")");
    return *locks;
}

// Writes the tones as a bank of exactly their number, with their names file; a tone that could
// not be made playable is still written, and named on standard error.
int SaveTones(const std::string& out, const std::vector<Explored>& grown,
              const std::vector<std::string>& names) {
    HeadlessEditor editor;
    std::vector<ToneRecord> tones;
    for (std::size_t i = 0; i < grown.size(); ++i) {
        tones.push_back(grown[i].tone);
        if (grown[i].playability == explore::Playability::DecodingMessage)
            std::cerr << "note: \"" << names[i] << "\" holds a value the editor cannot show\n";
        else if (grown[i].playability == explore::Playability::Silent)
            std::cerr << "note: \"" << names[i] << "\" is silent at middle C\n";
    }
    editor.Run().tones.TakePatches(1, tones, names, "Explore");
    editor.State().PatchCount = static_cast<std::int16_t>(tones.size());
    editor.SaveAllAs(out);
    std::cout << "Wrote " << tones.size() << (tones.size() == 1 ? " tone" : " tones") << " into "
              << out << '\n';
    return kExitOk;
}

std::string Percent(int permille) {
    return std::to_string((permille + 5) / 10) + "%";
}

}  // namespace

int RunMutate(const MutateOptions& options) {
    CheckCount(options.count);
    CheckFraction(options.amount, "--amount");
    const explore::GroupLocks locks = ParseLocks(options.locks);
    const LoadedPatch source = LoadPatch(options.in, options.patch, "--patch");
    const std::vector<Explored> grown = explore::GrowGeneration(
        {{source.tone}, explore::ToPermille(options.amount), locks, options.seed, options.count});
    std::vector<std::string> names;
    for (int i = 1; i <= options.count; ++i)
        names.push_back(source.name + " m" + std::to_string(i));
    return SaveTones(options.out, grown, names);
}

int RunMorph(const MorphOptions& options) {
    if (options.at && options.steps) throw UsageError("--at and --steps: one or the other");
    if (options.at) CheckFraction(*options.at, "--at");
    if (options.steps && (*options.steps < 2 || *options.steps > kBankSlots))
        throw UsageError("--steps: 2 to 16 tones");
    const LoadedPatch a = LoadPatch(options.a, options.patchA, "--patch-a");
    const LoadedPatch b = LoadPatch(options.b, options.patchB, "--patch-b");
    std::vector<int> positions;
    if (options.steps) {
        for (int i = 0; i < *options.steps; ++i)
            positions.push_back(i * explore::kPermille / (*options.steps - 1));
    } else {
        positions.push_back(explore::ToPermille(options.at.value_or(0.5)));
    }
    std::vector<Explored> grown;
    std::vector<std::string> names;
    for (int at : positions) {
        grown.push_back(explore::Morph(a.tone, b.tone, at));
        names.push_back(a.name + " to " + b.name + " " + Percent(at));
    }
    return SaveTones(options.out, grown, names);
}

int RunBreed(const BreedOptions& options) {
    CheckCount(options.count);
    CheckFraction(options.amount, "--amount");
    const explore::GroupLocks locks = ParseLocks(options.locks);
    HeadlessEditor editor;
    editor.Load(options.parents);
    const int count = editor.State().PatchCount;
    std::vector<int> patches = options.patches;
    if (patches.empty())
        for (int patch = 1; patch <= count; ++patch) patches.push_back(patch);
    const editor::LinkedEditor& bank = editor.Run().tones;
    const editor::BankTones all = bank.Tones();
    std::vector<ToneRecord> parents;
    for (int patch : patches) {
        if (patch < 1 || patch > count)
            throw UsageError("--patches " + std::to_string(patch) + ": \"" + options.parents +
                             "\" holds patches 1 to " + std::to_string(count));
        parents.push_back(all[static_cast<std::size_t>(patch - 1)]);
    }
    std::vector<Explored> grown;
    std::vector<std::string> names;
    const int mutation = explore::ToPermille(options.amount);
    for (int i = 0; i < options.count; ++i) {
        grown.push_back(explore::Breed(
            parents, explore::DeriveSeed(options.seed, static_cast<std::uint64_t>(i)), locks,
            mutation));
        names.push_back(bank.Name(patches.front()) + " x" + std::to_string(i + 1));
    }
    return SaveTones(options.out, grown, names);
}

int RunRandomise(const RandomiseOptions& options) {
    CheckCount(options.count);
    std::vector<Explored> grown;
    std::vector<std::string> names;
    for (int i = 0; i < options.count; ++i) {
        grown.push_back(
            explore::Randomise(explore::DeriveSeed(options.seed, static_cast<std::uint64_t>(i))));
        names.push_back("Random " + std::to_string(i + 1));
    }
    return SaveTones(options.out, grown, names);
}

ExploreCommands::ExploreCommands(CLI::App& app) {
    const std::string lockHelp =
        "Groups that never change, comma-separated: " + explore::ToneGroupNameList();
    const std::string seedHelp = "The seed: the same seed gives the same tones (default 1)";

    mutate_ = app.add_subcommand(
        "mutate", "Write COUNT variations of a patch as a bank (named \"NAME m1\", ...).");
    mutate_->add_option("IN", mutateOptions_.in, "The bank file holding the patch")->required();
    mutate_->add_option("OUT", mutateOptions_.out, "The bank file to write")->required();
    mutate_->add_option("--patch", mutateOptions_.patch, "The patch to vary (default 1)");
    mutate_->add_option("--amount", mutateOptions_.amount,
                        "How far: 0 changes nothing, 1 anything (default 0.3)");
    mutate_->add_option("--seed", mutateOptions_.seed, seedHelp);
    mutate_->add_option("--lock", mutateOptions_.locks, lockHelp);
    mutate_->add_option("--count", mutateOptions_.count, "Tones to write, 1 to 16 (default 16)");

    morph_ = app.add_subcommand(
        "morph", "Write the tone between patch A and patch B at a point, or a row of steps.");
    morph_->add_option("A", morphOptions_.a, "The bank file holding tone A")->required();
    morph_->add_option("B", morphOptions_.b, "The bank file holding tone B")->required();
    morph_->add_option("OUT", morphOptions_.out, "The bank file to write")->required();
    morph_->add_option("--patch-a", morphOptions_.patchA, "Patch of A (default 1)");
    morph_->add_option("--patch-b", morphOptions_.patchB, "Patch of B (default 1)");
    morph_->add_option("--at", morphOptions_.at, "0 is A, 1 is B (default 0.5)");
    morph_->add_option("--steps", morphOptions_.steps,
                       "2 to 16 tones from A to B, both ends included");

    breed_ = app.add_subcommand(
        "breed",
        "Write COUNT children of patches of a bank: each part from a parent, then a small "
        "mutation.");
    breed_->add_option("PARENTS", breedOptions_.parents, "The bank file holding the parents")
        ->required();
    breed_->add_option("OUT", breedOptions_.out, "The bank file to write")->required();
    breed_
        ->add_option("--patches", breedOptions_.patches,
                     "The parents, e.g. 1,4,7 (default every patch); locked groups come "
                     "from the first")
        ->delimiter(',');
    breed_->add_option("--count", breedOptions_.count, "Children to write, 1 to 16 (default 16)");
    breed_->add_option("--seed", breedOptions_.seed, seedHelp);
    breed_->add_option("--amount", breedOptions_.amount,
                       "The mutation after the crossover, 0 to 1 (default 0.1)");
    breed_->add_option("--lock", breedOptions_.locks, lockHelp);

    randomise_ = app.add_subcommand("randomise", "Write COUNT fresh tones within musical bounds.");
    randomise_->add_option("OUT", randomiseOptions_.out, "The bank file to write")->required();
    randomise_->add_option("--count", randomiseOptions_.count,
                           "Tones to write, 1 to 16 (default 16)");
    randomise_->add_option("--seed", randomiseOptions_.seed, seedHelp);
}

std::optional<int> ExploreCommands::RunParsed() {
    if (*mutate_) return RunMutate(mutateOptions_);
    if (*morph_) return RunMorph(morphOptions_);
    if (*breed_) return RunBreed(breedOptions_);
    if (*randomise_) return RunRandomise(randomiseOptions_);
    return std::nullopt;
}

}  // namespace voxtane::cli
