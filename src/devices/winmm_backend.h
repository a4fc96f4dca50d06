#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "devices/winmm_api.h"
#include "devices/winmm_input.h"
#include "devices/winmm_output.h"
#include "midi/midi_backend.h"

namespace voxtane::devices {

// The MIDI devices of a Windows machine through WinMM, named as the system names them. WinMM
// has no ports of a program's own that other programs connect to: the default output is a
// device the user chooses.
class WinMmBackend final : public midi::MidiBackend {
  public:
    explicit WinMmBackend(std::shared_ptr<WinMmApi> api, WinMmOutputLimits outputLimits = {},
                          WinMmInputBuffers inputBuffers = {})
        : api_(std::move(api)), outputLimits_(outputLimits), inputBuffers_(inputBuffers) {}

    [[nodiscard]] std::size_t ListDevices() override;
    [[nodiscard]] midi::DeviceName NameOf(std::size_t device) override;
    // Devices come and go between listing and opening: the device is found again by its name.
    [[nodiscard]] midi::OpenedOutput Open(std::size_t device) override;
    [[nodiscard]] midi::OpenedOutput OpenDefault() override;
    [[nodiscard]] std::vector<std::string> InputNames() override;
    [[nodiscard]] midi::OpenedInput OpenInput(const std::string& name) override;

  private:
    [[nodiscard]] std::vector<midi::DeviceName> OutputDevices();

    std::shared_ptr<WinMmApi> api_;
    WinMmOutputLimits outputLimits_;
    WinMmInputBuffers inputBuffers_;
    std::vector<midi::DeviceName> listed_;
};

}  // namespace voxtane::devices
