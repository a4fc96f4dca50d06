// Any 256-entry record decoded into the controls: decoding never changes the record. And a record
// made by user edits (chosen by the input) decodes and re-encodes to itself, byte for byte.
#include <cstdint>
#include <string>
#include <variant>

#include "fuzz_support.h"

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

// Runs every control's handler once with what the control shows, as if the user re-entered it.
void ReencodeEveryControl(ui::Form1& form) {
    for (const auto& named : form.All()) {
        std::visit(
            [](auto* control) {
                using Control = std::remove_pointer_t<decltype(control)>;
                if constexpr (std::is_same_v<Control, ui::OptionArray>) {
                    control->onClick(control->Selected());
                } else if constexpr (std::is_same_v<Control, ui::ScrollBar>) {
                    control->onChange();
                } else if constexpr (std::is_same_v<Control, ui::TextBoxArray>) {
                    for (int i = 0; i < control->Count(); ++i)
                        control->onChange(static_cast<std::int16_t>(i));
                }
            },
            named.control);
    }
    // The sustain click of the selected step puts its flag back where a level change took it.
    for (auto& envelope : form.envelopes) envelope.sustain.onClick(envelope.sustain.Selected());
}

// A user's edit of one control, chosen by the input, with a value the control can take.
void ApplyEdit(ui::Form1& form, Input& in) {
    const auto& all = form.All();
    const auto& named = all[in.Below(static_cast<int>(all.size()))];
    std::visit(
        [&in](auto* control) {
            using Control = std::remove_pointer_t<decltype(control)>;
            if constexpr (std::is_same_v<Control, ui::OptionArray>) {
                control->Click(in.Below(control->Count()));
            } else if constexpr (std::is_same_v<Control, ui::ScrollBar>) {
                control->SetValue(control->Min() + in.Below(control->Max() - control->Min() + 1));
            } else if constexpr (std::is_same_v<Control, ui::TextBoxArray>) {
                control->SetText(in.Below(control->Count()), std::to_string(in.Below(100)));
            }
        },
        named.control);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Decoding any record leaves it as it was.
    {
        fuzzing::Editor editor;
        ToneRecord& record = editor.run.module1.ScratchRecord;
        for (int e = 1; e <= kToneEntries; ++e) {
            const std::size_t at = 2 * static_cast<std::size_t>(e - 1);
            record[e] = at + 1 < size ? static_cast<std::int16_t>(data[at] | (data[at + 1] << 8)) : 0;
        }
        const ToneRecord before = record;
        editor.run.form1.ParseSysex();
        VOXTANE_FUZZ_CHECK(record == before);
        VOXTANE_FUZZ_CHECK(!editor.run.module1.ParsingSysex);
    }

    // A record made by edits comes back unchanged from a decode and a re-encode of every control.
    fuzzing::Editor author;
    Input in(data, size);
    for (int edits = 0; edits < 64 && !in.Empty(); ++edits) ApplyEdit(author.run.form1, in);
    const ToneRecord made = author.run.module1.ScratchRecord;

    fuzzing::Editor reader;
    reader.run.module1.ScratchRecord = made;
    reader.run.form1.ParseSysex();
    VOXTANE_FUZZ_CHECK(reader.run.module1.ScratchRecord == made);
    ReencodeEveryControl(reader.run.form1);
    VOXTANE_FUZZ_CHECK(reader.run.module1.ScratchRecord == made);
    return 0;
}
