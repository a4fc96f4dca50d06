#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include "bank/file_path.h"

// The failures of voxtane-syx, each carrying the exit code the program ends with.
namespace voxtane::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // a file could not be read or written
inline constexpr int kExitUsage = 2;    // the command line asks for something impossible

class CliError : public std::runtime_error {
  public:
    CliError(int exitCode, const std::string& message)
        : std::runtime_error(message), exitCode_(exitCode) {}
    [[nodiscard]] int ExitCode() const { return exitCode_; }

  private:
    int exitCode_;
};

[[nodiscard]] inline CliError UsageError(const std::string& message) {
    return {kExitUsage, message};
}
[[nodiscard]] inline CliError RuntimeFailure(const std::string& message) {
    return {kExitFailure, message};
}

// Every command says the same of an input file that is not there, with its exit code: a file
// that could not be read (check: a file that cannot be opened, 2).
inline void RequireInputFile(const std::string& path, int exitCode = kExitFailure) {
    std::error_code ec;
    if (!std::filesystem::exists(PathFromUtf8(path), ec))
        throw CliError(exitCode, "the file \"" + path + "\" does not exist");
}

}  // namespace voxtane::cli
