#include "cli/controls_json.h"

#include <variant>

namespace voxtane::cli {
namespace {

struct ControlValue {
    nlohmann::ordered_json operator()(const editor::OptionArray* options) const {
        return options->Selected();
    }
    nlohmann::ordered_json operator()(const editor::ScrollBar* bar) const { return bar->Value(); }
    nlohmann::ordered_json operator()(const editor::Label* label) const { return label->Text(); }
    nlohmann::ordered_json operator()(const editor::TextBoxArray* boxes) const {
        auto texts = nlohmann::ordered_json::array();
        for (int i = 0; i < boxes->Count(); ++i) texts.push_back(boxes->Text(i));
        return texts;
    }
};

}  // namespace

nlohmann::ordered_json ControlsToJson(const editor::ToneControls& controls) {
    auto json = nlohmann::ordered_json::object();
    for (const editor::NamedControl& named : controls.All())
        json[std::string(named.name)] = std::visit(ControlValue{}, named.control);
    return json;
}

}  // namespace voxtane::cli
