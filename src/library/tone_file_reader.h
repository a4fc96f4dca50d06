#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "tone/tone_record.h"

// What one file of a library folder holds: its tones, each with the position it stands at and
// the name the file gives it. Everything Import reads is read (bank files, single tones, the
// synth's answers, recorded exchanges, hex text) and Standard MIDI Files with dumps in their SysEx
// events. A bank file's names come from its names file; a file of one tone without one is named
// by its file name, as exported tones are.
namespace voxtane::library {

// Larger files are passed over unread: no tone collection comes in files this big, and a scan
// must stay within bounded memory whatever a folder holds.
inline constexpr std::uintmax_t kMaxToneFileBytes = 8u << 20;

struct FileTone {
    ToneRecord record{};
    int slot = 1;      // 1-based, in the order the tones stand in the file
    std::string name;  // empty when the file gives none
};

struct FileReading {
    std::vector<FileTone> tones;
    std::string skipReason;  // why the file gave no tone; empty when it gave some
};

// `path` is used to find the names file and the file's own name; `bytes` is its content.
[[nodiscard]] FileReading ReadToneFile(const std::string& path,
                                       std::span<const std::uint8_t> bytes);

// Names files belong to the bank file beside them; they are read with it, not on their own.
[[nodiscard]] bool IsNamesFile(const std::string& path);

}  // namespace voxtane::library
