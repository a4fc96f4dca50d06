#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/editor_run.h"

// Edits given on the command line, each made as the user makes it in the editor window:
//   NAME=V        an option array: a click on element V; a scroll bar: its value set to V
//   NAME[i]=TEXT  a text-box array: the text of element i replaced by TEXT
//   name=TEXT     the current patch renamed, as typing TEXT into the patch list's field
// and actions, made as the window makes them:
//   select=N      patch N chosen in the patch list
//   undo, redo    Undo and Redo of the Edit menu
//   copy, paste   Copy Patch and Paste Patch, through a clipboard of the command's own
namespace voxtane::cli {

struct Assignment {
    enum class Target { Option, Bar, TextBox, PatchName, Select, Undo, Redo, Copy, Paste };
    Target target = Target::Option;
    std::string control;  // the control's name; empty for the patch name
    int index = 0;        // the text box element
    int number = 0;       // the option element or the bar's value
    std::string text;     // the text box's or the patch's new text
};

// Reads and checks every assignment against the controls' names and ranges before any is made,
// so that a bad one leaves everything untouched. Throws a usage error naming the first bad one.
[[nodiscard]] std::vector<Assignment> ParseAssignments(const std::vector<std::string>& arguments,
                                                       const editor::ToneControls& controls);

// Makes one checked assignment on the editor.
void ApplyAssignment(editor::EditorRun& run, const Assignment& assignment);

}  // namespace voxtane::cli
