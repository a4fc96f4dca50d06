#include "devices/winmm_backend.h"

#include "devices/winmm_status.h"

namespace voxtane::devices {

std::vector<midi::DeviceName> WinMmBackend::OutputDevices() {
    std::vector<midi::DeviceName> devices(api_->OutCount());
    for (std::uint32_t i = 0; i < devices.size(); ++i)
        devices[i].status =
            WinMmStatus(*api_, api_->OutName(i, devices[i].name), "midiOutGetDevCaps");
    return devices;
}

std::size_t WinMmBackend::ListDevices() {
    listed_ = OutputDevices();
    return listed_.size();
}

midi::DeviceName WinMmBackend::NameOf(std::size_t device) {
    if (device >= listed_.size()) return {{midi::MMSYSERR_BADDEVICEID, ""}, ""};
    return listed_[device];
}

midi::OpenedOutput WinMmBackend::Open(std::size_t device) {
    if (device >= listed_.size()) return {{midi::MMSYSERR_BADDEVICEID, ""}, nullptr};
    const midi::DeviceName& wanted = listed_[device];
    // One whose name the system would not tell can only be opened where it was.
    if (wanted.status.code != midi::MMSYSERR_NOERROR)
        return WinMmOutput::Open(api_, static_cast<std::uint32_t>(device), outputLimits_);
    const std::vector<midi::DeviceName> now = OutputDevices();
    std::size_t found = device < now.size() && now[device].name == wanted.name ? device : 0;
    while (found < now.size() &&
           (now[found].status.code != midi::MMSYSERR_NOERROR || now[found].name != wanted.name))
        ++found;
    if (found == now.size())
        return {{midi::MMSYSERR_BADDEVICEID, "WinMM: " + wanted.name + " is no longer there"},
                nullptr};
    return WinMmOutput::Open(api_, static_cast<std::uint32_t>(found), outputLimits_);
}

midi::OpenedOutput WinMmBackend::OpenDefault() {
    // Short: the editor's message adds it to its own within the API's 128 characters.
    return {{midi::MIDIERR_NODEVICE, "WinMM has no port of the program's own"}, nullptr};
}

std::vector<std::string> WinMmBackend::InputNames() {
    std::vector<std::string> names;
    const std::uint32_t count = api_->InCount();
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string name;
        // An input without a name could not be asked for by one.
        if (api_->InName(i, name) == midi::MMSYSERR_NOERROR) names.push_back(std::move(name));
    }
    return names;
}

midi::OpenedInput WinMmBackend::OpenInput(const std::string& name) {
    const std::uint32_t count = api_->InCount();
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string listed;
        if (api_->InName(i, listed) == midi::MMSYSERR_NOERROR && listed == name)
            return WinMmInput::Open(api_, i, inputBuffers_);
    }
    return {{midi::MMSYSERR_BADDEVICEID, "WinMM: " + name + " is no MIDI input here"}, nullptr};
}

}  // namespace voxtane::devices
