// show: what the editor displays for each patch of a bank file.
#include <iostream>

#include "cli/cli_error.h"
#include "cli/commands.h"
#include "cli/controls_json.h"
#include "cli/headless_editor.h"
#include "editor/tone_display.h"
#include "tone/decoded_tone.h"

namespace voxtane::cli {
namespace {

// Decodes one record onto controls as a freshly started editor shows them, so that they show
// the record as they do when it is the first patch selected, each message once.
nlohmann::ordered_json DecodePatch(const ToneRecord& record, int patch, const std::string& name) {
    editor::ToneControls controls;
    const ToneDecoding decoding = DecodeTone(record, editor::ShownTone(controls));
    editor::ShowDecodedTone(controls, decoding, [](const std::string&) {});

    nlohmann::ordered_json json;
    json["patch"] = patch;
    json["name"] = name;
    json["controls"] = ControlsToJson(controls);
    json["messages"] = nlohmann::ordered_json::array();
    for (const DecodingMessage& message : decoding.messages)
        json["messages"].push_back(message.text);
    return json;
}

}  // namespace

int RunShow(const ShowOptions& options) {
    HeadlessEditor bank;
    bank.Load(options.file);
    const int count = bank.State().PatchCount;
    auto patchJson = [&](int n) {
        return DecodePatch(bank.State().PatchBank[n], n, bank.Form().cboPatches.List(n - 1));
    };

    nlohmann::ordered_json result;
    if (options.patch) {
        if (*options.patch < 1 || *options.patch > count)
            throw UsageError("--patch " + std::to_string(*options.patch) + ": \"" + options.file +
                             "\" holds patches 1 to " + std::to_string(count));
        result = patchJson(*options.patch);
    } else {
        result = nlohmann::ordered_json::array();
        for (int n = 1; n <= count; ++n) result.push_back(patchJson(n));
    }
    // Names come from files that may hold any bytes: never fail on text that is not UTF-8.
    std::cout << result.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
              << '\n';
    return kExitOk;
}

}  // namespace voxtane::cli
