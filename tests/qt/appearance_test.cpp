// The View menu's looks in the real window: zoom grows the fixed arrangement as a whole and comes
// back to it exactly, themes put their palette on every window, and the editor's own drawings
// take every colour from the palette. With VOXTANE_SCREENSHOT_DIR set, the main window in Dark
// at 100% and 200% is saved there.
#include <QGroupBox>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QStyleOptionFocusRect>
#include <random>

#include "editor/appearance/appearance.h"
#include "editor/appearance/colours.h"
#include "editor_window.h"
#include "qt/appearance/theme_palette.h"
#include "qt/candidate_cell.h"
#include "qt/envelope_graph.h"
#include "qt/option_pictures.h"
#include "qt/piano_strip.h"
#include "qt/voice_window.h"
#include "qt/wave_view.h"

namespace voxtane::qttest {
namespace {

using Places = std::map<QString, QRect>;

Places PlacesIn(const QWidget& area) {
    Places places;
    for (const QWidget* widget : area.findChildren<QWidget*>())
        if (!widget->objectName().isEmpty()) places[widget->objectName()] = widget->geometry();
    return places;
}

// Every pixel of `image` is `colour`, but for the rounding of blending it with itself.
bool Only(const QImage& image, QColor colour) {
    const auto near = [](int one, int other) { return std::abs(one - other) <= 2; };
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (!near(pixel.red(), colour.red()) || !near(pixel.green(), colour.green()) ||
                !near(pixel.blue(), colour.blue()) || pixel.alpha() != 255)
                return false;
        }
    }
    return true;
}

QImage Drawn(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget.render(&image, {}, {}, QWidget::DrawWindowBackground);
    return image;
}

class AppearanceTest : public FreshWindowTest {
    Q_OBJECT

  private:
    QWidget* Area() const { return editor_->Required(QStringLiteral("ToneArea")); }

  private slots:
    // Each step grows every place by its factor; Actual Size puts back every place exactly.
    void zoomGrowsTheArrangementAndActualSizeRestoresIt() {
        const Places designed = PlacesIn(*Area());
        const QSize area = Area()->size();
        const int text = editor_->window.font().pixelSize();
        for (const int percent : editor::kZoomSteps) {
            if (percent == editor::kActualSize) continue;
            editor_->Action(QStringLiteral("cmdZoomIn"))->trigger();
            QCOMPARE(Area()->width(), qRound(area.width() * percent / 100.0));
            QVERIFY(editor_->window.font().pixelSize() <= text * percent / 100);
            for (const auto& [name, place] : PlacesIn(*Area())) {
                const QRect was = designed.at(name);
                QVERIFY2(std::abs(place.left() - was.left() * percent / 100.0) <= 1,
                         qPrintable(name));
                QVERIFY2(std::abs(place.width() - was.width() * percent / 100.0) <= 1.5,
                         qPrintable(name));
            }
        }
        QVERIFY(!editor_->Action(QStringLiteral("cmdZoomIn"))->isEnabled());
        QVERIFY(editor_->Action(QStringLiteral("cmdZoomOut"))->isEnabled());
        editor_->Action(QStringLiteral("cmdActualSize"))->trigger();
        QCOMPARE(PlacesIn(*Area()), designed);
        QCOMPARE(Area()->size(), area);
        QCOMPARE(editor_->window.font().pixelSize(), text);
        QVERIFY(!editor_->Action(QStringLiteral("cmdZoomOut"))->isEnabled());
    }

    void zoomKeys() {
        QWidget* focus = editor_->Required(QStringLiteral("cmdSendOutSysex"));
        focus->setFocus();
        const int width = Area()->width();
        QTest::keyClick(focus, Qt::Key_Equal, Qt::ControlModifier);
        QTest::keyClick(focus, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(Area()->width(), qRound(width * 1.25));
        QTest::keyClick(focus, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(Area()->width(), qRound(width * 1.1));
        QTest::keyClick(focus, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(Area()->width(), width);
    }

    // A theme is the application's palette, so every window has it; System brings back the
    // palette the desktop gave, and the menu shows the one in force.
    void themesColourEveryWindowAndSystemGivesTheDesktopsBack() {
        const QPalette desktop = QApplication::palette();
        editor_->window.ShowVoiceWindow();
        auto* voice = editor_->window.findChild<qt::VoiceWindow*>();
        QVERIFY(voice != nullptr);
        for (const editor::ThemeName& name : editor::kThemeNames) {
            if (name.theme == editor::Theme::System) continue;
            QAction* entry = nullptr;
            for (QAction* action : editor_->window.findChildren<QAction*>())
                if (action->isCheckable() && action->data().toInt() == int(name.theme))
                    entry = action;
            QVERIFY(entry != nullptr);
            entry->trigger();
            QVERIFY(entry->isChecked());
            const QColor window =
                qt::ColourOf((*editor::ColoursOf(name.theme))[editor::ColourRole::Window]);
            QCOMPARE(QApplication::palette().color(QPalette::Window), window);
            QTRY_COMPARE(voice->palette().color(QPalette::Window), window);
            QCOMPARE(Area()->palette().color(QPalette::Window), window);
        }
        editor_->Required<QAction>(QStringLiteral("cmdThemeSystem"))->trigger();
        QCOMPARE(QApplication::palette().color(QPalette::Window), desktop.color(QPalette::Window));
        QCOMPARE(QApplication::palette().color(QPalette::Highlight),
                 desktop.color(QPalette::Highlight));
    }

    // With every role of the palette one colour, a drawing that takes its colours only from the
    // palette is that colour everywhere, however it blends and fades them.
    void drawingsTakeEveryColourFromThePalette() {
        editor_->window.ShowVoiceWindow();
        auto* voice = editor_->window.findChild<qt::VoiceWindow*>();
        QVERIFY(QTest::qWaitForWindowExposed(voice));
        qt::CandidateCell cell(0, nullptr);
        cell.resize(cell.sizeHint());
        cell.setFrameShape(QFrame::NoFrame);  // the style's frame, in the style's shades
        std::vector<QWidget*> drawings = {&cell};
        for (QWidget* drawing : voice->findChildren<QWidget*>())
            if (qobject_cast<qt::EnvelopeGraph*>(drawing) || qobject_cast<qt::WaveView*>(drawing) ||
                qobject_cast<qt::PianoStrip*>(drawing))
                drawings.push_back(drawing);
        QVERIFY(drawings.size() >= 4);
        std::mt19937 random(23);
        for (int round = 0; round < 3; ++round) {
            const QColor colour(random() % 256, random() % 256, random() % 256);
            QPalette single;
            for (int role = 0; role < QPalette::NColorRoles; ++role)
                for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
                    single.setColor(group, QPalette::ColorRole(role), colour);
            for (QWidget* drawing : drawings) {
                const QPalette before = drawing->palette();
                drawing->setPalette(single);
                drawing->setFocus();
                QVERIFY2(Only(Drawn(*drawing), colour), drawing->metaObject()->className());
                drawing->setPalette(before);
            }
            // The option pictures take the application's palette, as the icons of a desktop do.
            const QPalette application = QApplication::palette();
            QApplication::setPalette(single);
            QImage picture(64, 48, QImage::Format_ARGB32_Premultiplied);
            picture.fill(colour);
            QPainter painter(&picture);
            qt::OptionPicture(qt::PictureSet::Waveform, 3).paint(&painter, picture.rect());
            painter.end();
            QApplication::setPalette(application);
            QVERIFY(Only(picture, colour));
        }
    }

    // The focus ring and a chosen picture's ring in High Contrast: the highlight colour.
    void focusRingIsTheHighlight() {
        editor_->Required<QAction>(QStringLiteral("cmdThemeHighContrast"))->trigger();
        QStyleOption option;
        option.rect = QRect(0, 0, 40, 20);
        option.palette = QApplication::palette();
        QImage ring(option.rect.size(), QImage::Format_ARGB32_Premultiplied);
        ring.fill(option.palette.color(QPalette::Window));
        QPainter painter(&ring);
        QApplication::style()->drawControl(QStyle::CE_FocusFrame, &option, &painter);
        painter.end();
        QCOMPARE(ring.pixelColor(20, 1), option.palette.color(QPalette::Highlight));
        QCOMPARE(ring.pixelColor(20, 10), option.palette.color(QPalette::Window));
        editor_->Required<QAction>(QStringLiteral("cmdThemeSystem"))->trigger();
    }

    void screenshots() {
        const QString folder = qEnvironmentVariable("VOXTANE_SCREENSHOT_DIR");
        if (folder.isEmpty()) QSKIP("VOXTANE_SCREENSHOT_DIR is not set");
        editor_->Required<QAction>(QStringLiteral("cmdThemeDark"))->trigger();
        QTRY_COMPARE(editor_->window.palette().color(QPalette::Window),
                     QApplication::palette().color(QPalette::Window));
        const QSize designed = editor_->window.size();
        QVERIFY(editor_->window.grab().save(folder + QStringLiteral("/main-window-dark.png")));
        for (int i = 0; i < 5; ++i) editor_->Action(QStringLiteral("cmdZoomIn"))->trigger();
        // The screen here is no larger than the designed window; the picture shows all of it.
        editor_->window.resize(designed * 2);
        QCoreApplication::processEvents();
        QVERIFY(editor_->window.grab().save(folder + QStringLiteral("/main-window-dark-200.png")));
        editor_->Action(QStringLiteral("cmdActualSize"))->trigger();
        editor_->Required<QAction>(QStringLiteral("cmdThemeSystem"))->trigger();
    }
};

}  // namespace
}  // namespace voxtane::qttest

VOXTANE_QT_TEST_MAIN(voxtane::qttest::AppearanceTest)
#include "appearance_test.moc"
