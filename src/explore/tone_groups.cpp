#include "explore/tone_groups.h"

namespace voxtane::explore {

namespace {

constexpr std::array<std::string_view, kToneGroupCount> kCaptions{
    "Line select and octave", "Detune",         "Vibrato",        "Line 1 waveforms and modulation",
    "Line 2 waveforms",       "DCA 1 envelope", "DCW 1 envelope", "DCO 1 envelope",
    "DCA 2 envelope",         "DCW 2 envelope", "DCO 2 envelope", "Key follow"};

// Applies `visit` to the matching members of two tones, group by group; written once so that
// copying and comparing can never disagree on what a group holds.
template <typename Tone, typename Visit>
void ForGroupMembers(Tone& a, Tone& b, ToneGroup group, Visit&& visit) {
    switch (group) {
        case ToneGroup::Line:
            visit(a.lineSelect, b.lineSelect);
            visit(a.octaveRange, b.octaveRange);
            return;
        case ToneGroup::Detune:
            visit(a.detuneSign, b.detuneSign);
            visit(a.detuneFine, b.detuneFine);
            visit(a.detuneOctave, b.detuneOctave);
            visit(a.detuneNote, b.detuneNote);
            return;
        case ToneGroup::Vibrato:
            visit(a.vibratoWave, b.vibratoWave);
            visit(a.vibratoDelay, b.vibratoDelay);
            visit(a.vibratoRate, b.vibratoRate);
            visit(a.vibratoDepth, b.vibratoDepth);
            return;
        case ToneGroup::Waves1:
            visit(a.lines[0].waveform1, b.lines[0].waveform1);
            visit(a.lines[0].waveform2, b.lines[0].waveform2);
            visit(a.modulation, b.modulation);
            return;
        case ToneGroup::Waves2:
            visit(a.lines[1].waveform1, b.lines[1].waveform1);
            visit(a.lines[1].waveform2, b.lines[1].waveform2);
            return;
        case ToneGroup::KeyFollow:
            for (std::size_t line = 0; line < a.lines.size(); ++line) {
                visit(a.lines[line].dcaKeyFollow, b.lines[line].dcaKeyFollow);
                visit(a.lines[line].dcwKeyFollow, b.lines[line].dcwKeyFollow);
            }
            return;
        default: {
            const EnvelopeId id = *EnvelopeOfGroup(group);
            visit(a.envelopes[id], b.envelopes[id]);
            return;
        }
    }
}

}  // namespace

std::string_view ToneGroupCaption(ToneGroup group) {
    return kCaptions[static_cast<std::size_t>(group)];
}

std::optional<ToneGroup> ToneGroupNamed(std::string_view name) {
    for (int i = 0; i < kToneGroupCount; ++i)
        if (kToneGroupNames[static_cast<std::size_t>(i)] == name) return ToneGroupAt(i);
    return std::nullopt;
}

std::optional<GroupLocks> ParseGroupLocks(std::string_view list, std::string& unknown) {
    GroupLocks locks;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view name = list.substr(0, comma);
        if (!name.empty()) {
            const std::optional<ToneGroup> group = ToneGroupNamed(name);
            if (!group) {
                unknown = std::string(name);
                return std::nullopt;
            }
            locks.Lock(*group);
        }
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return locks;
}

std::string ToneGroupNameList() {
    std::string list;
    for (std::string_view name : kToneGroupNames) {
        if (!list.empty()) list += ", ";
        list += name;
    }
    return list;
}

std::optional<EnvelopeId> EnvelopeOfGroup(ToneGroup group) {
    const int first = static_cast<int>(ToneGroup::DCA1);
    const int index = static_cast<int>(group) - first;
    if (index < 0 || index >= kEnvelopeCount) return std::nullopt;
    return static_cast<EnvelopeId>(index);
}

void CopyGroup(const DecodedTone& from, DecodedTone& to, ToneGroup group) {
    DecodedTone source = from;
    ForGroupMembers(to, source, group, [](auto& target, const auto& value) { target = value; });
}

bool GroupEquals(const DecodedTone& a, const DecodedTone& b, ToneGroup group) {
    bool equal = true;
    ForGroupMembers(a, b, group, [&](const auto& x, const auto& y) { equal = equal && x == y; });
    return equal;
}

}  // namespace voxtane::explore
