// Bank and names files of any bytes, kept in memory and read by the loader's own readers (the
// code that reads real files, fed from a buffer), at full speed. What the editor does with the
// result, and the file system's cases, are fuzz_bank_load's. Checked here: the reader reports
// what it read consistently; the tones a load gives, saved and read again, are the same tones;
// the names are valid and within their length, and read back the same after saving.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "bank/bank_limits.h"
#include "bank/names_file.h"
#include "bank/sysex_bank_writer.h"
#include "bank/text_encoding.h"
#include "fuzz_support.h"
#include "memory_bank_files.h"
#include "tone/default_tone.h"

using namespace voxtane;

namespace {

// The checks themselves need no coverage: their comparisons would only slow the search.
#define VOXTANE_CHECKER __attribute__((no_sanitize("coverage")))

const std::string kBank = "/memory/in.syx";
const std::string kSaved = "/memory/out.syx";

VOXTANE_CHECKER void CheckMessages(const BankReadResult& read, std::string_view bytes) {
    VOXTANE_FUZZ_CHECK(read.messages.size() <= kBankSlots);
    VOXTANE_FUZZ_CHECK((read.status == BankReadStatus::Read) == !read.messages.empty());
    if (bytes.empty()) VOXTANE_FUZZ_CHECK(read.status == BankReadStatus::Empty);
    if (!bytes.empty() && static_cast<std::uint8_t>(bytes[0]) != kSysexStart)
        VOXTANE_FUZZ_CHECK(read.status == BankReadStatus::NotSysex);
    std::uint64_t next = 0;  // messages lie back to back from the first byte
    for (const SysexMessage& message : read.messages) {
        VOXTANE_FUZZ_CHECK(message.offset == next);
        VOXTANE_FUZZ_CHECK(message.length >= 1 && message.offset + message.length <= bytes.size());
        VOXTANE_FUZZ_CHECK(static_cast<std::uint8_t>(bytes[message.offset]) == kSysexStart);
        VOXTANE_FUZZ_CHECK(
            message.endedByF7 ==
            (static_cast<std::uint8_t>(bytes[message.offset + message.length - 1]) == kSysexEnd));
        VOXTANE_FUZZ_CHECK(message.dataCount >= 0 && message.dataCount <= kToneEntries);
        VOXTANE_FUZZ_CHECK(message.headerCount >= 0 && message.headerCount <= 6);
        if (message.form == MessageForm::SynthAnswer)
            VOXTANE_FUZZ_CHECK(message.length == kSynthAnswerLength);
        VOXTANE_FUZZ_CHECK(std::memcmp(bytes.data() + message.offset + message.DataOffset(),
                                       message.data.data(), message.dataCount) == 0);
        next = message.offset + message.length;
    }
}

VOXTANE_CHECKER void CheckSavedTones(const BankReadResult& again,
                                     const std::vector<ToneRecord>& slots) {
    VOXTANE_FUZZ_CHECK(again.messages.size() == slots.size());
    for (std::size_t i = 0; i < slots.size(); ++i) {
        VOXTANE_FUZZ_CHECK(again.messages[i].dataCount == kToneEntries);
        VOXTANE_FUZZ_CHECK(again.messages[i].form == MessageForm::ToneDump);
        for (int k = 0; k < kToneEntries; ++k)
            VOXTANE_FUZZ_CHECK(again.messages[i].data[k] == (slots[i][k + 1] & 0xFF));
    }
}

VOXTANE_CHECKER void CheckNames(const std::vector<std::string>& names) {
    VOXTANE_FUZZ_CHECK(names.size() <= kBankSlots);
    for (const std::string& name : names) {
        VOXTANE_FUZZ_CHECK(IsValidUtf8(name));
        VOXTANE_FUZZ_CHECK(CutToCharacters(name, kMaxNameLength) == name);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static editor::MemoryBankFiles files;
    files.files.clear();
    const fuzzing::BankInput input =
        fuzzing::SplitBankInput({reinterpret_cast<const char*>(data), size});
    const std::string_view bank = input.bank;
    files.files[kBank] = std::string(bank);
    if (input.names) files.files[NamesFilePath(kBank)] = std::string(*input.names);

    const BankReadResult read = files.ReadBank(kBank, kBankSlots);
    CheckMessages(read, bank);

    // The slots a load fills: the default tone, overwritten as far as each message reaches.
    std::string saved;
    std::vector<ToneRecord> slots;
    for (const SysexMessage& message : read.messages) {
        ToneRecord slot = DefaultToneRecord();
        for (int k = 0; k < message.dataCount; ++k) slot[k + 1] = message.data[k];
        slots.push_back(slot);
        const ToneDump dump = BuildToneDump(slot, MemoryPosition(static_cast<int>(slots.size())));
        saved.append(dump.begin(), dump.end());
    }
    files.files[kSaved] = saved;
    const BankReadResult again = files.ReadBank(kSaved, kBankSlots);
    CheckSavedTones(again, slots);

    const NamesReadResult names = files.ReadNamesOf(kBank, kBankSlots);
    CheckNames(names.names);
    VOXTANE_FUZZ_CHECK(files.WriteNames(NamesFilePath(kSaved), names.names).ok());
    VOXTANE_FUZZ_CHECK(files.ReadNamesOf(kSaved, kBankSlots).names == names.names);
    return 0;
}
