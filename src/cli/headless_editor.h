#pragma once

#include <string>
#include <vector>

#include "editor/editor_run.h"
#include "editor/scripted_platform.h"

// The editor run without a window: a started editor whose dialogs are answered by the command
// line and whose message boxes are collected instead of shown.
namespace voxtane::cli {

inline constexpr const char* kParseErrorTitle = "Error Parsing Sysex";

class HeadlessEditor {
  public:
    HeadlessEditor() : run_(platform_) { run_.Start(); }
    HeadlessEditor(const HeadlessEditor&) = delete;
    HeadlessEditor& operator=(const HeadlessEditor&) = delete;

    editor::Form1& Form() { return run_.form1; }
    editor::EditorRun& Run() { return run_; }
    Module1& State() { return run_.module1; }
    editor::ScriptedPlatform& Platform() { return platform_; }

    // "&Load" with `path` chosen. Throws a runtime failure, with the editor's own words, when
    // the file gives no patch.
    void Load(const std::string& path);
    // "&Save All" (asking for a name only when no bank file is known) or "Save All &As", with
    // `path` chosen. Throws a runtime failure when the editor reports that a file could not be
    // written.
    void SaveAll(const std::string& path);
    void SaveAllAs(const std::string& path);

    // Texts of the message boxes shown since the records were last cleared, with this title.
    [[nodiscard]] std::vector<std::string> MessagesTitled(const std::string& title) const;

  private:
    void ThrowOnFileMessages(const std::string& fallback);

    editor::ScriptedPlatform platform_;
    editor::EditorRun run_;
};

}  // namespace voxtane::cli
