#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

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

// A private folder for the files one fuzzer process writes.
const std::string& ScratchFolder();
void WriteFile(const std::string& path, const void* data, std::size_t size);

}  // namespace voxtane::fuzzing
