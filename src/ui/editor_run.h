#pragma once

#include "bank/module1.h"
#include "ui/form1.h"
#include "ui/platform.h"

namespace voxtane::ui {

// One run of the editor: its program-wide state and its main window's model. Every run starts
// from fresh state; nothing is shared between runs.
struct EditorRun {
    explicit EditorRun(Platform& platform) : form1(module1, platform) {}
    EditorRun(const EditorRun&) = delete;
    EditorRun& operator=(const EditorRun&) = delete;

    // Starts the editor as the program does: defaults encoded, bank filled, patch 1 selected.
    void Start() { form1.Form_Load(); }

    Module1 module1;
    Form1 form1;
};

}  // namespace voxtane::ui
