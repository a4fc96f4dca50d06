#pragma once

#include <nlohmann/json.hpp>

#include "editor/tone_controls.h"

namespace voxtane::cli {

// What the tone controls show, one key per control under its name in the editor's order: an
// option array as its selected index, a scroll bar as its value, a label as its text and a
// text-box array as the list of its texts.
[[nodiscard]] nlohmann::ordered_json ControlsToJson(const editor::ToneControls& controls);

}  // namespace voxtane::cli
