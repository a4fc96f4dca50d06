#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "bank/tone_import.h"

// Found tones written one per line as the corpus companions write them, so that tests compare
// whole findings and a failure shows expected and found side by side.
namespace voxtane::testing {

inline std::string FormName(ImportForm form) {
    constexpr const char* kNames[] = {"dump", "answer", "answer-in-pieces", "exchange"};
    return kNames[static_cast<int>(form)];
}

// "tone OFFSET CHANNEL POSITION|- FORM NIBBLES", the 256 data bytes one hex digit each.
inline std::string ToneLine(const FoundTone& tone) {
    std::ostringstream line;
    line << "tone " << tone.offset << ' ' << tone.channel << ' ' << std::uppercase << std::hex;
    if (tone.position) {
        line << (*tone.position < 16 ? "0" : "") << *tone.position;
    } else {
        line << '-';
    }
    line << ' ' << FormName(tone.form) << ' ';
    for (int e = 1; e <= kToneEntries; ++e) line << tone.record[e];
    return line.str();
}

inline std::vector<std::string> ToneLines(const ToneScan& scan) {
    std::vector<std::string> lines;
    for (const auto& tone : scan.tones) lines.push_back(ToneLine(tone));
    return lines;
}

}  // namespace voxtane::testing
