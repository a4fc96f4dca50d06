#include "cli/assignments.h"

#include <charconv>
#include <optional>
#include <variant>

#include "cli/cli_error.h"

namespace voxtane::cli {
namespace {

constexpr std::string_view kPatchNameKey = "name";

// A whole decimal number and nothing else.
std::optional<int> ParseInteger(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

struct Parts {
    std::string_view name;
    std::optional<std::string_view> index;  // the text between [ and ], when given
    std::string_view value;
};

// Patch names and envelope boxes are single-line fields: a user cannot type a line break into
// them, and one in a name would split it over two lines of the names file.
void RejectLineBreaks(std::string_view argument, std::string_view text) {
    if (text.find_first_of("\r\n") != std::string_view::npos)
        throw UsageError("\"" + std::string(argument.substr(0, argument.find('='))) +
                         "\": the text must be one line");
}

Parts SplitAssignment(std::string_view argument) {
    const auto equals = argument.find('=');
    if (equals == std::string_view::npos || equals == 0)
        throw UsageError("\"" + std::string(argument) + "\" is not an assignment NAME=VALUE");
    Parts parts{argument.substr(0, equals), std::nullopt, argument.substr(equals + 1)};
    const auto open = parts.name.find('[');
    if (open != std::string_view::npos) {
        if (parts.name.back() != ']' || open == 0)
            throw UsageError("\"" + std::string(argument) + "\": expected NAME[INDEX]=TEXT");
        parts.index = parts.name.substr(open + 1, parts.name.size() - open - 2);
        parts.name = parts.name.substr(0, open);
    }
    return parts;
}

// Checks one assignment against the kind and range of the control it names.
class Checker {
  public:
    Checker(std::string_view argument, const Parts& parts) : argument_(argument), parts_(parts) {}

    Assignment operator()(const editor::OptionArray* options) const {
        NoIndex();
        const int element = Number(0, options->Count() - 1);
        return {Assignment::Target::Option, std::string(parts_.name), 0, element, {}};
    }
    Assignment operator()(const editor::ScrollBar* bar) const {
        NoIndex();
        const int value = Number(bar->Min(), bar->Max());
        return {Assignment::Target::Bar, std::string(parts_.name), 0, value, {}};
    }
    Assignment operator()(const editor::Label*) const {
        throw Bad("is a label, which only the editor writes");
    }
    Assignment operator()(const editor::TextBoxArray* boxes) const {
        if (!parts_.index)
            throw Bad("is a text-box array: give an element as NAME[0.." +
                      std::to_string(boxes->Count() - 1) + "]=TEXT");
        const auto index = ParseInteger(*parts_.index);
        if (!index || !boxes->IsValidIndex(*index))
            throw Bad("has elements 0 to " + std::to_string(boxes->Count() - 1) + ", not [" +
                      std::string(*parts_.index) + "]");
        RejectLineBreaks(argument_, parts_.value);
        return {Assignment::Target::TextBox, std::string(parts_.name), *index, 0,
                std::string(parts_.value)};
    }

  private:
    CliError Bad(const std::string& why) const {
        return UsageError("\"" + std::string(argument_) + "\": " + std::string(parts_.name) + " " +
                          why);
    }
    void NoIndex() const {
        if (parts_.index) throw Bad("has no elements to index; use NAME=VALUE");
    }
    int Number(int min, int max) const {
        const auto value = ParseInteger(parts_.value);
        if (!value || *value < min || *value > max)
            throw Bad("takes a whole number from " + std::to_string(min) + " to " +
                      std::to_string(max));
        return *value;
    }

    std::string_view argument_;
    const Parts& parts_;
};

Assignment ParseAssignment(std::string_view argument, const editor::ToneControls& controls) {
    using Target = Assignment::Target;
    for (const auto& [word, action] : {std::pair{"undo", Target::Undo},
                                       {"redo", Target::Redo},
                                       {"copy", Target::Copy},
                                       {"paste", Target::Paste}})
        if (argument == word) return {action, {}, 0, 0, {}};
    const Parts parts = SplitAssignment(argument);
    if (parts.name == "select") {
        const auto patch = ParseInteger(parts.value);
        if (parts.index || !patch || *patch < 1 || *patch > kBankSlots)
            throw UsageError("\"" + std::string(argument) + "\": select takes a patch 1 to 16");
        return {Target::Select, {}, 0, *patch, {}};
    }
    if (parts.name == kPatchNameKey) {
        if (parts.index)
            throw UsageError("\"" + std::string(argument) + "\": the patch name has no elements");
        RejectLineBreaks(argument, parts.value);
        return {Assignment::Target::PatchName, {}, 0, 0, std::string(parts.value)};
    }
    const editor::NamedControl* named = controls.Find(parts.name);
    if (named == nullptr)
        throw UsageError("\"" + std::string(argument) + "\": no control is named \"" +
                         std::string(parts.name) + "\"");
    return std::visit(Checker(argument, parts), named->control);
}

}  // namespace

std::vector<Assignment> ParseAssignments(const std::vector<std::string>& arguments,
                                         const editor::ToneControls& controls) {
    std::vector<Assignment> assignments;
    for (const std::string& argument : arguments)
        assignments.push_back(ParseAssignment(argument, controls));
    return assignments;
}

void ApplyAssignment(editor::EditorRun& run, const Assignment& assignment) {
    using Target = Assignment::Target;
    editor::Form1& form = run.form1;
    switch (assignment.target) {
        case Target::PatchName:
            return form.cboPatches.SetText(assignment.text);
        case Target::Select:
            return form.cboPatches.SetListIndex(assignment.number - 1);
        case Target::Undo:
            return run.history.Undo();
        case Target::Redo:
            return run.history.Redo();
        case Target::Copy:
            return run.clipboard.CopyPatch();
        case Target::Paste:
            return run.clipboard.PastePatch();
        default:
            break;
    }
    const editor::ControlPointer control = form.Find(assignment.control)->control;
    switch (assignment.target) {
        case Target::Option:
            std::get<editor::OptionArray*>(control)->Click(assignment.number);
            break;
        case Target::Bar:
            std::get<editor::ScrollBar*>(control)->SetValue(assignment.number);
            break;
        case Target::TextBox:
            std::get<editor::TextBoxArray*>(control)->SetText(assignment.index, assignment.text);
            break;
        default:
            break;
    }
}

}  // namespace voxtane::cli
