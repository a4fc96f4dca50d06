#include "varied_tones.h"

#include <type_traits>
#include <variant>

namespace voxtane::bench {

void VaryTone(editor::Form1& form, int seed) {
    int k = 0;
    for (const auto& named : form.All()) {
        ++k;
        std::visit(
            [seed, k](auto* control) {
                using Control = std::remove_pointer_t<decltype(control)>;
                if constexpr (std::is_same_v<Control, editor::OptionArray>) {
                    control->Click((seed + k) % control->Count());
                } else if constexpr (std::is_same_v<Control, editor::ScrollBar>) {
                    const int span = control->Max() - control->Min() + 1;
                    control->SetValue(control->Min() + (seed + k) % span);
                } else if constexpr (std::is_same_v<Control, editor::TextBoxArray>) {
                    for (int i = 0; i < control->Count(); ++i)
                        control->SetText(i, std::to_string((seed * 7 + i * 3 + k) % 100));
                }
            },
            named.control);
    }
}

void VaryBank(editor::Form1& form, int first) {
    for (int patch = 0; patch < 16; ++patch) {
        form.cboPatches.SetListIndex(patch);
        VaryTone(form, first + patch);
        form.cboPatches.SetText("Bench " + std::to_string(first + patch));
    }
    form.cboPatches.SetListIndex(0);
}

}  // namespace voxtane::bench
