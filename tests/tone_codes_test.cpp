// Codings of the tone-wide parameters, checked against the synth's tables by value.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <vector>

#include "tone/tone_codes.h"

namespace voxtane {
namespace {

TEST(FineDetune, SliderValuesSkipTheCodesSixteenThirtyTwoAndFortyEight) {
    const std::array<std::pair<int, int>, 8> edges{
        {{0, 0}, {15, 60}, {16, 68}, {30, 124}, {31, 132}, {45, 188}, {46, 196}, {60, 252}}};
    for (const auto& [slider, byte] : edges) EXPECT_EQ(FineByteFromSlider(slider), byte) << slider;
    for (int f = 0; f <= 60; ++f) {
        const int byte = FineByteFromSlider(f);
        EXPECT_EQ(byte % 4, 0);
        EXPECT_TRUE(byte != 64 && byte != 128 && byte != 192) << f;
        EXPECT_EQ(FineSliderFromByte(byte), f);
        EXPECT_EQ(FineSliderFromByte(byte + 3), f);  // the low two bits are not read
    }
    for (int unused : {64, 67, 128, 192, 195}) EXPECT_FALSE(FineSliderFromByte(unused)) << unused;
}

Coefficient Rate(int value) {
    return VibratoRateCoefficient(value);
}

struct CoefficientTable {
    const char* name;
    std::function<Coefficient(int)> coefficient;
    // Value, low byte, high byte: the first and last value of every row.
    std::vector<std::array<int, 3>> edges;
};

const CoefficientTable kTables[] = {
    {"delay",
     VibratoDelayCoefficient,
     {{0, 0, 0},
      {31, 31, 0},
      {32, 33, 0},
      {47, 63, 0},
      {48, 67, 0},
      {63, 127, 0},
      {64, 135, 0},
      {79, 255, 0},
      {80, 15, 1},
      {95, 255, 1},
      {96, 31, 2},
      {99, 127, 2}}},
    {"rate", Rate, {{0, 32, 0},    {6, 224, 0},   {7, 0, 1},     {14, 224, 1},  {15, 0, 2},
                    {22, 224, 2},  {23, 0, 3},    {30, 224, 3},  {31, 0, 4},    {32, 96, 4},
                    {47, 32, 8},   {48, 224, 8},  {49, 96, 9},   {63, 96, 16},  {64, 224, 17},
                    {79, 224, 32}, {80, 224, 35}, {95, 224, 65}, {96, 224, 71}, {99, 224, 83}}},
    {"depth",
     VibratoDepthCoefficient,
     {{0, 1, 0},
      {31, 32, 0},
      {32, 35, 0},
      {47, 65, 0},
      {48, 71, 0},
      {63, 131, 0},
      {64, 143, 0},
      {78, 255, 0},
      {79, 7, 1},
      {80, 31, 1},
      {94, 255, 1},
      {95, 15, 2},
      {96, 63, 2},
      {97, 95, 2},
      {98, 127, 2},
      {99, 0, 3}}},
};

TEST(VibratoCoefficients, RowEdgesOfEveryTable) {
    for (const CoefficientTable& table : kTables)
        for (const auto& [value, low, high] : table.edges)
            EXPECT_EQ(table.coefficient(value), (Coefficient{low, high}))
                << table.name << " " << value;
}

// Rates 31 to 63 come from the lookup tables: 1024, 1120, up by 64 to 2080, then 2272 and up by
// 128 to 4192.
TEST(VibratoCoefficients, RateLookupRows) {
    for (int i = 0; i <= 32; ++i) {
        const int expected = i == 0 ? 1024 : i <= 16 ? 1120 + 64 * (i - 1) : 2272 + 128 * (i - 17);
        const Coefficient c = Rate(31 + i);
        EXPECT_EQ(256 * c.high + c.low, expected) << "rate " << 31 + i;
    }
}

TEST(VibratoCoefficients, RiseStrictlyWithTheSliderValueAndFitTwoBytes) {
    for (const CoefficientTable& table : kTables) {
        int previous = -1;
        for (int v = 0; v <= 99; ++v) {
            const Coefficient c = table.coefficient(v);
            EXPECT_TRUE(c.low >= 0 && c.low <= 255 && c.high >= 0 && c.high <= 255)
                << table.name << " " << v;
            EXPECT_GT(256 * c.high + c.low, previous) << table.name << " " << v;
            previous = 256 * c.high + c.low;
        }
    }
}

}  // namespace
}  // namespace voxtane
