#include "editor/tone_controls.h"

namespace voxtane::editor {
namespace {

std::vector<std::string> DesignTexts(EnvelopeKind kind, std::string (*text)(EnvelopeKind, int)) {
    std::vector<std::string> texts;
    for (int i = 0; i < kEnvelopeSteps; ++i) texts.push_back(text(kind, i));
    return texts;
}

}  // namespace

std::string DesignRateText(EnvelopeKind kind, int index) {
    return kind != EnvelopeKind::DCO && index == 0 ? "99" : "50";
}

std::string DesignLevelText(EnvelopeKind kind, int index) {
    return kind != EnvelopeKind::DCO && index == 0 ? "99" : "0";
}

EnvelopeControls::EnvelopeControls(EnvelopeKind kind)
    : rate(DesignTexts(kind, DesignRateText)), level(DesignTexts(kind, DesignLevelText)) {}

ToneControls::ToneControls()
    : envelopes{EnvelopeControls{EnvelopeKind::DCA}, EnvelopeControls{EnvelopeKind::DCW},
                EnvelopeControls{EnvelopeKind::DCO}, EnvelopeControls{EnvelopeKind::DCA},
                EnvelopeControls{EnvelopeKind::DCW}, EnvelopeControls{EnvelopeKind::DCO}} {
    all_ = {
        {"optLS", &optLS},
        {"optOCTV", &optOCTV},
        {"optPDS", &optPDS},
        {"optOCT", &optOCT},
        {"HSNote", &HSNote},
        {"lblNote", &lblNote},
        {"hsFine", &hsFine},
        {"lblFine", &lblFine},
        {"optWave", &optWave},
        {"hsDelay", &hsDelay},
        {"lblDelay", &lblDelay},
        {"hsRate", &hsRate},
        {"lblRate", &lblRate},
        {"hsDepth", &hsDepth},
        {"lblDepth", &lblDepth},
        {"optModulation", &optModulation},
        {"optDCO1Waveform1", &optDCO1Waveform1},
        {"optDCO1Waveform2", &optDCO1Waveform2},
        {"optDCO2Waveform1", &optDCO2Waveform1},
        {"optDCO2Waveform2", &optDCO2Waveform2},
        {"hsDCW1Key", &hsDCW1Key},
        {"lblDCW1Key", &lblDCW1Key},
        {"hsDCA1Key", &hsDCA1Key},
        {"lblDCA1Key", &lblDCA1Key},
        {"hsDCW2Key", &hsDCW2Key},
        {"lblDCW2Key", &lblDCW2Key},
        {"hsDCA2Key", &hsDCA2Key},
        {"lblDCA2Key", &lblDCA2Key},
        {"txtDCO1Rate", &txtDCO1Rate},
        {"txtDCO1Lvl", &txtDCO1Lvl},
        {"optDCO1S", &optDCO1S},
        {"optDCO1E", &optDCO1E},
        {"txtDCW1Rate", &txtDCW1Rate},
        {"txtDCW1Lvl", &txtDCW1Lvl},
        {"optDCW1S", &optDCW1S},
        {"optDCW1E", &optDCW1E},
        {"txtDCA1Rate", &txtDCA1Rate},
        {"txtDCA1Lvl", &txtDCA1Lvl},
        {"optDCA1S", &optDCA1S},
        {"optDCA1E", &optDCA1E},
        {"txtDCO2Rate", &txtDCO2Rate},
        {"txtDCO2Lvl", &txtDCO2Lvl},
        {"optDCO2S", &optDCO2S},
        {"optDCO2E", &optDCO2E},
        {"txtDCW2Rate", &txtDCW2Rate},
        {"txtDCW2Lvl", &txtDCW2Lvl},
        {"optDCW2S", &optDCW2S},
        {"optDCW2E", &optDCW2E},
        {"txtDCA2Rate", &txtDCA2Rate},
        {"txtDCA2Lvl", &txtDCA2Lvl},
        {"optDCA2S", &optDCA2S},
        {"optDCA2E", &optDCA2E},
    };
}

const NamedControl* ToneControls::Find(std::string_view name) const {
    for (const auto& control : all_)
        if (control.name == name) return &control;
    return nullptr;
}

}  // namespace voxtane::editor
