#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QString>
#include <QtTest>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/editor_run.h"
#include "editor/scripted_platform.h"
#include "midi/clock.h"
#include "midi/recording_backend.h"
#include "midi/scripted_device_window.h"
#include "qt/application_setup.h"
#include "qt/main_window.h"
#include "voice/audio_output.h"

namespace voxtane::qttest {

// A clock that only counts the time it is asked to wait, so a test note takes no time.
class CountingClock : public midi::Clock {
  public:
    [[nodiscard]] TimePoint Now() const override { return now_; }
    void SleepFor(Duration duration) override { now_ += duration; }

  private:
    TimePoint now_{};
};

struct EditorSetup {
    std::string programFolder = "/opt/voxtane";
    // The MIDI output devices the run finds, and the device list entry chosen at start-up;
    // without a choice the list is closed as it opened.
    std::vector<std::string> midiDevices;
    std::optional<int> deviceChoice;
    // The audio output the Voice window plays on; none when null. It outlives the window.
    voice::AudioOutput* audio = nullptr;
};

// A started editor in its real main window, with a scripted platform that records the message
// boxes and dialogs and answers them from its queues, and a MIDI backend that records what is
// sent.
struct EditorWindow {
    explicit EditorWindow(const EditorSetup& setup = {});

    editor::ScriptedPlatform platform;
    midi::RecordingBackend midiBackend;
    midi::ScriptedDeviceWindow deviceWindow;
    CountingClock clock;
    editor::EditorRun run;
    editor::Form1& form = run.form1;
    Module1& module = run.module1;
    qt::MainWindow window;

    template <class T = QWidget>
    [[nodiscard]] T* Widget(const QString& name) const {
        return window.findChild<T*>(name);
    }
    [[nodiscard]] QAction* Action(const QString& name) const { return Widget<QAction>(name); }
    // The same, for widgets a test cannot go on without: a missing one ends the test program.
    template <class T = QWidget>
    [[nodiscard]] T* Required(const QString& name) const {
        T* found = Widget<T>(name);
        if (found == nullptr) qFatal("no widget or menu entry named %s", qPrintable(name));
        return found;
    }
    // Shows the window and makes it the active one, so that keyboard shortcuts reach it.
    [[nodiscard]] bool ShowActive();
};

// A test class whose every test function starts with a fresh editor window, shown and active.
class FreshWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        editor_ = std::make_unique<EditorWindow>();
        QVERIFY(editor_->ShowActive());
    }
    void cleanup() { editor_.reset(); }

  protected:
    std::unique_ptr<EditorWindow> editor_;
};

// Clicks an option element where a user clicks it: on the round mark of a captioned option,
// in the middle of a picture.
void ClickOption(QAbstractButton* button);

// The element widget name of a control array: "optLS(2)".
[[nodiscard]] QString Element(const char* array, int index);

}  // namespace voxtane::qttest

// A test program's main: the application is set up as the editor's program sets it up.
#define VOXTANE_QT_TEST_MAIN(TestClass)         \
    int main(int argc, char* argv[]) {          \
        QApplication app(argc, argv);           \
        voxtane::qt::SetUpApplication(app);     \
        TestClass test;                         \
        return QTest::qExec(&test, argc, argv); \
    }
