#include "editor/history/editor_state.h"

#include <variant>

namespace voxtane::editor::history {
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

ToneRecord EditorState::EffectiveSlot(int slot) const {
    if (slot >= 1 && slot == view.currentPatch) return view.scratch;
    return *records[slot];
}

std::size_t EditorState::OwnBytes(const EditorState* earlier) const {
    std::size_t bytes = sizeof(EditorState) + bankFileName.capacity();
    for (int s = 0; s <= kBankSlots; ++s)
        if (earlier == nullptr || records[s] != earlier->records[s]) bytes += sizeof(ToneRecord);
    for (const std::string& name : names) bytes += name.capacity();
    return bytes + view.controls.capacity() + view.listText.capacity();
}

EditorState Capture(const Form1& form, const EditorState* earlier) {
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

bool Changed::Any() const {
    for (bool slot : records)
        if (slot) return true;
    for (bool name : names)
        if (name) return true;
    return patchCount || bankFileName || view;
}

Changed Compare(const EditorState& a, const EditorState& b) {
    Changed changed;
    for (int s = 0; s <= kBankSlots; ++s)
        changed.records[s] = a.EffectiveSlot(s) != b.EffectiveSlot(s);
    for (int i = 0; i < kBankSlots; ++i) changed.names[i] = a.names[i] != b.names[i];
    changed.patchCount = a.patchCount != b.patchCount;
    changed.bankFileName = a.bankFileName != b.bankFileName;
    changed.view = !(a.view == b.view);
    return changed;
}

void RestoreView(Form1& form, const ViewState& view) {
    Module1& m = form.module1;
    const QuietToneHandlers quiet(m);
    m.CurrentPatch = view.currentPatch;
    m.PreviousPatch = view.previousPatch;
    m.ScratchTone = view.tone;
    ShowPacked(form, view.controls);
    m.ScratchRecord = view.scratch;
}

void Restore(Form1& form, const EditorState& state, const Changed& changed) {
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
        RestoreView(form, state.view);
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

}  // namespace voxtane::editor::history
