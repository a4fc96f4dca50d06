#include "cli/device_library_loader.h"

#include <dlfcn.h>

#include <filesystem>

#include "devices/device_library.h"

namespace voxtane::cli {

namespace {
std::filesystem::path LibraryPath() {
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return program.parent_path() / VOXTANE_DEVICES_FROM_PROGRAM;
}
}  // namespace

std::unique_ptr<DeviceLibrary> DeviceLibrary::Load(std::string& whyNot) {
    const std::string path = LibraryPath().lexically_normal().string();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* error = dlerror();
        whyNot = "the device library could not be loaded (" +
                 std::string(error != nullptr ? error : path) + ")";
        return nullptr;
    }
    auto entry = reinterpret_cast<Entry>(dlsym(handle, VOXTANE_DEVICES_ENTRY));
    auto wav = reinterpret_cast<WavEntry>(dlsym(handle, VOXTANE_WAV_ENTRY));
    if (entry == nullptr || wav == nullptr) {
        whyNot = "the device library " + path + " is not the one this program needs";
        dlclose(handle);
        return nullptr;
    }
    return std::unique_ptr<DeviceLibrary>(new DeviceLibrary(handle, entry, wav));
}

DeviceLibrary::~DeviceLibrary() {
    dlclose(handle_);
}

std::unique_ptr<midi::MidiBackend> DeviceLibrary::SystemBackend() const {
    return std::unique_ptr<midi::MidiBackend>(entry_());
}

std::string DeviceLibrary::WriteWav(const std::string& path, std::span<const float> samples,
                                    int sampleRate) const {
    char reason[512] = "";
    if (wav_(path.c_str(), samples.data(), samples.size(), sampleRate, reason, sizeof reason) == 0)
        return {};
    return reason[0] != '\0' ? reason : "the file could not be written";
}

}  // namespace voxtane::cli
