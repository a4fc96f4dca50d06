#include "cli/device_library_loader.h"

#include "bank/file_path.h"
#include "cli/shared_library.h"
#include "devices/device_library.h"

namespace voxtane::cli {

namespace {
// The device library's place from the program's folder (the build tree's and the installed
// layout's on Linux; beside the program on Windows, where Windows looks for a program's own
// libraries).
std::filesystem::path LibraryPath() {
    return ProgramFolder() / VOXTANE_DEVICES_FROM_PROGRAM;
}
}  // namespace

std::unique_ptr<DeviceLibrary> DeviceLibrary::Load(std::string& whyNot) {
    const std::filesystem::path path = LibraryPath().lexically_normal();
    std::string reason;
    std::unique_ptr<SharedLibrary> library = SharedLibrary::Open(path, reason);
    if (!library) {
        whyNot = "the device library could not be loaded (" + reason + ")";
        return nullptr;
    }
    auto entry = reinterpret_cast<Entry>(library->Symbol(VOXTANE_DEVICES_ENTRY));
    auto wav = reinterpret_cast<WavEntry>(library->Symbol(VOXTANE_WAV_ENTRY));
    if (entry == nullptr || wav == nullptr) {
        whyNot = "the device library " + Utf8FromPath(path) + " is not the one this program needs";
        return nullptr;
    }
    return std::unique_ptr<DeviceLibrary>(new DeviceLibrary(std::move(library), entry, wav));
}

DeviceLibrary::~DeviceLibrary() = default;

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
