#include "bank_round_trip.h"

#include <filesystem>
#include <string>

#include "bank/names_file.h"
#include "bank/text_encoding.h"
#include "fuzz_support.h"

namespace voxtane::fuzzing {
namespace {

void CheckEditor(const Editor& editor) {
    const Module1& m = editor.run.module1;
    VOXTANE_FUZZ_CHECK(m.PatchCount >= 0 && m.PatchCount <= 16);
    VOXTANE_FUZZ_CHECK(m.PatchBank.size() == 17);
    VOXTANE_FUZZ_CHECK(m.ScratchRecord.size() == 257);
    const auto& list = editor.run.form1.cboPatches;
    VOXTANE_FUZZ_CHECK(list.ListCount() == 16);
    for (int i = 0; i < 16; ++i) {
        VOXTANE_FUZZ_CHECK(IsValidUtf8(list.List(i)));
        VOXTANE_FUZZ_CHECK(CutToCharacters(list.List(i), kMaxNameLength) == list.List(i));
    }
    VOXTANE_FUZZ_CHECK(!m.ParsingSysex);
}

void Load(Editor& editor, const std::string& path) {
    editor.platform.QueueFileChoice(path);
    editor.run.form1.cmdLoad_Click();
}

}  // namespace

void CheckBankRoundTrip(std::string_view input, editor::MemoryBankFiles* memory) {
    const std::string folder = memory != nullptr ? "/memory" : ScratchFolder();
    const std::string bankPath = folder + "/in.syx";
    const std::string namesPath = folder + "/in.plf";
    const auto put = [&](const std::string& path, std::string_view content) {
        if (memory != nullptr) {
            memory->files[path] = std::string(content);
        } else {
            WriteFile(path, content.data(), content.size());
        }
    };
    if (memory != nullptr) {
        memory->files.clear();
    } else {
        std::filesystem::remove(namesPath);
    }

    const BankInput files = SplitBankInput(input);
    put(bankPath, files.bank);
    if (files.names) put(namesPath, *files.names);

    Editor first(memory);
    Load(first, bankPath);
    CheckEditor(first);

    const std::string savedPath = folder + "/out.syx";
    first.platform.QueueFileChoice(savedPath);
    first.run.form1.cmdSaveAs_Click();
    CheckEditor(first);

    Editor second(memory);
    Load(second, savedPath);
    CheckEditor(second);
    for (int slot = 1; slot <= 16; ++slot)
        VOXTANE_FUZZ_CHECK(second.run.module1.PatchBank[slot] == first.run.module1.PatchBank[slot]);
    for (int i = 0; i < 16; ++i)
        VOXTANE_FUZZ_CHECK(second.run.form1.cboPatches.List(i) ==
                           first.run.form1.cboPatches.List(i));
}

}  // namespace voxtane::fuzzing
