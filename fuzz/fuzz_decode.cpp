// Any 256-entry record decoded into the controls: decoding never changes the record. And a record
// made by user edits (chosen by the input) decodes and re-encodes to itself, byte for byte.
#include <cstdint>

#include "fuzz_support.h"
#include "handler_walk.h"

using namespace voxtane;

namespace {

class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    [[nodiscard]] bool Empty() const { return position_ >= size_; }
    int Byte() { return Empty() ? 0 : data_[position_++]; }
    int Below(int n) { return n <= 0 ? 0 : Byte() % n; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Decoding any record leaves it as it was.
    {
        fuzzing::Editor editor;
        ToneRecord& record = editor.run.module1.ScratchRecord;
        for (int e = 1; e <= kToneEntries; ++e) {
            const std::size_t at = 2 * static_cast<std::size_t>(e - 1);
            record[e] =
                at + 1 < size ? static_cast<std::int16_t>(data[at] | (data[at + 1] << 8)) : 0;
        }
        const ToneRecord before = record;
        editor.run.form1.ParseSysex();
        VOXTANE_FUZZ_CHECK(record == before);
        VOXTANE_FUZZ_CHECK(!editor.run.module1.ParsingSysex);
    }

    // A record made by edits comes back unchanged from a decode and a re-encode of every control.
    fuzzing::Editor author;
    Input in(data, size);
    const auto below = [&in](int n) { return in.Below(n); };
    for (int edits = 0; edits < 64 && !in.Empty(); ++edits)
        editor::MakeUserEdit(author.run.form1, below);
    const ToneRecord made = author.run.module1.ScratchRecord;

    fuzzing::Editor reader;
    reader.run.module1.ScratchRecord = made;
    reader.run.form1.ParseSysex();
    VOXTANE_FUZZ_CHECK(reader.run.module1.ScratchRecord == made);
    editor::RaiseEveryHandler(reader.run.form1);
    VOXTANE_FUZZ_CHECK(reader.run.module1.ScratchRecord == made);
    return 0;
}
