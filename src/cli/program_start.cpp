#include "cli/program_start.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// Needs what windows.h defines.
#include <shellapi.h>
#else
#include <unistd.h>
#endif

namespace voxtane::cli {

#ifdef _WIN32

namespace {
std::string Utf8FromWide(const wchar_t* wide) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string text(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
    text.pop_back();  // the terminating zero
    return text;
}
}  // namespace

ProgramStart::ProgramStart(int argc, char** argv) {
    int count = 0;
    if (wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i) arguments_.push_back(Utf8FromWide(wide[i]));
        ::LocalFree(wide);
    } else {
        arguments_.assign(argv, argv + argc);
    }
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    for (std::string& argument : arguments_) pointers_.push_back(argument.data());
    pointers_.push_back(nullptr);
}

bool ErrorsGoToTerminal() {
    return ::_isatty(::_fileno(stderr)) != 0;
}

#else

ProgramStart::ProgramStart(int argc, char** argv) : arguments_(argv, argv + argc) {
    for (std::string& argument : arguments_) pointers_.push_back(argument.data());
    pointers_.push_back(nullptr);
}

bool ErrorsGoToTerminal() {
    return ::isatty(STDERR_FILENO) != 0;
}

#endif

}  // namespace voxtane::cli
