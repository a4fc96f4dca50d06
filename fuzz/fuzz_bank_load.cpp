// Any bytes as a bank file, with or without a names file of any bytes: the load must leave a
// sound bank, and saving it and loading the result must give the same bank and names.
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "bank/names_file.h"
#include "bank/text_encoding.h"
#include "fuzz_support.h"

using namespace voxtane;

namespace {

// The input is split at the first "\n--names--\n" into the bank file and its names file; without
// the marker there is no names file.
constexpr char kMarker[] = "\n--names--\n";

void CheckEditor(const fuzzing::Editor& editor) {
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

void Load(fuzzing::Editor& editor, const std::string& path) {
    editor.platform.QueueFileChoice(path);
    editor.run.form1.cmdLoad_Click();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string folder = fuzzing::ScratchFolder();
    const std::string bankPath = folder + "/in.syx";
    const std::string namesPath = folder + "/in.plf";
    std::filesystem::remove(namesPath);

    const auto* begin = reinterpret_cast<const char*>(data);
    const std::string_view input(begin, size);
    const std::size_t marker = input.find(kMarker);
    const std::string_view bank = input.substr(0, marker);
    fuzzing::WriteFile(bankPath, bank.data(), bank.size());
    if (marker != std::string_view::npos) {
        const std::string_view names = input.substr(marker + std::strlen(kMarker));
        fuzzing::WriteFile(namesPath, names.data(), names.size());
    }

    fuzzing::Editor first;
    Load(first, bankPath);
    CheckEditor(first);

    const std::string savedPath = folder + "/out.syx";
    first.platform.QueueFileChoice(savedPath);
    first.run.form1.cmdSaveAs_Click();
    CheckEditor(first);

    fuzzing::Editor second;
    Load(second, savedPath);
    CheckEditor(second);
    for (int slot = 1; slot <= 16; ++slot)
        VOXTANE_FUZZ_CHECK(second.run.module1.PatchBank[slot] == first.run.module1.PatchBank[slot]);
    for (int i = 0; i < 16; ++i)
        VOXTANE_FUZZ_CHECK(second.run.form1.cboPatches.List(i) ==
                           first.run.form1.cboPatches.List(i));
    return 0;
}
