// Holds a file open as another program would, until told to let go: the portable-files tests
// replace a file while this process has it open.
//   voxtane_file_holder FILE SHARING READY RELEASE
// SHARING: "plain" as the C library opens a file (on Windows without leave to delete or rename
// it), or "delete" with that leave. READY is made once the file is open; the holder ends when
// RELEASE appears, or after a minute. On Windows the arguments come as wide characters (wmain),
// so that names outside the ANSI code page arrive whole.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
#else
int main(int argc, char** argv) {
#endif
    if (argc != 5) return 2;
    const fs::path file(argv[1]);
    const bool shareDelete = fs::path(argv[2]) == fs::path("delete");
#ifdef _WIN32
    const DWORD sharing =
        FILE_SHARE_READ | FILE_SHARE_WRITE | (shareDelete ? FILE_SHARE_DELETE : 0);
    const HANDLE held = ::CreateFileW(file.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) return 1;
#else
    (void)shareDelete;
    std::FILE* held = std::fopen(file.c_str(), "rb");
    if (held == nullptr) return 1;
#endif
    std::ofstream(fs::path(argv[3])).put('1');
    const fs::path release(argv[4]);
    const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!fs::exists(release) && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
#ifdef _WIN32
    ::CloseHandle(held);
#else
    std::fclose(held);
#endif
    return 0;
}
