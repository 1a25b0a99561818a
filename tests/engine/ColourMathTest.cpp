#include "engine/ColourMath.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace modOmbrix;

TEST(LevelToByte, GridAndOnlyExact256Clamped)
{
    const std::int16_t expected[] = {0, 16, 32, 48, 64, 80, 96, 112, 128, 144, 160, 176, 192, 208, 224, 240, 255};
    for (std::int16_t level = 0; level <= 16; ++level)
        EXPECT_EQ(LevelToByte(level), expected[level]) << "level " << level;
    EXPECT_EQ(LevelToByte(17), 272); // only the exact product 256 is replaced
    EXPECT_EQ(LevelToByte(-1), -16);
    EXPECT_THROW(LevelToByte(2048), OverflowError); // 32768 does not fit
    EXPECT_EQ(LevelToByte(2047), 32752);
}

TEST(ByteToHex, EveryByteMapsToItsBand)
{
    // Upper end of each band from the ties-to-even quantisation, with its code.
    const struct {
        int last;
        const char16_t* code;
    } bands[] = {{8, u"00"},   {23, u"10"},  {40, u"20"},  {55, u"30"},  {72, u"40"},  {87, u"50"},
                 {104, u"60"}, {119, u"70"}, {136, u"80"}, {151, u"90"}, {168, u"A0"}, {183, u"B0"},
                 {200, u"C0"}, {215, u"D0"}, {232, u"E0"}, {247, u"F0"}, {255, u"FF"}};
    int b = 0;
    for (const auto& band : bands)
        for (; b <= band.last; ++b)
            EXPECT_EQ(ByteToHex(static_cast<std::uint8_t>(b)), band.code) << "byte " << b;
}

TEST(ByteToHex, GridValuesKeepTheirCode)
{
    for (std::int16_t level = 0; level <= 16; ++level) {
        const auto v = static_cast<std::uint8_t>(LevelToByte(level));
        const std::u16string hex = ByteToHex(v);
        EXPECT_EQ(std::stoi(std::string(hex.begin(), hex.end()), nullptr, 16), v);
    }
}

TEST(Interpolate, RoundsTiesToEvenAndUsesBinary32Fractions)
{
    const struct {
        std::int16_t a, b;
        float t;
        std::int16_t expected;
    } cases[] = {
        {0, 5, 0.5f, 2},      {0, 7, 0.5f, 4},           {255, 0, 0.5f, 128},
        {200, 17, 0.0f, 200}, {0, 255, 0.25f, 64},       {255, 0, 0.25f, 191},
        {0, 271, 0.5f, 136},  {0, 255, 1.0f / 30.0f, 9}, {255, 255, 0.9f, 255},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Interpolate(c.a, c.b, c.t), c.expected) << c.a << " -> " << c.b << " at " << c.t;
    // The exact ratio would give the tie 8.5 and so 8: the binary32 value must be used.
    EXPECT_GT(static_cast<double>(1.0f / 30.0f) * 255.0, 8.5);
}

TEST(Interpolate, DifferenceIsChecked)
{
    EXPECT_THROW(Interpolate(-32768, 1, 0.5f), OverflowError);
    EXPECT_THROW(Interpolate(32767, -2, 0.0f), OverflowError);
}
