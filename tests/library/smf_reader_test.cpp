// The SysEx inside Standard MIDI Files: events of every kind between them, packets continued by
// F7 events, and cut or forged files that end a track early without reading past it.
#include <random>

#include <gtest/gtest.h>

#include "library/smf_reader.h"

namespace voxtane::testing {
namespace {

using namespace voxtane::library;
using Bytes = std::vector<std::uint8_t>;

Bytes Smf(const std::vector<Bytes>& tracks) {
    Bytes file{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, static_cast<std::uint8_t>(tracks.size()),
               0,   96};
    for (const Bytes& track : tracks) {
        file.insert(file.end(),
                    {'M', 'T', 'r', 'k', 0, 0, static_cast<std::uint8_t>(track.size() >> 8),
                     static_cast<std::uint8_t>(track.size())});
        file.insert(file.end(), track.begin(), track.end());
    }
    return file;
}

TEST(smf_reader, FindsTheSysexBetweenOtherEvents) {
    struct Case {
        const char* what;
        Bytes file;
        Bytes stream;
        std::string problem;
    };
    const Case cases[] = {
        {"a SysEx among notes with running status, a tempo and a program change",
         Smf({{0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0x90, 0x3C, 0x40, 0x60, 0x3C, 0x00,
               0x00, 0xC0, 0x05, 0x00, 0xF0, 0x03, 0x44, 0x01, 0xF7, 0x00, 0xFF, 0x2F, 0x00}}),
         {0xF0, 0x44, 0x01, 0xF7},
         ""},
        {"a packet continued by an F7 event, in a second track after an unknown chunk",
         [] {
             Bytes file = Smf({{0x00, 0xFF, 0x2F, 0x00}});
             file.insert(file.end(), {'X', 'x', 'x', 'x', 0, 0, 0, 2, 9, 9});
             const Bytes second =
                 Smf({{0x00, 0xF0, 0x01, 0x44, 0x81, 0x00, 0xF7, 0x02, 0x01, 0xF7}});
             file.insert(file.end(), second.begin() + 14, second.end());
             return file;
         }(),
         {0xF0, 0x44, 0x01, 0xF7},
         ""},
        {"a SysEx longer than its track",
         Smf({{0x00, 0xF0, 0x7F, 0x44}}),
         {},
         "a SysEx event runs past the track"},
        {"a data byte first", Smf({{0x00, 0x3C}}), {}, "a data byte without a status"},
        {"a length of five bytes",
         Smf({{0x80, 0x80, 0x80, 0x80, 0x00}}),
         {},
         "a delta time runs past the track"},
        {"a track longer than the file",
         [] {
             Bytes file = Smf({{0x00, 0xF0, 0x01, 0xF7}});
             file[21] = 0x40;
             return file;
         }(),
         {0xF0, 0xF7},
         "the last track is cut"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(LooksLikeSmf(c.file));
        const SmfSysex read = ExtractSmfSysex(c.file);
        EXPECT_EQ(read.stream, c.stream);
        EXPECT_EQ(read.problem, c.problem);
    }
    EXPECT_FALSE(LooksLikeSmf(Bytes{0xF0, 0x44, 0x00}));
}

TEST(smf_reader, NeverReadsPastItsInputOrGivesMoreThanItRead) {
    std::mt19937 random(1);
    for (int round = 0; round < 2000; ++round) {
        Bytes file = Smf({{}});
        std::uniform_int_distribution<int> length(0, 300), byte(0, 255);
        const int n = length(random);
        for (int i = 0; i < n; ++i) file.push_back(static_cast<std::uint8_t>(byte(random)));
        file[20] = static_cast<std::uint8_t>(byte(random));
        file[21] = static_cast<std::uint8_t>(byte(random));
        const Bytes exact(file);  // a copy of its own size, so ASan sees any read beyond it
        const SmfSysex read = ExtractSmfSysex(exact);
        EXPECT_LE(read.stream.size(), exact.size());
        EXPECT_EQ(read.tracks, 1);
    }
}

}  // namespace
}  // namespace voxtane::testing
