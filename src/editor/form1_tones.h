#pragma once

#include "editor/compare/patch_compare.h"
#include "editor/form1.h"
#include "editor/linked_editor.h"

namespace voxtane::editor {

// The editor's tones as the capabilities beside it see them, through Form1's own procedures: a
// taken tone is decoded into the controls as a selected patch is, taken patches are shown from
// the current patch. What is taken becomes what Compare compares with.
class Form1Tones : public LinkedEditor {
  public:
    Form1Tones(Form1& form, PatchCompare& compare) : form_(form), compare_(compare) {}

    [[nodiscard]] ToneRecord CurrentTone() const override { return form_.module1.ScratchRecord; }
    [[nodiscard]] int CurrentPatch() const override { return form_.module1.CurrentPatch; }
    [[nodiscard]] int PatchCount() const override { return form_.module1.PatchCount; }
    [[nodiscard]] BankTones Tones() const override;
    [[nodiscard]] std::string Name(int patch) const override;
    void TakeTone(const ToneRecord& tone, const std::optional<std::string>& name,
                  const std::string& stepName) override;
    void TakePatches(int first, std::span<const ToneRecord> tones,
                     std::span<const std::string> names, const std::string& stepName) override;
    void ShowEditedPatch() override { form_.ShowEditedView(); }
    void WatchCurrentTone(std::function<void()> callback) override {
        form_.currentToneChanged.Add(std::move(callback));
    }

  private:
    Form1& form_;
    PatchCompare& compare_;
};

}  // namespace voxtane::editor
