#pragma once

#include <QApplication>
#include <optional>

namespace voxtane::qt {

// What the editor sets on the application before its first window: its name, and a
// style based on Fusion, whose controls look and measure the same on every desktop, so that the
// designed arrangement of the window holds everywhere.
void SetUpApplication(QApplication& app);

// The program's icon, for every window without one of its own. Drawn as vectors at each size
// the desktop asks for, it takes longer than the rest of the set-up together: the program sets
// it once its first window is on screen, and the window takes it then.
void SetApplicationIcon();

// `voxtane --version` and `voxtane --help` are answered on standard output before the
// application exists, so that they work without a display. Returns the exit status when the
// command line asked only for that; Qt's own options (-platform, ...) are left to QApplication.
[[nodiscard]] std::optional<int> AnswerInformationOptions(int argc, char* argv[]);

}  // namespace voxtane::qt
