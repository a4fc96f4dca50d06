#pragma once

#include <QApplication>
#include <optional>

namespace voxtane::qt {

// What the editor sets on the application before its first window: its name and icon, and a
// style based on Fusion, whose controls look and measure the same on every desktop, so that the
// designed arrangement of the window holds everywhere.
void SetUpApplication(QApplication& app);

// `voxtane --version` and `voxtane --help` are answered on standard output before the
// application exists, so that they work without a display. Returns the exit status when the
// command line asked only for that; Qt's own options (-platform, ...) are left to QApplication.
[[nodiscard]] std::optional<int> AnswerInformationOptions(int argc, char* argv[]);

}  // namespace voxtane::qt
