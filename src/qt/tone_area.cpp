#include "qt/tone_area.h"

#include <vector>

#include "qt/envelope_group.h"
#include "qt/tone_widgets.h"
#include "qt/twips.h"

namespace voxtane::qt {
namespace {

using Band = std::vector<QGroupBox*>;

struct ScrollFrame {
    const char* frame;
    const char* title;
    int left;
    int top;
    editor::ScrollBar& bar;
    const char* barName;
    editor::Label& label;
    const char* labelName;
};

QGroupBox* AddScrollFrame(QWidget& area, const ScrollFrame& design) {
    QGroupBox* group =
        AddGroup(area, design.frame, design.title, QRect(design.left, design.top, 1455, 615));
    AddScrollBar(*group, design.barName, design.bar, design.labelName, design.label);
    return group;
}

QGroupBox* AddOptionFrame(QWidget& area, const char* frame, const char* title, QRect twips,
                          const char* name, editor::OptionArray& options,
                          const QStringList& captions) {
    QGroupBox* group = AddGroup(area, frame, title, twips);
    AddCaptionOptions(*group, name, options, captions);
    return group;
}

Band AddPitchBand(QWidget& area, editor::ToneControls& tone) {
    return {
        AddOptionFrame(area, "optDetune", "Detune", QRect(240, 600, 1095, 735), "optPDS",
                       tone.optPDS, {"+", "-"}),
        AddOptionFrame(area, "Frame3", "Octave", QRect(1440, 600, 1575, 735), "optOCT", tone.optOCT,
                       {"0", "1", "2", "3"}),
        AddScrollFrame(
            area, {"Frame4", "Note", 3120, 720, tone.HSNote, "HSNote", tone.lblNote, "lblNote"}),
        AddScrollFrame(
            area, {"Frame5", "Fine", 4680, 720, tone.hsFine, "hsFine", tone.lblFine, "lblFine"}),
        AddOptionFrame(area, "Frame1", "Line Select", QRect(7320, 600, 2535, 735), "optLS",
                       tone.optLS, {"1", "2", "1+1'", "1+2'"}),
    };
}

Band AddVibratoBand(QWidget& area, editor::ToneControls& tone) {
    QGroupBox* vibrato = AddGroup(area, "Frame6", "Vibrato", QRect(240, 1440, 2535, 735));
    AddPictureOptions(*vibrato, "optWave", tone.optWave, PictureSet::Vibrato);
    return {
        vibrato,
        AddScrollFrame(area, {"Frame7", "Delay", 2880, 1560, tone.hsDelay, "hsDelay", tone.lblDelay,
                              "lblDelay"}),
        AddScrollFrame(
            area, {"Frame8", "Rate", 4440, 1560, tone.hsRate, "hsRate", tone.lblRate, "lblRate"}),
        AddScrollFrame(area, {"Frame9", "Depth", 6000, 1560, tone.hsDepth, "hsDepth", tone.lblDepth,
                              "lblDepth"}),
        AddOptionFrame(area, "Frame12", "Modulation", QRect(7680, 1560, 2415, 615), "optModulation",
                       tone.optModulation, {"None", "Ring", "Noise"}),
        AddOptionFrame(area, "Frame2", "Octave Range", QRect(10200, 1440, 1575, 735), "optOCTV",
                       tone.optOCTV, {"0", "+1", "-1"}),
    };
}

void AddWaveformBand(QWidget& area, editor::ToneControls& tone) {
    struct Waveform {
        const char* frame;
        const char* title;
        int left;
        editor::OptionArray& options;
        const char* name;
    };
    const Waveform waveforms[] = {
        {"Frame10", "DCO 1 Waveform 1", 240, tone.optDCO1Waveform1, "optDCO1Waveform1"},
        {"Frame11", "DCO 1 Waveform 2", 2880, tone.optDCO1Waveform2, "optDCO1Waveform2"},
        {"Frame24", "DCO 2 Waveform 1", 6120, tone.optDCO2Waveform1, "optDCO2Waveform1"},
        {"Frame23", "DCO 2 Waveform 2", 8760, tone.optDCO2Waveform2, "optDCO2Waveform2"},
    };
    for (const Waveform& w : waveforms) {
        AddPictureOptions(*AddGroup(area, w.frame, w.title, QRect(w.left, 2400, 2535, 1215)),
                          w.name, w.options, PictureSet::Waveform);
    }
}

void AddKeyFollowBand(QWidget& area, editor::ToneControls& tone) {
    AddScrollFrame(area, {"Frame14", "DCW1 Key", 1800, 3960, tone.hsDCW1Key, "hsDCW1Key",
                          tone.lblDCW1Key, "lblDCW1Key"});
    AddScrollFrame(area, {"Frame13", "DCA1 Key", 3480, 3960, tone.hsDCA1Key, "hsDCA1Key",
                          tone.lblDCA1Key, "lblDCA1Key"});
    AddScrollFrame(area, {"Frame21", "DCW2 Key", 7800, 3960, tone.hsDCW2Key, "hsDCW2Key",
                          tone.lblDCW2Key, "lblDCW2Key"});
    AddScrollFrame(area, {"Frame22", "DCA2 Key", 9480, 3960, tone.hsDCA2Key, "hsDCA2Key",
                          tone.lblDCA2Key, "lblDCA2Key"});
}

void AddEnvelopeBand(QWidget& area, editor::ToneControls& tone) {
    struct Envelope {
        EnvelopeGroupDesign design;
        EnvelopeId id;
    };
    const Envelope envelopes[] = {
        {{"Frame15", "Frame25", "DCO 1", "DCO1", 120, 0}, kDCO1},
        {{"Frame16", "Frame26", "DCW 1", "DCW1", 2040, 8}, kDCW1},
        {{"Frame17", "Frame27", "DCA 1", "DCA1", 3960, 16}, kDCA1},
        {{"Frame20", "Frame28", "DCO 2", "DCO2", 6000, 24}, kDCO2},
        {{"Frame19", "Frame29", "DCW 2", "DCW2", 7920, 32}, kDCW2},
        {{"Frame18", "Frame30", "DCA 2", "DCA2", 9840, 40}, kDCA2},
    };
    for (const Envelope& e : envelopes) AddEnvelopeGroup(area, e.design, tone.envelopes[e.id]);
}

}  // namespace

QSize ToneAreaSize() {
    return {Px(11850), Px(8310)};
}

void AddToneControls(QWidget& area, editor::ToneControls& tone) {
    // The first two bands hold captioned options, whose groups may have had to widen.
    SettleBand(AddPitchBand(area, tone), area.width());
    SettleBand(AddVibratoBand(area, tone), area.width());
    AddWaveformBand(area, tone);
    AddKeyFollowBand(area, tone);
    AddEnvelopeBand(area, tone);
}

}  // namespace voxtane::qt
