// The editor's program: one run of the editor, with the MIDI and audio systems of this machine,
// shown in its main window.
#include <QApplication>
#include <cstdio>
#include <optional>

#include "editor/editor_run.h"
#include "midi/clock.h"
#include "qt/application_setup.h"
#include "qt/background_devices.h"
#include "qt/device_dialog.h"
#include "qt/main_window.h"
#include "qt/qt_platform.h"
#include "qt/qt_services.h"
#include "qt/shown_exit.h"
#include "qt/start_up_walk.h"

int main(int argc, char* argv[]) {
    if (const auto status = voxtane::qt::AnswerInformationOptions(argc, argv)) return *status;
    QApplication app(argc, argv);
    voxtane::qt::ExitWhenShownIfAsked();
    voxtane::qt::SetUpApplication(app);
    // The device list is the first window a user meets: it goes on screen before the rest of
    // the editor is made, and takes its entries once the editor has listed the devices.
    voxtane::qt::QtDeviceWindow deviceWindow;
    deviceWindow.ShowEarly();
    // Then the MIDI systems and the audio output start on a thread of their own, while this one
    // draws the icon and builds the main window. (A process ended while JACK opens a client
    // leaves JACK's shared metadata database locked for every later client: the start-up
    // benchmark's early exit comes before this thread, see shown_exit.h.)
    voxtane::qt::BackgroundDevices devices;
    voxtane::qt::SetApplicationIcon();

    voxtane::qt::QtPlatform platform;
    voxtane::midi::SteadyClock clock;
    voxtane::qt::QtTicker ticker;
    voxtane::qt::QtSettingsStore settings;
    voxtane::editor::EditorRun run(platform, devices.Midi(), deviceWindow, clock, &ticker,
                                   &settings);
    if (!devices.Problem().empty())
        std::fprintf(stderr, "voxtane: %s: no MIDI or audio devices in this run\n",
                     devices.Problem().c_str());
    voxtane::qt::MainWindow window(run, devices.Audio());
    platform.SetMainWindow(&window);

    std::optional<voxtane::qt::StartUpWalk> walk;
    if (voxtane::qt::WalkWindowsRequested(argc, argv)) walk.emplace(window);

    // Start-up ends with the choice of the output device; the window shows after it.
    run.Start();
    window.show();
    return QApplication::exec();
}
