#include "editor/transfer/patch_clipboard.h"

#include <cstdio>

#include "bank/patch_name.h"
#include "bank/sysex_bank_writer.h"
#include "bank/tone_import.h"

namespace voxtane::editor {
namespace {

constexpr std::size_t kDumpBytes = std::tuple_size_v<ToneDump>;
constexpr std::size_t kDataOffset = 7;

struct ClipboardTone {
    ToneRecord record{};
    std::optional<std::string> name;
};

// Our own type: the dump, then the name. Anything shorter or not framed as a dump is not ours.
std::optional<ClipboardTone> FromOwnType(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < kDumpBytes || bytes.front() != kSysexStart ||
        bytes[kDumpBytes - 1] != kSysexEnd)
        return std::nullopt;
    ClipboardTone tone;
    for (int entry = 1; entry <= kToneEntries; ++entry) {
        const std::uint8_t byte = bytes[kDataOffset + entry - 1];
        if (byte > 0x0F) return std::nullopt;
        tone.record[entry] = byte;
    }
    tone.name = PatchName(std::string(bytes.begin() + kDumpBytes, bytes.end()));
    return tone;
}

// The lines of a text that hold hexadecimal bytes and nothing else.
std::string HexLinesOf(const std::string& text) {
    std::string kept;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string line = text.substr(start, end - start);
        if (line.find_first_not_of("0123456789abcdefABCDEFxX$, \t\r") == std::string::npos)
            kept += line + "\n";
        start = end + 1;
    }
    return kept;
}

}  // namespace

std::string HexLines(std::span<const std::uint8_t> bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", bytes[i]);
        text += hex;
        text += (i + 1) % 16 == 0 || i + 1 == bytes.size() ? "\n" : " ";
    }
    return text;
}

void PatchClipboard::CopyPatch() {
    editor_.ShowEditedPatch();
    const ToneDump dump = BuildToneDump(editor_.CurrentTone(), kSendProgram);
    ClipboardContent content;
    content.tone.assign(dump.begin(), dump.end());
    const std::string name = editor_.Name(editor_.CurrentPatch());
    content.tone.insert(content.tone.end(), name.begin(), name.end());
    content.text = HexLines(dump);
    platform_.SetClipboard(content);
}

void PatchClipboard::PastePatch() {
    const ClipboardContent content = platform_.Clipboard();
    std::optional<ClipboardTone> tone = FromOwnType(content.tone);
    // Text as it is, else only its lines of hexadecimal bytes: a tone pasted from a message
    // comes with the message's words around it.
    for (const std::string& text : {content.text, HexLinesOf(content.text)}) {
        if (tone) break;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
        const ToneScan scan = ScanForTones(std::span(bytes, text.size()));
        if (!scan.tones.empty()) tone = ClipboardTone{scan.tones.front().record, std::nullopt};
    }
    if (!tone) {
        platform_.ShowMessage({"The clipboard holds no tone of the CZ1000: nothing was pasted.",
                               title_, MessageButtons::Ok, MessageIcon::Information});
        return;
    }
    editor_.TakeTone(tone->record, tone->name, "Paste Patch");
}

}  // namespace voxtane::editor
