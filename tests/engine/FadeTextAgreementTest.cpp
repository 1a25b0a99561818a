// The generator finds the few positions where the colour changes instead of computing
// every one. This checks it against the rules applied literally, position by position,
// over many colour tables and lengths, including the longest texts.
#include "engine/Fade.h"
#include "tests/engine/FakeSettings.h"
#include "tests/engine/LiteralFade.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace modOmbrix;
using ombrix::test::FakeSettings;
using ombrix::test::LiteralFade;

namespace {

std::u16string RandomText(std::mt19937& rng, std::size_t length)
{
    static const std::u16string kPieces[] = {u"a", u"b", u" ", u"\r", u"\n", u"\r\n", u"\t", u"<", u"\U0001F600", u"x"};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kPieces) - 1);
    std::u16string text;
    while (text.size() < length)
        text += kPieces[pick(rng)];
    text.resize(length);
    return text;
}

FakeSettings RandomTable(std::mt19937& rng, std::int32_t colours)
{
    FakeSettings s;
    s.count = colours;
    std::uniform_int_distribution<int> level(0, 16), kind(0, 3), flag(0, 1);
    for (auto& slot : s.levels)
        for (auto& l : slot) {
            const int k = kind(rng); // the extremes often, where the rounding sits on ties
            l = static_cast<std::int16_t>(k == 0 ? 0 : k == 1 ? 16 : level(rng));
        }
    s.fontTags = static_cast<std::int16_t>(flag(rng));
    s.finalTag = static_cast<std::int16_t>(flag(rng));
    return s;
}

TEST(FadeTextAgreement, EveryShortLengthForManyTables)
{
    std::mt19937 rng(8122026);
    for (int table = 0; table < 60; ++table) {
        const FakeSettings s = RandomTable(rng, 1 + table % 6);
        for (std::size_t length = 0; length <= 160; ++length) {
            const std::u16string text = RandomText(rng, length);
            ASSERT_EQ(FadeText(text, s, s), LiteralFade(text, s, s)) << "table " << table << ", length " << length;
        }
    }
}

TEST(FadeTextAgreement, LongTextsUpToTheLimit)
{
    std::mt19937 rng(20261208);
    for (int table = 0; table < 48; ++table) {
        const std::int32_t colours = 1 + table % 6;
        const FakeSettings s = RandomTable(rng, colours);
        const auto limit = static_cast<std::size_t>(MaxTextLength(colours));
        const std::size_t length =
            table < 12 ? limit : std::uniform_int_distribution<std::size_t>(limit / 2, limit)(rng);
        const std::u16string text = RandomText(rng, length);
        ASSERT_EQ(FadeText(text, s, s), LiteralFade(text, s, s)) << "table " << table << ", length " << length;
    }
}

TEST(FadeTextAgreement, FullSweepsOfEveryChannel)
{
    // Each channel runs across all seventeen steps, up and down, in every segment.
    FakeSettings s;
    s.count = 6;
    s.levels = {{{0, 16, 0}, {16, 0, 16}, {0, 16, 0}, {16, 0, 16}, {0, 16, 0}, {16, 0, 16}}};
    for (const std::size_t length : {5u, 17u, 33u, 85u, 86u, 1000u, 4099u, 6553u}) {
        const std::u16string text = RandomText(*std::make_unique<std::mt19937>(length), length);
        ASSERT_EQ(FadeText(text, s, s), LiteralFade(text, s, s)) << "length " << length;
    }
}

} // namespace
