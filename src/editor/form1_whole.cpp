#include "editor/form1_whole.h"

#include <variant>

namespace voxtane::editor {
namespace {

// Each value as its length, ":" and its text.
void Put(std::string& packed, std::string_view value) {
    packed += std::to_string(value.size());
    packed += ':';
    packed += value;
}

std::string Take(std::string_view packed, std::size_t& at) {
    const std::size_t colon = packed.find(':', at);
    if (colon == std::string_view::npos) return {};
    std::size_t length = 0;
    for (std::size_t i = at; i < colon; ++i) length = 10 * length + (packed[i] - '0');
    std::string value(packed.substr(colon + 1, length));
    at = colon + 1 + length;
    return value;
}

std::string Packed(const ToneControls& controls) {
    std::string packed;
    for (const NamedControl& named : controls.All()) {
        const ControlPointer& control = named.control;
        if (const auto* option = std::get_if<OptionArray*>(&control)) {
            Put(packed, std::to_string((*option)->Selected()));
        } else if (const auto* bar = std::get_if<ScrollBar*>(&control)) {
            Put(packed, std::to_string((*bar)->Value()));
        } else if (const auto* label = std::get_if<Label*>(&control)) {
            Put(packed, (*label)->Text());
        } else if (const auto* boxes = std::get_if<TextBoxArray*>(&control)) {
            for (int i = 0; i < (*boxes)->Count(); ++i) Put(packed, (*boxes)->Text(i));
        }
    }
    return packed;
}

void ShowPacked(ToneControls& controls, std::string_view packed) {
    std::size_t at = 0;
    for (const NamedControl& named : controls.All()) {
        const ControlPointer& control = named.control;
        if (const auto* option = std::get_if<OptionArray*>(&control)) {
            (*option)->Select(std::stoi(Take(packed, at)));
        } else if (const auto* bar = std::get_if<ScrollBar*>(&control)) {
            (*bar)->SetValue(std::stoi(Take(packed, at)));
        } else if (const auto* label = std::get_if<Label*>(&control)) {
            (*label)->SetText(Take(packed, at));
        } else if (const auto* boxes = std::get_if<TextBoxArray*>(&control)) {
            for (int i = 0; i < (*boxes)->Count(); ++i) (*boxes)->SetText(i, Take(packed, at));
        }
    }
}

}  // namespace

EditorState Form1Whole::Capture(const EditorState* earlier) const {
    const Form1& form = form_;
    const Module1& m = form.module1;
    EditorState state;
    for (int s = 0; s <= kBankSlots; ++s) {
        const ToneRecord& record = m.PatchBank[s];
        state.records[s] = earlier != nullptr && *earlier->records[s] == record
                               ? earlier->records[s]
                               : std::make_shared<const ToneRecord>(record);
    }
    for (int i = 0; i < kBankSlots; ++i) state.names[i] = form.cboPatches.List(i);
    state.patchCount = m.PatchCount;
    state.bankFileName = m.BankFileName;
    ViewState& view = state.view;
    view.currentPatch = m.CurrentPatch;
    view.previousPatch = m.PreviousPatch;
    view.scratch = m.ScratchRecord;
    view.tone = m.ScratchTone;
    view.controls = Packed(form);
    view.listIndex = form.cboPatches.ListIndex();
    // The field of a selected entry shows the entry's name; text typed there is a rename under
    // way, which its own step records in the names.
    view.listText = view.listIndex >= 0 && view.listIndex < kBankSlots ? state.names[view.listIndex]
                                                                       : form.cboPatches.Text();
    view.selStart = form.cboPatches.SelStart();
    return state;
}

void Form1Whole::RestoreView(const ViewState& view) {
    Module1& m = form_.module1;
    const QuietToneHandlers quiet(m);
    m.CurrentPatch = view.currentPatch;
    m.PreviousPatch = view.previousPatch;
    m.ScratchTone = view.tone;
    ShowPacked(form_, view.controls);
    m.ScratchRecord = view.scratch;
}

void Form1Whole::Restore(const EditorState& state, const Changed& changed) {
    Form1& form = form_;
    Module1& m = form.module1;
    const QuietToneHandlers quiet(m);
    // The bank as a save would write it now, with the changed slots put back.
    std::array<ToneRecord, kBankSlots + 1> bank;
    for (int s = 0; s <= kBankSlots; ++s)
        bank[s] = changed.records[s]                ? state.EffectiveSlot(s)
                  : (s >= 1 && s == m.CurrentPatch) ? m.ScratchRecord
                                                    : m.PatchBank[s];
    for (int s = 0; s <= kBankSlots; ++s) m.PatchBank[s] = bank[s];
    if (changed.patchCount) m.PatchCount = state.patchCount;
    if (changed.bankFileName) {
        m.BankFileName = state.bankFileName;
        form.UpdateFormName();
    }
    std::vector<std::string> names;
    for (int i = 0; i < kBankSlots; ++i)
        names.push_back(changed.names[i] ? state.names[i] : form.cboPatches.List(i));
    int listIndex = form.cboPatches.ListIndex();
    std::string listText = form.cboPatches.Text();
    int selStart = form.cboPatches.SelStart();
    bool decode = false;
    if (changed.view) {
        RestoreView(state.view);
        listIndex = state.view.listIndex;
        listText = state.view.listText;
        selStart = state.view.selStart;
    }
    // The selected entry shows the name the bank holds for it, whichever step put it back.
    if (listIndex >= 0 && listIndex < kBankSlots) listText = names[listIndex];
    // The patch shown has been changed by later steps than this one: it shows as it is now.
    if (m.CurrentPatch >= 1 && m.ScratchRecord != bank[m.CurrentPatch]) {
        m.ScratchRecord = bank[m.CurrentPatch];
        decode = true;
    }
    form.cboPatches.Restore(std::move(names), listIndex, std::move(listText), selStart);
    if (decode) {
        m.ParsingSysex = false;
        form.ParseSysex();
    }
}

void Form1Whole::ShowRecord(const ToneRecord& record) {
    form_.module1.ScratchRecord = record;
    form_.ParseSysex();
}

void Form1Whole::TakeBank(const WholeBank& bank, const std::string& stepName) {
    Form1& form = form_;
    form.ShowEditedView();
    Module1& m = form.module1;
    StepScope step(form.stepWatcher, stepName);
    for (int slot = 1; slot <= kBankSlots; ++slot) {
        m.PatchBank[slot] = bank.tones[slot - 1];
        form.cboPatches.SetList(slot - 1, bank.names[slot - 1]);
    }
    m.PatchCount = static_cast<std::int16_t>(bank.patchCount);
    m.BankFileName = bank.bankFileName;
    form.UpdateFormName();
    // The record shown now belongs to no slot: it is not stored over the restored one.
    m.PreviousPatch = -1;
    const int current = bank.currentPatch;
    form.cboPatches.SetListIndex(current - 1);
    if (m.PatchCount == 0) {
        // Selections load no record then; the restored patch is shown all the same.
        m.ScratchRecord = bank.tones[current - 1];
        form.ParseSysex();
    }
}

}  // namespace voxtane::editor
