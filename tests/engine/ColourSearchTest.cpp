// The colour search from inside (a white-box test of engine/ColourSearch.h). Where
// segments start is worked out in integers; the rules define it through binary32
// fractions. Every text length and segment count is checked against the definition.
#include "engine/ColourMath.h"
#include "engine/ColourSearch.h"
#include "engine/Fade.h"
#include "tests/engine/FakeSettings.h"

#include <gtest/gtest.h>

#include <vector>

using namespace modOmbrix;
using ombrix::test::FakeSettings;

namespace {

// The segment of position i as the rules have it: the whole part of i x s / n, worked
// out in double and kept as binary32.
std::int32_t SegmentOf(std::int32_t i, std::int32_t n, std::int32_t s)
{
    return static_cast<std::int32_t>(static_cast<float>(static_cast<double>(i * s) / static_cast<double>(n)));
}

TEST(ColourSearch, SegmentsStartWhereTheBinary32FractionsSay)
{
    for (std::int32_t s = 1; s <= 5; ++s) {
        const std::int32_t limit = MaxTextLength(s + 1);
        for (std::int32_t n = 1; n <= limit; ++n) {
            for (std::int32_t k = 1; k <= s; ++k) {
                const std::int32_t first =
                    FirstOfSegment(k, static_cast<std::int16_t>(n), static_cast<std::int16_t>(s));
                ASSERT_GE(SegmentOf(first, n, s), k) << "s " << s << ", n " << n << ", k " << k;
                if (first > 1) {
                    ASSERT_LT(SegmentOf(first - 1, n, s), k) << "s " << s << ", n " << n << ", k " << k;
                }
            }
        }
    }
}

// Most colour changes are placed from the straight line a channel follows, without
// working the colour out; the longest texts with two colours are where the rules'
// binary32 fractions stray furthest from that line. Every pair of red levels, at the
// longest length and another, against the red code of every position as the rules
// compute it.
TEST(ColourSearch, EveryRedFadeOverTheLongestTexts)
{
    for (const std::int32_t n : {32766, 24573}) {
        for (std::int16_t from = 0; from <= 16; ++from) {
            for (std::int16_t to = 0; to <= 16; ++to) {
                FakeSettings s;
                s.levels[0] = {from, 0, 0};
                s.levels[1] = {to, 0, 0};
                std::vector<std::int16_t> expected;
                std::u16string before;
                for (std::int32_t i = 1; i <= n; ++i) {
                    const float t = static_cast<float>(static_cast<double>(i) / static_cast<double>(n));
                    const auto k = static_cast<std::size_t>(t); // 0, or 1 at the last position
                    const std::int16_t a = LevelToByte(k == 0 ? from : to);
                    const std::int16_t b = k == 0 ? LevelToByte(to) : std::int16_t{0};
                    const std::u16string red =
                        ByteToHex(static_cast<std::uint8_t>(Interpolate(a, b, t - static_cast<float>(k))));
                    if (red != before)
                        expected.push_back(static_cast<std::int16_t>(i));
                    before = red;
                }
                std::vector<std::int16_t> found;
                for (const ColourChange& change : FindCodeChanges(s, static_cast<std::int16_t>(n), 1))
                    found.push_back(change.position);
                ASSERT_EQ(found, expected) << "red " << from << " to " << to << ", n " << n;
            }
        }
    }
}

} // namespace
