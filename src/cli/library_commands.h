#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <vector>

// `voxtane-syx library ...`: the tone library from the command line. Registers its subcommands on
// the program's parser and runs the one given.
namespace voxtane::cli {

class LibraryCommands {
  public:
    explicit LibraryCommands(CLI::App& app);
    // The exit code when a library command was given, nothing otherwise.
    [[nodiscard]] std::optional<int> RunParsed();

  private:
    CLI::App* library_ = nullptr;
    CLI::App* add_ = nullptr;
    CLI::App* scan_ = nullptr;
    CLI::App* search_ = nullptr;
    CLI::App* dups_ = nullptr;
    CLI::App* tag_ = nullptr;
    CLI::App* untag_ = nullptr;
    CLI::App* favourite_ = nullptr;
    CLI::App* bank_ = nullptr;
    CLI::App* stats_ = nullptr;
    CLI::App* features_ = nullptr;
    CLI::App* similar_ = nullptr;

    std::string path_;
    std::vector<std::string> folders_;
    std::string query_;
    std::vector<std::string> tags_;
    bool favouritesOnly_ = false;
    int rating_ = 0;
    std::optional<int> waveform_;
    std::string folder_;
    int limit_ = 50;
    bool json_ = false;
    std::string tone_;
    bool off_ = false;
    std::string out_;
    std::string file_;
    int patch_ = 1;
};

}  // namespace voxtane::cli
