// Memory positions by name and the messages the program sends the synth.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

#include "exchange_test_support.h"
#include "midi/synth_memory.h"
#include "midi/synth_messages.h"

namespace voxtane::testing {
namespace {

using midi::SynthMemory;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

TEST(SynthMemory, EachMemoryHasOneTextOnePositionAndWords) {
    struct Case {
        SynthMemory memory;
        const char* text;
        std::uint8_t position;
        const char* words;
    };
    const std::vector<Case> cases{
        {SynthMemory::Current(), "current", 0x60, "the current tone"},
        {SynthMemory::Preset(1), "preset:1", 0x00, "preset 1"},
        {SynthMemory::Preset(16), "preset:16", 0x0F, "preset 16"},
        {SynthMemory::Internal(3), "internal:3", 0x22, "internal memory 3"},
        {SynthMemory::Internal(16), "internal:16", 0x2F, "internal memory 16"},
        {SynthMemory::Cartridge(1), "cartridge:1", 0x40, "cartridge memory 1"},
        {SynthMemory::Cartridge(16), "cartridge:16", 0x4F, "cartridge memory 16"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(midi::ParseSynthMemory(c.text), c.memory);
        EXPECT_EQ(midi::SynthMemoryText(c.memory), c.text);
        EXPECT_EQ(c.memory.Position(), c.position);
        EXPECT_EQ(SynthMemory::AtPosition(c.position), c.memory);
        EXPECT_EQ(midi::SynthMemoryWords(c.memory), c.words);
    }
}

TEST(SynthMemory, ExactlyFortyNinePositionBytesNameAMemoryAndRoundTrip) {
    int memories = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const auto memory = SynthMemory::AtPosition(static_cast<std::uint8_t>(byte));
        if (!memory) continue;
        ++memories;
        EXPECT_EQ(memory->Position(), byte);
        EXPECT_EQ(midi::ParseSynthMemory(midi::SynthMemoryText(*memory)), memory);
    }
    EXPECT_EQ(memories, 49);
}

TEST(SynthMemory, TextsThatNameNoMemoryAreRejected) {
    for (const char* text : {"", "current:1", "internal", "internal:", "internal:0", "internal:17",
                             "internal:+3", "internal:-3", "internal:03", "internal:3x",
                             "internal: 3", " internal:3", "Internal:3", "bank:3", "preset:100"})
        EXPECT_FALSE(midi::ParseSynthMemory(text)) << '"' << text << '"';
    EXPECT_FALSE(SynthMemory::Numbered(midi::MemoryArea::Current, 1));
    EXPECT_THROW((void)SynthMemory::Internal(0), std::out_of_range);
}

TEST(SynthMessages, CarryTheChannelAndPosition) {
    EXPECT_THAT(midi::AllNotesOff(1), ElementsAre(0xB0, 0x7B, 0x00));
    EXPECT_THAT(midi::AllNotesOff(16), ElementsAre(0xBF, 0x7B, 0x00));
    EXPECT_THAT(midi::BuildFetchRequest(1, SynthMemory::Internal(3)),
                ElementsAre(0xF0, 0x44, 0x00, 0x00, 0x70, 0x10, 0x22, 0x70, 0x31));
    EXPECT_THAT(midi::BuildFetchRequest(16, SynthMemory::Current()),
                ElementsAre(0xF0, 0x44, 0x00, 0x00, 0x7F, 0x10, 0x60, 0x7F, 0x31));

    const ToneRecord tone = TestTone(6);
    const Bytes write = AsBytes(midi::BuildToneWrite(10, SynthMemory::Cartridge(2), tone));
    ASSERT_EQ(write.size(), 264u);
    EXPECT_THAT(Bytes(write.begin(), write.begin() + 7),
                ElementsAre(0xF0, 0x44, 0x00, 0x00, 0x79, 0x20, 0x41));
    EXPECT_THAT(Bytes(write.begin() + 7, write.end() - 1),
                ElementsAreArray(tone.begin() + 1, tone.end()));
    EXPECT_EQ(write.back(), 0xF7);

    EXPECT_THROW((void)midi::AllNotesOff(0), std::out_of_range);
    EXPECT_THROW((void)midi::BuildFetchRequest(17, SynthMemory::Current()), std::out_of_range);
}

// The editor's Send Patch and the exchanges refuse a tone by this one check.
TEST(SynthMessages, TheFirstEntryOutside0To127IsTheUnsendableOne) {
    ToneRecord tone{};
    EXPECT_EQ(FirstUnsendableEntry(tone), std::nullopt);
    FillEntries(tone, 127);
    EXPECT_EQ(FirstUnsendableEntry(tone), std::nullopt);
    for (const auto& [entry, value, later] :
         {std::tuple{1, 128, 2}, {256, -1, 0}, {100, 255, 200}, {37, -128, 38}}) {
        ToneRecord bad{};
        bad[entry] = static_cast<std::int16_t>(value);
        if (later != 0) bad[later] = 200;
        EXPECT_EQ(FirstUnsendableEntry(bad), entry) << "entry " << entry << " holds " << value;
    }
    EXPECT_THROW((void)midi::BuildToneWrite(0, SynthMemory::Current(), tone), std::out_of_range);
}

}  // namespace
}  // namespace voxtane::testing
