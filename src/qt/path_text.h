#pragma once

#include <QString>
#include <filesystem>

// File names between Qt's text and std::filesystem, whole on every system. A path's string()
// and a path made from a std::string use the system's narrow encoding, which is UTF-8 on Linux
// and macOS but the ANSI code page on Windows: a name with letters outside it would come out
// garbled or throw. UTF-16 converts the same way everywhere.
namespace voxtane::qt {

[[nodiscard]] inline QString PathText(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

[[nodiscard]] inline std::filesystem::path TextPath(const QString& text) {
    return std::filesystem::path(text.toStdU16String());
}

}  // namespace voxtane::qt
