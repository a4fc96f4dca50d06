#include "library/tone_file_reader.h"

#include <algorithm>
#include <filesystem>

#include "bank/names_file.h"
#include "bank/tone_import.h"
#include "library/smf_reader.h"

namespace voxtane::library {

bool IsNamesFile(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".plf";
}

FileReading ReadToneFile(const std::string& path, std::span<const std::uint8_t> bytes) {
    FileReading reading;
    ToneScan scan;
    std::string smfProblem;
    if (LooksLikeSmf(bytes)) {
        const SmfSysex smf = ExtractSmfSysex(bytes);
        smfProblem = smf.problem;
        scan = ScanForTones(smf.stream);
    } else {
        scan = ScanForTones(bytes);
    }
    if (scan.tones.empty()) {
        if (bytes.empty())
            reading.skipReason = "empty";
        else if (!scan.skipped.empty())
            reading.skipReason = "no tone: " + scan.skipped.front().reason;
        else if (!smfProblem.empty())
            reading.skipReason = "a MIDI file without tones (" + smfProblem + ")";
        else
            reading.skipReason = "no tone in it";
        return reading;
    }

    const std::string namesPath = NamesFileToRead(path);
    const NamesReadResult names = ReadNamesFile(namesPath, scan.tones.size());
    int slot = 0;
    for (const FoundTone& found : scan.tones) {
        FileTone tone{found.record, ++slot, {}};
        if (static_cast<std::size_t>(slot) <= names.names.size())
            tone.name = names.names[static_cast<std::size_t>(slot - 1)];
        reading.tones.push_back(std::move(tone));
    }
    if (names.status != NamesReadStatus::Read && reading.tones.size() == 1)
        reading.tones.front().name = std::filesystem::path(path).stem().string();
    return reading;
}

}  // namespace voxtane::library
