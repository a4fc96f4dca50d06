#pragma once

#include <array>
#include <bitset>
#include <optional>
#include <string>
#include <string_view>

#include "tone/decoded_tone.h"

// The parameter groups of a tone: what a lock holds still and what a child takes whole from one
// parent. Every parameter belongs to exactly one group.
namespace voxtane::explore {

enum class ToneGroup {
    Line,     // line select and octave range (they share a byte)
    Detune,   // sign, fine, octave and note
    Vibrato,  // wave, delay, rate, depth
    Waves1,   // line 1's two waveforms, and the modulation (which line 1's bytes hold)
    Waves2,   // line 2's two waveforms
    DCA1,     // each envelope: its eight steps, sustain and end step
    DCW1,
    DCO1,
    DCA2,
    DCW2,
    DCO2,
    KeyFollow,  // DCA and DCW key follow of both lines
};
inline constexpr int kToneGroupCount = 12;

// The names used on the command line and in settings, by ToneGroup.
inline constexpr std::array<std::string_view, kToneGroupCount> kToneGroupNames{
    "line", "detune", "vibrato", "waves1", "waves2", "dca1",
    "dcw1", "dco1",   "dca2",    "dcw2",   "dco2",   "keyfollow"};

// What a person reads beside a lock box.
[[nodiscard]] std::string_view ToneGroupCaption(ToneGroup group);

[[nodiscard]] constexpr ToneGroup ToneGroupAt(int index) {
    return static_cast<ToneGroup>(index);
}
[[nodiscard]] std::optional<ToneGroup> ToneGroupNamed(std::string_view name);

// The groups that never change. Indexed by ToneGroup.
class GroupLocks {
  public:
    void Lock(ToneGroup group, bool locked = true) { bits_.set(Index(group), locked); }
    [[nodiscard]] bool Locked(ToneGroup group) const { return bits_.test(Index(group)); }
    [[nodiscard]] bool None() const { return bits_.none(); }
    friend bool operator==(const GroupLocks&, const GroupLocks&) = default;

  private:
    static std::size_t Index(ToneGroup group) { return static_cast<std::size_t>(group); }
    std::bitset<kToneGroupCount> bits_;
};

// "dca1,keyfollow": the locks named; an unknown name is given back in `unknown`.
[[nodiscard]] std::optional<GroupLocks> ParseGroupLocks(std::string_view list,
                                                        std::string& unknown);
// All group names, comma-separated, for help texts.
[[nodiscard]] std::string ToneGroupNameList();

// The envelope a group is, if it is one.
[[nodiscard]] std::optional<EnvelopeId> EnvelopeOfGroup(ToneGroup group);

void CopyGroup(const DecodedTone& from, DecodedTone& to, ToneGroup group);
[[nodiscard]] bool GroupEquals(const DecodedTone& a, const DecodedTone& b, ToneGroup group);

}  // namespace voxtane::explore
