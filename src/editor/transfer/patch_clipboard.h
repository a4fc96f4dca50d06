#pragma once

#include <optional>
#include <string>

#include "editor/linked_editor.h"
#include "editor/platform.h"

namespace voxtane::editor {

// Copy Patch and Paste Patch through the system clipboard. A copied patch goes there twice: as
// its tone dump with its name under the program's own type, and as the dump's bytes in
// hexadecimal text, which owners paste into messages and forums. Paste takes either, or text
// holding any form that Import reads.
class PatchClipboard {
  public:
    PatchClipboard(LinkedEditor& editor, Platform& platform, const std::string& title)
        : editor_(editor), platform_(platform), title_(title) {}

    void CopyPatch();
    // Replaces the current patch (record and, from our own type, name); anything else on the
    // clipboard changes nothing and says so.
    void PastePatch();

  private:
    LinkedEditor& editor_;
    Platform& platform_;
    const std::string& title_;
};

// The hexadecimal text of bytes, sixteen to a line: "F0 44 00 00 70 20 60 ...".
[[nodiscard]] std::string HexLines(std::span<const std::uint8_t> bytes);

}  // namespace voxtane::editor
