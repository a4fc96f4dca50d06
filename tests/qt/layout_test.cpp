// The main window as it stands: size, places, captions, menus and pictures, plus a screenshot.
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>
#include <map>
#include <variant>
#include <vector>

#include "editor_window.h"
#include "qt/option_pictures.h"

namespace voxtane::qttest {
namespace {

int ElementCount(const editor::ControlPointer& control) {
    if (auto* options = std::get_if<editor::OptionArray*>(&control)) return (*options)->Count();
    if (auto* boxes = std::get_if<editor::TextBoxArray*>(&control)) return (*boxes)->Count();
    return 0;
}

// Every control a user works with, by widget name: the elements of each tone control array, the
// scroll bars and their value labels, the patch list and the two buttons.
QStringList ControlNames(const editor::ToneControls& tone) {
    QStringList names = {"cboPatches", "cmdSendOutSysex", "cmdPLayANot"};
    for (const editor::NamedControl& control : tone.All()) {
        const QString name = QString::fromLatin1(control.name.data(), int(control.name.size()));
        const int count = ElementCount(control.control);
        if (count == 0) names << name;
        for (int i = 0; i < count; ++i) names << QStringLiteral("%1(%2)").arg(name).arg(i);
    }
    return names;
}

QRect InWindow(const QWidget* widget, const QWidget* window) {
    return {widget->mapTo(window, QPoint(0, 0)), widget->size()};
}

// Whether the widget is shown whole: inside each of its parents up to the window.
bool ShownWhole(const QWidget* widget, const QWidget* window) {
    QRect rect = widget->geometry();
    for (const QWidget* parent = widget->parentWidget(); parent != nullptr;
         parent = parent->parentWidget()) {
        if (!QRect(QPoint(0, 0), parent->size()).contains(rect)) return false;
        if (parent == window) return true;
        rect.translate(parent->pos());
    }
    return false;
}

QImage Render(const QIcon& icon, QSize size, qreal ratio) {
    return icon.pixmap(size, ratio).toImage();
}

}  // namespace

class LayoutTest : public FreshWindowTest {
    Q_OBJECT

  private slots:

    // Written for the documentation when VOXTANE_SCREENSHOT names a file.
    void screenshot() {
        const QImage shot = editor_->window.grab().toImage();
        QCOMPARE(shot.size() / shot.devicePixelRatio(), QSize(800, 600));
        const QString path = qEnvironmentVariable("VOXTANE_SCREENSHOT");
        if (!path.isEmpty()) QVERIFY(shot.save(path, "PNG"));
    }

    void windowOpensAt800By600() {
        QCOMPARE(editor_->window.size(), QSize(800, 600));
        QCOMPARE(editor_->window.windowTitle(), QStringLiteral("Voxtane"));
    }

    // Each control stands whole inside its group and the window, and no two of them overlap.
    void everyControlIsVisibleAndApart() {
        const QWidget* window = &editor_->window;
        const QStringList names = ControlNames(editor_->form);
        // The patch list and buttons, 16 captioned options, 9 bars with their labels, 4 vibrato and
        // 32 waveform pictures, and 6 envelopes of 4 arrays of 8.
        QCOMPARE(names.size(), 3 + 16 + 9 * 2 + 4 + 32 + 6 * 4 * 8);
        std::vector<std::pair<QString, QRect>> placed;
        for (const QString& name : names) {
            const QWidget* widget = editor_->Widget(name);
            QVERIFY2(widget != nullptr, qPrintable(name));
            QVERIFY2(widget->isVisible(), qPrintable(name));
            QVERIFY2(ShownWhole(widget, window), qPrintable(name));
            placed.emplace_back(name, InWindow(widget, window));
        }
        for (std::size_t i = 0; i < placed.size(); ++i) {
            for (std::size_t j = i + 1; j < placed.size(); ++j) {
                QVERIFY2(!placed[i].second.intersects(placed[j].second),
                         qPrintable(placed[i].first + " overlaps " + placed[j].first));
            }
        }
    }

    // Line 1 of the tone takes the left half of the lower bands, line 2 the right half.
    void lineOneLeftLineTwoRight() {
        const QWidget* window = &editor_->window;
        int lineOneRight = 0;
        int lineTwoLeft = window->width();
        for (const QWidget* widget : editor_->window.findChildren<QWidget*>()) {
            const QString name = widget->objectName();
            const QRect rect = InWindow(widget, window);
            if (name.contains("DCO1") || name.contains("DCW1") || name.contains("DCA1")) {
                lineOneRight = std::max(lineOneRight, rect.right());
            } else if (name.contains("DCO2") || name.contains("DCW2") || name.contains("DCA2")) {
                lineTwoLeft = std::min(lineTwoLeft, rect.left());
            }
        }
        QVERIFY(lineOneRight > 0);
        QVERIFY(lineOneRight < lineTwoLeft);
        QVERIFY(lineOneRight < window->width() / 2 + 10);
        QVERIFY(lineTwoLeft > window->width() / 2 - 10);
    }

    // Captions and the texts the boxes hold are not cut off.
    void textsFitTheirControls() {
        for (const QRadioButton* radio : editor_->window.findChildren<QRadioButton*>()) {
            if (radio->text().isEmpty()) continue;
            QVERIFY2(radio->width() >= radio->sizeHint().width(), qPrintable(radio->objectName()));
        }
        for (const QGroupBox* group : editor_->window.findChildren<QGroupBox*>()) {
            const int titleWidth = group->fontMetrics().horizontalAdvance(group->title());
            QVERIFY2(titleWidth + 12 <= group->width(), qPrintable(group->objectName()));
        }
        for (const QLineEdit* box : editor_->window.findChildren<QLineEdit*>()) {
            if (box->objectName() == "") continue;  // the patch list's own field
            const int room = box->contentsRect().width() - 4;
            QVERIFY2(box->fontMetrics().horizontalAdvance("99") <= room,
                     qPrintable(box->objectName()));
        }
        for (const char* name : {"lblFine", "lblDelay", "lblRate", "lblDepth"}) {
            const auto* label = editor_->Widget<QLabel>(name);
            QVERIFY(label->fontMetrics().horizontalAdvance("99") <= label->width());
        }
    }

    void groupTitlesAndCaptions() {
        const std::map<QString, QString> titles = {
            {"optDetune", "Detune"},
            {"Frame3", "Octave"},
            {"Frame4", "Note"},
            {"Frame5", "Fine"},
            {"Frame1", "Line Select"},
            {"Frame6", "Vibrato"},
            {"Frame7", "Delay"},
            {"Frame8", "Rate"},
            {"Frame9", "Depth"},
            {"Frame12", "Modulation"},
            {"Frame2", "Octave Range"},
            {"Frame10", "DCO 1 Waveform 1"},
            {"Frame11", "DCO 1 Waveform 2"},
            {"Frame24", "DCO 2 Waveform 1"},
            {"Frame23", "DCO 2 Waveform 2"},
            {"Frame14", "DCW1 Key"},
            {"Frame13", "DCA1 Key"},
            {"Frame21", "DCW2 Key"},
            {"Frame22", "DCA2 Key"},
            {"Frame15", "DCO 1"},
            {"Frame16", "DCW 1"},
            {"Frame17", "DCA 1"},
            {"Frame20", "DCO 2"},
            {"Frame19", "DCW 2"},
            {"Frame18", "DCA 2"},
            {"Frame25", ""},
            {"Frame30", ""},
        };
        for (const auto& [name, title] : titles) {
            const auto* group = editor_->Widget<QGroupBox>(name);
            QVERIFY2(group != nullptr, qPrintable(name));
            QCOMPARE(group->title(), title);
        }
        const std::map<QString, QStringList> captions = {
            {"optLS", {"1", "2", "1+1'", "1+2'"}},
            {"optOCTV", {"0", "+1", "-1"}},
            {"optPDS", {"+", "-"}},
            {"optOCT", {"0", "1", "2", "3"}},
            {"optModulation", {"None", "Ring", "Noise"}},
        };
        for (const auto& [name, texts] : captions) {
            for (int i = 0; i < texts.size(); ++i) {
                QCOMPARE(editor_->Widget<QRadioButton>(Element(qPrintable(name), i))->text(),
                         texts[i]);
            }
        }
        QCOMPARE(editor_->Widget<QLabel>("Label26")->text(), QStringLiteral("Patch List"));
        QCOMPARE(editor_->Widget<QPushButton>("cmdSendOutSysex")->text(),
                 QStringLiteral("Send Patch"));
        QCOMPARE(editor_->Widget<QPushButton>("cmdPLayANot")->text(), QStringLiteral("Play Note"));
        // Each envelope group numbers its steps 1 to 8 and heads its columns.
        auto* dca2 = editor_->Widget<QGroupBox>("Frame18");
        QCOMPARE(editor_->Widget<QLabel>("Label1(40)")->parentWidget(), dca2);
        QCOMPARE(editor_->Widget<QLabel>("Label1(47)")->text(), QStringLiteral("8"));
        QStringList headings;
        for (const QLabel* label : dca2->findChildren<QLabel*>()) {
            if (label->objectName().isEmpty()) headings << label->text();
        }
        headings.sort();
        QCOMPARE(headings, QStringList({"E", "Level", "Rate", "S"}));
        // The end options are a group of their own, inside the envelope's group.
        QCOMPARE(editor_->Widget("optDCA2E(0)")->parentWidget()->objectName(),
                 QStringLiteral("Frame30"));
    }

    void menusAndShortcuts() {
        struct Entry {
            const char* name;
            const char* caption;
            QKeySequence shortcut;
        };
        const std::map<QString, std::pair<QString, std::vector<Entry>>> menus = {
            {"cmdFile",
             {"&File",
              {{"cmdNew", "&New", {}},
               {"cmdLoad", "&Load", {}},
               {"cmdSave", "&Save All", {}},
               {"cmdSaveAs", "Save All &As", {}},
               {"cmdSaveSinglePatch", "Save Single Pa&tch As", {}},
               {"cmdImpot", "&Import", {}},
               {"cmdExport", "&Export", {}},
               {"cmdRecover", "&Recover...", {}},
               {"cmdExit", "E&xit", QKeySequence("Ctrl+Q")}}}},
            {"cmdEdit",
             {"&Edit",
              {{"cmdUndo", "&Undo", QKeySequence("Ctrl+Z")},
               {"cmdRedo", "&Redo", QKeySequence("Ctrl+Shift+Z")},
               {"", "", {}},
               {"cmdCopyPatch", "&Copy Patch", QKeySequence("Ctrl+C")},
               {"cmdPastePatch", "&Paste Patch", QKeySequence("Ctrl+V")},
               {"", "", {}},
               {"cmdCompareMenu", "Co&mpare", QKeySequence("Ctrl+K")}}}},
            {"cmdView",
             {"&View",
              {{"cmdZoomIn", "Zoom &In", QKeySequence("Ctrl++")},
               {"cmdZoomOut", "Zoom &Out", QKeySequence("Ctrl+-")},
               {"cmdActualSize", "&Actual Size", QKeySequence("Ctrl+0")},
               {"", "", {}},
               {"", "&Theme", {}}}}},
            {"cmdTools", {"&Tools", {{"cmdExplore", "&Explore...", QKeySequence("Ctrl+E")}}}},
            {"cmdLibraryMenu",
             {"&Library",
              {{"cmdLibrary", "&Library...", QKeySequence("Ctrl+L")},
               {"cmdLibraryAddFolder", "&Add Folder...", {}}}}},
            {"cmdHelp",
             {"&Help",
              {{"cmdUsingVoxtane", "&Using Voxtane", {}},
               {"cmdKeyboardShortcuts", "&Keyboard Shortcuts", {}},
               {"cmdAbout", "&About", {}}}}},
        };
        QStringList order;
        for (const QAction* action : editor_->window.menuBar()->actions()) order << action->text();
        QCOMPARE(order,
                 QStringList({"&File", "&Edit", "&View", "&Synth", "&Tools", "&Library", "&Help"}));
        for (const auto& [menuName, menu] : menus) {
            const auto* widget = editor_->Widget<QMenu>(menuName);
            QVERIFY2(widget != nullptr, qPrintable(menuName));
            QCOMPARE(widget->title(), menu.first);
            const QList<QAction*> actions = widget->actions();
            QCOMPARE(actions.size(), qsizetype(menu.second.size()));
            for (std::size_t i = 0; i < menu.second.size(); ++i) {
                QCOMPARE(actions[int(i)]->objectName(), QString(menu.second[i].name));
                QCOMPARE(actions[int(i)]->text(), QString(menu.second[i].caption));
                QCOMPARE(actions[int(i)]->shortcut(), menu.second[i].shortcut);
            }
        }
    }

    // The pictures tell their elements apart, and are drawn afresh for dense screens rather than
    // enlarged.
    void pictures() {
        for (int array = 0; array < 4; ++array) {
            const char* names[] = {"optDCO1Waveform1", "optDCO1Waveform2", "optDCO2Waveform1",
                                   "optDCO2Waveform2"};
            for (int i = 0; i < 8; ++i) {
                const auto* button = editor_->Widget<QToolButton>(Element(names[array], i));
                QVERIFY(button->isCheckable());
                QVERIFY(!button->icon().isNull());
            }
        }
        const QSize size = qt::kPictureSize;
        std::vector<QImage> waves;
        for (int i = 0; i < qt::kWaveformPictures; ++i) {
            waves.push_back(Render(qt::OptionPicture(qt::PictureSet::Waveform, i), size, 1));
            for (int j = 0; j < i; ++j)
                QVERIFY2(waves[i] != waves[j], qPrintable(QString::number(i)));
        }
        std::vector<QImage> vibratos;
        for (int i = 0; i < qt::kVibratoPictures; ++i) {
            vibratos.push_back(Render(qt::OptionPicture(qt::PictureSet::Vibrato, i), size, 1));
            for (int j = 0; j < i; ++j) QVERIFY(vibratos[i] != vibratos[j]);
        }
        const QImage dense = Render(qt::OptionPicture(qt::PictureSet::Waveform, 5), size, 2);
        QCOMPARE(dense.size(), size * 2);
        QCOMPARE(dense.devicePixelRatio(), 2.0);
        // Drawn afresh, not enlarged: the dense picture has pixels that a 2x enlargement of the
        // plain one cannot have.
        const QImage enlarged = waves[5].scaled(size * 2);
        QVERIFY(dense.convertToFormat(QImage::Format_ARGB32) !=
                enlarged.convertToFormat(QImage::Format_ARGB32));
    }
};

}  // namespace voxtane::qttest

VOXTANE_QT_TEST_MAIN(voxtane::qttest::LayoutTest)
#include "layout_test.moc"
