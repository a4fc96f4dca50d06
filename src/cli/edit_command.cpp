// edit: a bank file loaded, edited as the user edits in the window, and saved under a new name.
#include <algorithm>
#include <iostream>

#include "cli/assignments.h"
#include "cli/cli_error.h"
#include "cli/commands.h"
#include "cli/headless_editor.h"
#include "editor/envelope_entry.h"

namespace voxtane::cli {
namespace {

// Decoding problems do not stop the edit; each distinct one is passed on once.
void PrintDecodingNotes(const HeadlessEditor& editor, std::vector<std::string>& printed) {
    for (const std::string& text : editor.MessagesTitled(kParseErrorTitle)) {
        if (std::find(printed.begin(), printed.end(), text) != printed.end()) continue;
        std::cerr << "note: " << text << '\n';
        printed.push_back(text);
    }
}

// An envelope box given a text that does not store its number is told as the window tells it
// when the box is left.
void PrintEntryNote(const Assignment& assignment) {
    if (assignment.target != Assignment::Target::TextBox) return;
    const editor::EnvelopeEntry entry =
        editor::ReadEnvelopeEntry(assignment.control, assignment.index, assignment.text);
    if (!entry.note.empty()) std::cerr << "note: " << entry.note << '\n';
}

}  // namespace

int RunEdit(const EditOptions& options) {
    HeadlessEditor editor;
    // Every assignment is checked before the file is touched.
    const std::vector<Assignment> assignments =
        ParseAssignments(options.assignments, editor.Form());

    editor.Load(options.in);
    // The loaded file is where the history starts: an undo more than the edits keeps it.
    editor.Run().history.Clear();
    std::vector<std::string> notes;
    PrintDecodingNotes(editor, notes);
    const int count = editor.State().PatchCount;
    if (options.patch < 1 || options.patch > count)
        throw UsageError("--patch " + std::to_string(options.patch) + ": \"" + options.in +
                         "\" holds patches 1 to " + std::to_string(count));

    editor.Platform().ClearRecords();
    editor.Form().cboPatches.SetListIndex(options.patch - 1);
    for (const Assignment& assignment : assignments) {
        if (assignment.target == Assignment::Target::Undo && !editor.Run().history.CanUndo()) {
            std::cerr << "note: undo: nothing left to undo; the history starts with \""
                      << options.in << "\" as loaded\n";
            continue;
        }
        ApplyAssignment(editor.Run(), assignment);
        PrintEntryNote(assignment);
    }
    PrintDecodingNotes(editor, notes);

    editor.SaveAllAs(options.out);
    PrintDecodingNotes(editor, notes);
    return kExitOk;
}

}  // namespace voxtane::cli
