// The editor with its Library window open on a whole library, on Qt's offscreen platform: opens
// the window as Library > Library... does, waits for its scan at start, lists every tone the
// first search gives, asks for "More Like This" on the first, and prints the memory the process
// holds then (VmRSS) and at most (VmHWM), in MiB, one "name value" per line.
//   voxtane_library_window_memory LIBRARY.sqlite
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTableView>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "editor/editor_run.h"
#include "midi/clock.h"
#include "midi/recording_backend.h"
#include "midi/scripted_device_window.h"
#include "qt/application_setup.h"
#include "qt/library_window.h"
#include "qt/main_window.h"
#include "qt/qt_platform.h"

namespace {

using namespace voxtane;

// The kilobytes of a line "Name:   N kB" of /proc/self/status.
double StatusMiB(const std::string& name) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(name + ":", 0) == 0) return std::atof(line.c_str() + name.size() + 1) / 1024;
    return 0;
}

// Processes events until `done` holds or ten minutes have passed.
bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 600000) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: voxtane_library_window_memory LIBRARY.sqlite\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string library = argv[1];
    int qtArgc = 3;
    char program[] = "voxtane", option[] = "--library";
    char* qtArgv[] = {program, option, library.data(), nullptr};
    QApplication app(qtArgc, qtArgv);
    qt::SetUpApplication(app);

    qt::QtPlatform platform;
    midi::RecordingBackend midiBackend;
    midi::ScriptedDeviceWindow deviceWindow;
    midi::SteadyClock clock;
    editor::EditorRun run(platform, midiBackend, deviceWindow, clock);
    qt::MainWindow window(run);
    platform.SetMainWindow(&window);
    deviceWindow.QueueClick(0);
    run.Start();
    window.show();
    std::printf("editor_mib %.1f\n", StatusMiB("VmRSS"));

    auto* open = window.findChild<QAction*>(QStringLiteral("cmdLibrary"));
    if (open == nullptr) return 1;
    open->trigger();
    auto* libraryWindow = window.findChild<qt::LibraryWindow*>();
    if (libraryWindow == nullptr || !WaitFor([&] { return !libraryWindow->Busy(); })) return 1;
    std::printf("rows %d\n", libraryWindow->Model().rowCount());
    std::printf("open_mib %.1f\n", StatusMiB("VmRSS"));
    libraryWindow->Table().selectRow(0);
    auto* similar = libraryWindow->findChild<QPushButton*>(QStringLiteral("btnLibrarySimilar"));
    similar->click();
    if (!WaitFor([&] { return !libraryWindow->Busy(); })) return 1;
    std::printf("similar_rows %d\n", libraryWindow->Model().rowCount());
    std::printf("rss_mib %.1f\n", StatusMiB("VmRSS"));
    std::printf("hwm_mib %.1f\n", StatusMiB("VmHWM"));
    return 0;
}
