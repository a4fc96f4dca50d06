// show: what the editor displays for each patch of a bank file.
#include <iostream>

#include "cli/cli_error.h"
#include "cli/commands.h"
#include "cli/controls_json.h"
#include "cli/headless_editor.h"

namespace voxtane::cli {
namespace {

// Decodes one record in an editor started just for it, so the controls show the record as they
// do when it is the first patch selected, and each decoding message is shown exactly once.
nlohmann::ordered_json DecodePatch(const ToneRecord& record, int patch, const std::string& name) {
    HeadlessEditor editor;
    editor.State().ScratchRecord = record;
    editor.Platform().ClearRecords();
    editor.Form().ParseSysex();

    nlohmann::ordered_json json;
    json["patch"] = patch;
    json["name"] = name;
    json["controls"] = ControlsToJson(editor.Form());
    json["messages"] = editor.MessagesTitled(kParseErrorTitle);
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
