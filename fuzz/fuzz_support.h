#pragma once

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "editor/editor_run.h"
#include "editor/scripted_platform.h"

namespace voxtane::fuzzing {

// Stops the run with a finding that libFuzzer reports and saves.
[[noreturn]] inline void Violated(const char* invariant) {
    std::fprintf(stderr, "invariant violated: %s\n", invariant);
    std::abort();
}

#define VOXTANE_FUZZ_CHECK(condition)                               \
    do {                                                            \
        if (!(condition)) ::voxtane::fuzzing::Violated(#condition); \
    } while (false)

// A started editor on a scripted platform, fresh for every input; its bank files are on the file
// system, or in `files` when given.
struct Editor {
    explicit Editor(editor::BankFiles* files = nullptr) : run(platform, files) { run.Start(); }
    editor::ScriptedPlatform platform{"/nonexistent"};
    editor::EditorRun run;
};

// A bank fuzzer's input: the bank file's bytes, then optionally "\n--names--\n" and the names
// file's bytes; without the marker there is no names file.
struct BankInput {
    std::string_view bank;
    std::optional<std::string_view> names;
};
[[nodiscard]] inline BankInput SplitBankInput(std::string_view input) {
    constexpr std::string_view kMarker = "\n--names--\n";
    const std::size_t marker = input.find(kMarker);
    if (marker == std::string_view::npos) return {input, std::nullopt};
    return {input.substr(0, marker), input.substr(marker + kMarker.size())};
}

// A private folder for the files one fuzzer process writes.
const std::string& ScratchFolder();
void WriteFile(const std::string& path, const void* data, std::size_t size);

}  // namespace voxtane::fuzzing
