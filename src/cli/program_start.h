#pragma once

#include <string>
#include <vector>

// What the system hands the program when it starts, made the same on every system: the
// arguments in UTF-8, and standard output and error that pass bytes through unchanged.
namespace voxtane::cli {

class ProgramStart {
  public:
    // On Windows the arguments are read anew from the wide-character command line (`argv` is
    // in the ANSI code page there), and the text mode of stdout and stderr, which turns "\n"
    // into "\r\n", is switched off: the output is the same bytes as on Linux.
    ProgramStart(int argc, char** argv);
    ProgramStart(const ProgramStart&) = delete;
    ProgramStart& operator=(const ProgramStart&) = delete;

    [[nodiscard]] int argc() const { return static_cast<int>(arguments_.size()); }
    [[nodiscard]] char** argv() { return pointers_.data(); }

  private:
    std::vector<std::string> arguments_;
    std::vector<char*> pointers_;
};

// Whether standard error is a terminal that a person watches (progress is shown only there).
[[nodiscard]] bool ErrorsGoToTerminal();

}  // namespace voxtane::cli
