#include "bank/file_path.h"

#ifdef _WIN32
#include <cwchar>
#endif

namespace voxtane {

std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

std::FILE* OpenFile(const std::string& utf8Path, const char* mode) {
#ifdef _WIN32
    // Modes are ASCII ("rb", "wbx"): widened byte by byte.
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return ::_wfopen(PathFromUtf8(utf8Path).c_str(), wideMode.c_str());
#else
    return std::fopen(utf8Path.c_str(), mode);
#endif
}

}  // namespace voxtane
