#pragma once

#include <QApplication>

namespace voxtane::qt {

// What the editor sets on the application before its first window: its name and icon, and a
// style based on Fusion, whose controls look and measure the same on every desktop, so that the
// designed arrangement of the window holds everywhere.
void SetUpApplication(QApplication& app);

}  // namespace voxtane::qt
