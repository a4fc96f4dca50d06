#pragma once

#include <string>
#include <vector>

namespace voxtane::testing {

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the built voxtane-syx with `args` as a user runs it; its output goes through files so
// that no pipe can fill up.
[[nodiscard]] RunResult RunSyx(const std::vector<std::string>& args);

}  // namespace voxtane::testing
