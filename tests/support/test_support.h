#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "editor/editor_run.h"
#include "editor/scripted_platform.h"

namespace voxtane::testing {

// A started editor with a scripted platform, fresh for every test.
struct StartedEditor {
    StartedEditor() : run(platform) { run.Start(); }
    editor::ScriptedPlatform platform{"/opt/voxtane"};
    editor::EditorRun run;
    editor::Form1& form = run.form1;
    Module1& module = run.module1;
};

// A folder of its own under the system's temporary folder, removed with its content.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    [[nodiscard]] std::string File(const std::string& name) const {
        return (path_ / name).string();
    }

  private:
    std::filesystem::path path_;
};

std::vector<std::uint8_t> ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void WriteText(const std::string& path, const std::string& text);

// The tone bytes 1 to 128 of a record.
std::vector<int> ToneBytes(const ToneRecord& record);

}  // namespace voxtane::testing
