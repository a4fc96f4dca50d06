#include "fuzz_support.h"

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace voxtane::fuzzing {

const std::string& ScratchFolder() {
    // Never destroyed, so that the clean-up at exit can still name it.
    static const std::string* folder = [] {
        const auto path =
            std::filesystem::temp_directory_path() / ("voxtane-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchFolder(), ignored);
        });
        return new std::string(path.string());
    }();
    return *folder;
}

void WriteFile(const std::string& path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace voxtane::fuzzing
