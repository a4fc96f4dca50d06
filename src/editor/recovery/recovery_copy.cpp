#include "editor/recovery/recovery_copy.h"

#include <algorithm>
#include <sstream>

namespace voxtane::editor {
namespace {

constexpr const char* kFirstLine = "Voxtane recovery copy 1";

std::uint64_t Digest(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

// Names are one line each; a line break in one would shift the rest.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

bool ReadLine(std::istringstream& in, const std::string& key, std::string& value) {
    std::string line;
    if (!std::getline(in, line) || line.rfind(key + "=", 0) != 0) return false;
    value = line.substr(key.size() + 1);
    return true;
}

bool ReadNumber(std::istringstream& in, const std::string& key, int low, int high, int& value) {
    std::string text;
    if (!ReadLine(in, key, text) || text.empty() || text.size() > 3 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::stoi(text);
    return value >= low && value <= high;
}

}  // namespace

std::string EncodeRecoveryCopy(const RecoveryCopy& copy) {
    std::ostringstream out;
    out << kFirstLine << '\n'
        << "file=" << OneLine(copy.bankFileName) << '\n'
        << "count=" << copy.patchCount << '\n'
        << "current=" << copy.currentPatch << '\n';
    for (const std::string& name : copy.names) out << "name=" << OneLine(name) << '\n';
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const ToneRecord& tone : copy.tones) {
        out << "tone=";
        for (int entry = 1; entry <= kToneEntries; ++entry) out << kHex[tone[entry] & 15];
        out << '\n';
    }
    std::string text = out.str();
    return text + "check=" + std::to_string(Digest(text)) + "\n";
}

std::optional<RecoveryCopy> DecodeRecoveryCopy(const std::string& text) {
    const std::size_t checkAt = text.rfind("check=");
    if (checkAt == std::string::npos ||
        text.substr(checkAt) != "check=" + std::to_string(Digest(text.substr(0, checkAt))) + "\n")
        return std::nullopt;
    std::istringstream in(text.substr(0, checkAt));
    std::string line;
    if (!std::getline(in, line) || line != kFirstLine) return std::nullopt;
    RecoveryCopy copy;
    if (!ReadLine(in, "file", copy.bankFileName) ||
        !ReadNumber(in, "count", 0, kBankSlots, copy.patchCount) ||
        !ReadNumber(in, "current", 1, kBankSlots, copy.currentPatch))
        return std::nullopt;
    for (std::string& name : copy.names)
        if (!ReadLine(in, "name", name)) return std::nullopt;
    for (ToneRecord& tone : copy.tones) {
        std::string hex;
        if (!ReadLine(in, "tone", hex) || hex.size() != kToneEntries) return std::nullopt;
        for (int entry = 1; entry <= kToneEntries; ++entry) {
            const char c = hex[entry - 1];
            const std::size_t digit = std::string_view("0123456789ABCDEF").find(c);
            if (digit == std::string_view::npos) return std::nullopt;
            tone[entry] = static_cast<std::int16_t>(digit);
        }
    }
    return copy;
}

RecoveryCopy CopyOf(const LinkedEditor& tones, const std::string& bankFileName) {
    RecoveryCopy copy;
    copy.tones = tones.Tones();
    for (int slot = 1; slot <= kBankSlots; ++slot) copy.names[slot - 1] = tones.Name(slot);
    copy.patchCount = tones.PatchCount();
    copy.bankFileName = bankFileName;
    copy.currentPatch = std::clamp<int>(tones.CurrentPatch(), 1, kBankSlots);
    return copy;
}

}  // namespace voxtane::editor
