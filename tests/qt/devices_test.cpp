// The device library loaded on a thread of its own at start-up: from the build tree, missing,
// or a library that is not it.
#include <QTest>
#include <QThread>

#include "editor_window.h"
#include "qt/background_devices.h"

namespace voxtane::qttest {

class DevicesTest : public QObject {
    Q_OBJECT

  private slots:
    void libraryLoaded_data() {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QString>("problem");  // what the reason starts with; "" when loaded
        QTest::newRow("the device library") << QStringLiteral(VOXTANE_DEVICES_LIBRARY) << QString();
        QTest::newRow("missing") << QStringLiteral("/nonexistent/libvoxtane_devices.so")
                                 << QStringLiteral("the device library could not be loaded");
        // A shared library without the entry points.
        QTest::newRow("another library")
            << QStringLiteral("libm.so.6") << QStringLiteral("the device library libm.so.6 is not");
    }
    void libraryLoaded() {
        QFETCH(QString, library);
        QFETCH(QString, problem);
        qt::BackgroundDevices devices(library);
        devices.Wait();
        const QString told = QString::fromStdString(devices.Problem());
        QVERIFY2(problem.isEmpty() ? told.isEmpty() : told.startsWith(problem), qPrintable(told));
        // Nothing is left waiting or half made, whatever came of the loading.
        QCOMPARE(devices.Audio() != nullptr, problem.isEmpty());
        midi::MidiBackend& midi = devices.Midi();
        const std::size_t listed = midi.ListDevices();
        if (!problem.isEmpty()) {
            QCOMPARE(listed, std::size_t(0));
            QCOMPARE(midi.NameOf(0).status.code, midi::MMSYSERR_BADDEVICEID);
            const midi::OpenedOutput opened = midi.OpenDefault();
            QVERIFY(opened.connection == nullptr);
            QCOMPARE(opened.status.code, midi::MIDIERR_NODEVICE);
            QCOMPARE(opened.status.reason, devices.Problem());
        }
        for (std::size_t i = 0; i < listed; ++i) QVERIFY(!midi.NameOf(i).name.empty());
    }

    // However the loading thread's end falls against the wait (before it, during it, or with
    // the window's events processed in between), the wait ends, and with the result.
    void waitEndsWheneverTheLoadingEnds() {
        for (int i = 0; i < 200; ++i) {
            qt::BackgroundDevices devices(QStringLiteral("/nonexistent/libvoxtane_devices.so"));
            if (i % 3 == 1) QThread::usleep(200);
            if (i % 3 == 2) QCoreApplication::processEvents();
            devices.Wait();
            QVERIFY(!devices.Problem().empty());
        }
    }
};

}  // namespace voxtane::qttest

VOXTANE_QT_TEST_MAIN(voxtane::qttest::DevicesTest)
#include "devices_test.moc"
