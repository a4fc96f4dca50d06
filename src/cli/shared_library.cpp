#include "cli/shared_library.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "bank/file_path.h"

namespace voxtane::cli {

#ifdef _WIN32

namespace {
std::string LastErrorText() {
    return std::system_category().message(static_cast<int>(::GetLastError()));
}
}  // namespace

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const std::filesystem::path& path,
                                                   std::string& whyNot) {
    HMODULE module = ::LoadLibraryW(path.c_str());
    if (module == nullptr) {
        whyNot = Utf8FromPath(path) + ": " + LastErrorText();
        return nullptr;
    }
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(module));
}

SharedLibrary::~SharedLibrary() {
    ::FreeLibrary(static_cast<HMODULE>(handle_));
}

void* SharedLibrary::Symbol(const char* name) const {
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle_), name));
}

std::filesystem::path ProgramFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        name.resize(name.size() * 2);
    }
    return std::filesystem::path(name).parent_path();
}

#else

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const std::filesystem::path& path,
                                                   std::string& whyNot) {
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* error = ::dlerror();
        whyNot = error != nullptr ? error : Utf8FromPath(path);
        return nullptr;
    }
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

SharedLibrary::~SharedLibrary() {
    ::dlclose(handle_);
}

void* SharedLibrary::Symbol(const char* name) const {
    return ::dlsym(handle_, name);
}

std::filesystem::path ProgramFolder() {
    std::error_code ec;
    return std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
}

#endif

}  // namespace voxtane::cli
