// Where segments start is worked out in integers; the rules define it through binary32
// fractions. Every text length and segment count is checked against the definition.
#include "engine/FadeCodes.h"
#include "engine/FadeText.h"

#include <gtest/gtest.h>

using namespace modOmbrix;

namespace {

// The segment of position i as the rules have it: the whole part of i x s / n, worked
// out in double and kept as binary32.
std::int32_t SegmentOf(std::int32_t i, std::int32_t n, std::int32_t s)
{
    return static_cast<std::int32_t>(static_cast<float>(static_cast<double>(i * s) / static_cast<double>(n)));
}

TEST(FadeCodes, SegmentsStartWhereTheBinary32FractionsSay)
{
    for (std::int32_t s = 1; s <= 5; ++s) {
        const std::int32_t limit = MaxTextLength(s + 1);
        for (std::int32_t n = 1; n <= limit; ++n) {
            for (std::int32_t k = 1; k <= s; ++k) {
                const std::int32_t first = FirstOfSegment(k, static_cast<std::int16_t>(n), static_cast<std::int16_t>(s));
                ASSERT_GE(SegmentOf(first, n, s), k) << "s " << s << ", n " << n << ", k " << k;
                if (first > 1) {
                    ASSERT_LT(SegmentOf(first - 1, n, s), k) << "s " << s << ", n " << n << ", k " << k;
                }
            }
        }
    }
}

} // namespace
