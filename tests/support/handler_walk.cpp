#include "handler_walk.h"

#include <string>
#include <type_traits>

namespace voxtane::editor {

void RaiseEveryHandler(ToneControls& controls) {
    for (const NamedControl& named : controls.All()) {
        std::visit(
            [](auto* control) {
                using Control = std::remove_pointer_t<decltype(control)>;
                if constexpr (std::is_same_v<Control, OptionArray>) {
                    control->onClick(control->Selected());
                } else if constexpr (std::is_same_v<Control, ScrollBar>) {
                    control->onChange();
                } else if constexpr (std::is_same_v<Control, TextBoxArray>) {
                    for (int i = 0; i < control->Count(); ++i)
                        control->onChange(static_cast<std::int16_t>(i));
                }
            },
            named.control);
    }
}

void MakeUserEdit(ToneControls& controls, const std::function<int(int)>& below) {
    const auto& all = controls.All();
    std::visit(
        [&below](auto* control) {
            using Control = std::remove_pointer_t<decltype(control)>;
            if constexpr (std::is_same_v<Control, OptionArray>) {
                control->Click(below(control->Count()));
            } else if constexpr (std::is_same_v<Control, ScrollBar>) {
                control->SetValue(control->Min() + below(control->Max() - control->Min() + 1));
            } else if constexpr (std::is_same_v<Control, TextBoxArray>) {
                const int index = below(control->Count());
                control->SetText(index, std::to_string(below(100)));
            }
        },
        all[below(static_cast<int>(all.size()))].control);
}

}  // namespace voxtane::editor
