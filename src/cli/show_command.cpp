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

constexpr int kIndent = 2;

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

// Names come from files that may hold any bytes: never fail on text that is not UTF-8.
std::string Dump(const nlohmann::ordered_json& json) {
    return json.dump(kIndent, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

// Every line moved in by one level, as an element of an array.
std::string IndentedOneLevel(const std::string& text) {
    std::string indented(kIndent, ' ');
    for (const char c : text) {
        indented += c;
        if (c == '\n') indented.append(kIndent, ' ');
    }
    return indented;
}

}  // namespace

int RunShow(const ShowOptions& options) {
    HeadlessEditor bank;
    bank.Load(options.file);
    const int count = bank.State().PatchCount;
    auto patchJson = [&](int n) {
        return DecodePatch(bank.State().PatchBank[n], n, bank.Form().cboPatches.List(n - 1));
    };

    if (options.patch) {
        if (*options.patch < 1 || *options.patch > count)
            throw UsageError("--patch " + std::to_string(*options.patch) + ": \"" + options.file +
                             "\" holds patches 1 to " + std::to_string(count));
        std::cout << Dump(patchJson(*options.patch)) << '\n';
        return kExitOk;
    }
    // The array as one dump would print it, a patch at a time, so that only one patch's JSON is
    // ever held.
    std::cout << "[\n";
    for (int n = 1; n <= count; ++n) {
        std::cout << IndentedOneLevel(Dump(patchJson(n)));
        std::cout << (n < count ? ",\n" : "\n");
    }
    std::cout << "]\n";
    return kExitOk;
}

}  // namespace voxtane::cli
