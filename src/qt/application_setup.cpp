#include "qt/application_setup.h"

#include "editor/appearance/appearance.h"
#include "qt/compact_style.h"
#include "qt/focus_mark.h"
#include "qt/option_pictures.h"
#include "qt/picture_option_accessible.h"
#include "qt/spoken_widget.h"
#include "voxtane_version.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace voxtane::qt {

void SetUpApplication(QApplication& app) {
    QApplication::setOrganizationName(QStringLiteral("Voxtane"));
    QApplication::setApplicationName(QStringLiteral("Voxtane"));
    QApplication::setApplicationVersion(QString::fromUtf8(kVersion.data(), kVersion.size()));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.voxtane.Voxtane"));
    app.setStyle(new CompactStyle);
    PresentPictureOptionsAsOptionButtons();
    InstallSpokenWidgets();
    ShowFocusMarks();
}

void SetApplicationIcon() {
    QApplication::setWindowIcon(ProgramIcon());
}

std::optional<int> AnswerInformationOptions(int argc, char* argv[]) {
    const editor::AppearanceOptions appearance = editor::ReadAppearanceOptions(
        std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
    if (!appearance.error.empty()) {
        std::fprintf(stderr, "voxtane: %s\n", appearance.error.c_str());
        return 2;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "--version" || option == "-v") {
            std::printf("voxtane %.*s\n", static_cast<int>(kVersion.size()), kVersion.data());
            return 0;
        }
        if (option == "--help" || option == "-h") {
            std::printf(
                "Usage: voxtane [Qt options]\n"
                "Edits the tones of a CZ1000 synthesizer: loads, edits, saves and sends SysEx "
                "banks.\n\n"
                "  -h, --help     show this help and end\n"
                "  -v, --version  show the version and end\n"
                "  --walk-windows open and close the start-up windows, then end (a check that\n"
                "                 an installation works)\n"
                "  --library PATH the tone library to use (default: the one voxtane-syx library\n"
                "                 uses, in the user's data folder)\n"
                "  --theme NAME   system, light, dark or high-contrast for this run (View >\n"
                "                 Theme keeps a choice between runs)\n"
                "  --zoom PERCENT the main window's size from 100 to 200 for this run\n\n"
                "The command line program voxtane-syx does the same work without a window; "
                "see voxtane(1) and voxtane-syx(1).\n");
            return 0;
        }
    }
    return std::nullopt;
}

}  // namespace voxtane::qt
