#pragma once

#include <array>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "editor/controls.h"
#include "tone/envelope_codes.h"

namespace voxtane::editor {

// The four control arrays of one envelope; element i belongs to step i + 1.
struct EnvelopeControls {
    explicit EnvelopeControls(EnvelopeKind kind);
    TextBoxArray rate;
    TextBoxArray level;
    OptionArray sustain{kEnvelopeSteps, 0};
    OptionArray end{kEnvelopeSteps, 7};
};

// The texts the envelope boxes are designed with, which are also the default tone's: DCO
// envelopes are flat (rate 50, level 0); DCW and DCA envelopes rise at rate 99 to level 99 in
// step 1 and fall at rate 50 to level 0 afterwards.
[[nodiscard]] std::string DesignRateText(EnvelopeKind kind, int index);
[[nodiscard]] std::string DesignLevelText(EnvelopeKind kind, int index);

using ControlPointer = std::variant<OptionArray*, ScrollBar*, Label*, TextBoxArray*>;
struct NamedControl {
    std::string_view name;
    ControlPointer control;
};

// Every tone parameter's control, under its name, with its range and design value.
class ToneControls {
  public:
    ToneControls();
    ToneControls(const ToneControls&) = delete;
    ToneControls& operator=(const ToneControls&) = delete;

    OptionArray optLS{4, 2};
    OptionArray optOCTV{3, 0};
    OptionArray optPDS{2, 0};
    OptionArray optOCT{4, 0};
    ScrollBar HSNote{0, 11, 1, 0};
    Label lblNote{"0"};
    ScrollBar hsFine{0, 60, 10, 0};
    Label lblFine{"0"};
    OptionArray optWave{4, 0};
    ScrollBar hsDelay{0, 99, 10, 0};
    Label lblDelay{"0"};
    ScrollBar hsRate{0, 99, 10, 0};
    Label lblRate{"0"};
    ScrollBar hsDepth{0, 99, 10, 0};
    Label lblDepth{"0"};
    OptionArray optModulation{3, 0};
    OptionArray optDCO1Waveform1{8, 0};
    OptionArray optDCO1Waveform2{8, 0};
    OptionArray optDCO2Waveform1{8, 0};
    OptionArray optDCO2Waveform2{8, 0};
    ScrollBar hsDCW1Key{0, 9, 1, 0};
    Label lblDCW1Key{"0"};
    ScrollBar hsDCA1Key{0, 9, 1, 0};
    Label lblDCA1Key{"0"};
    ScrollBar hsDCW2Key{0, 9, 1, 0};
    Label lblDCW2Key{"0"};
    ScrollBar hsDCA2Key{0, 9, 1, 0};
    Label lblDCA2Key{"0"};

    // The six envelopes in record order (DCA 1, DCW 1, DCO 1, DCA 2, DCW 2, DCO 2).
    std::array<EnvelopeControls, kEnvelopeCount> envelopes;

    TextBoxArray& txtDCA1Rate = envelopes[kDCA1].rate;
    TextBoxArray& txtDCA1Lvl = envelopes[kDCA1].level;
    OptionArray& optDCA1S = envelopes[kDCA1].sustain;
    OptionArray& optDCA1E = envelopes[kDCA1].end;
    TextBoxArray& txtDCW1Rate = envelopes[kDCW1].rate;
    TextBoxArray& txtDCW1Lvl = envelopes[kDCW1].level;
    OptionArray& optDCW1S = envelopes[kDCW1].sustain;
    OptionArray& optDCW1E = envelopes[kDCW1].end;
    TextBoxArray& txtDCO1Rate = envelopes[kDCO1].rate;
    TextBoxArray& txtDCO1Lvl = envelopes[kDCO1].level;
    OptionArray& optDCO1S = envelopes[kDCO1].sustain;
    OptionArray& optDCO1E = envelopes[kDCO1].end;
    TextBoxArray& txtDCA2Rate = envelopes[kDCA2].rate;
    TextBoxArray& txtDCA2Lvl = envelopes[kDCA2].level;
    OptionArray& optDCA2S = envelopes[kDCA2].sustain;
    OptionArray& optDCA2E = envelopes[kDCA2].end;
    TextBoxArray& txtDCW2Rate = envelopes[kDCW2].rate;
    TextBoxArray& txtDCW2Lvl = envelopes[kDCW2].level;
    OptionArray& optDCW2S = envelopes[kDCW2].sustain;
    OptionArray& optDCW2E = envelopes[kDCW2].end;
    TextBoxArray& txtDCO2Rate = envelopes[kDCO2].rate;
    TextBoxArray& txtDCO2Lvl = envelopes[kDCO2].level;
    OptionArray& optDCO2S = envelopes[kDCO2].sustain;
    OptionArray& optDCO2E = envelopes[kDCO2].end;

    // Every tone control under its name: the tone-wide ones first, then per envelope (DCO 1,
    // DCW 1, DCA 1, DCO 2, DCW 2, DCA 2) its rate, level, sustain and end arrays.
    [[nodiscard]] const std::vector<NamedControl>& All() const { return all_; }
    [[nodiscard]] const NamedControl* Find(std::string_view name) const;

  private:
    std::vector<NamedControl> all_;
};

}  // namespace voxtane::editor
