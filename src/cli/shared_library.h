#pragma once

#include <filesystem>
#include <memory>
#include <string>

// A library opened while the program runs: dlopen on Linux, LoadLibraryW on Windows.
namespace voxtane::cli {

class SharedLibrary {
  public:
    // Nothing when it cannot be opened; `whyNot` then holds the system's words.
    [[nodiscard]] static std::unique_ptr<SharedLibrary> Open(const std::filesystem::path& path,
                                                             std::string& whyNot);
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // The address of an exported function, or nothing.
    [[nodiscard]] void* Symbol(const char* name) const;

  private:
    explicit SharedLibrary(void* handle) : handle_(handle) {}
    void* handle_;
};

// The folder of the running program.
[[nodiscard]] std::filesystem::path ProgramFolder();

}  // namespace voxtane::cli
