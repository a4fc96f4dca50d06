#pragma once

#include "editor/form1.h"
#include "editor/linked_editor.h"

namespace voxtane::editor {

// The editor's tones as the capabilities beside it see them, through Form1's own procedures: a
// taken tone is decoded into the controls as a selected patch is, a taken bank is shown from its
// current patch.
class Form1Tones : public LinkedEditor {
  public:
    explicit Form1Tones(Form1& form) : form_(form) {}

    [[nodiscard]] ToneRecord CurrentTone() const override { return form_.module1.ScratchRecord; }
    [[nodiscard]] int CurrentPatch() const override { return form_.module1.CurrentPatch; }
    [[nodiscard]] BankTones Tones() const override;
    void TakeTone(const ToneRecord& tone, const std::string& stepName) override;
    void TakeBank(const BankTones& tones, const std::vector<std::string>* names,
                  const std::string& stepName) override;
    void WatchCurrentTone(std::function<void()> callback) override {
        form_.currentToneChanged.Add(std::move(callback));
    }

  private:
    Form1& form_;
};

}  // namespace voxtane::editor
