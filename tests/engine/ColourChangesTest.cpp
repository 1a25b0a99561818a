// The live colours of the message box come from FindColourChanges. Whatever colour a
// reader of FadeText's HTML gives a character, FindColourChanges must give it too.
#include "engine/Fade.h"
#include "tests/engine/FakeSettings.h"
#include "tests/engine/RandomText.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace modOmbrix;
using ombrix::test::FakeSettings;

namespace {

using Colours = std::vector<std::optional<std::uint32_t>>; // per character; none before the first tag

// The colour each character of the text gets from the HTML, as a browser reads it: the
// last FONT tag before it; "<BR>" stands for a CR LF pair. Needs a text without "<" and
// both tag options off.
Colours ColoursFromHtml(std::u16string_view html)
{
    constexpr std::u16string_view kOpen = u"<FONT COLOR=";
    Colours colours;
    std::optional<std::uint32_t> current;
    for (std::size_t i = 0; i < html.size();) {
        if (html.substr(i, kOpen.size()) == kOpen) {
            const std::u16string code(html.substr(i + kOpen.size(), 6));
            current = static_cast<std::uint32_t>(std::stoul(std::string(code.begin(), code.end()), nullptr, 16));
            i += kOpen.size() + 7;
        } else if (html.substr(i, 4) == u"<BR>") {
            colours.insert(colours.end(), 2, current);
            i += 4;
        } else {
            colours.push_back(current);
            ++i;
        }
    }
    return colours;
}

Colours ColoursFromChanges(std::size_t length, const std::vector<ColourChange>& tags)
{
    Colours colours(length);
    std::optional<std::uint32_t> current;
    auto tag = tags.begin();
    for (std::size_t i = 0; i < length; ++i) {
        if (tag != tags.end() && static_cast<std::size_t>(tag->position) == i + 1)
            current = CodeToRgb((tag++)->code);
        colours[i] = current;
    }
    EXPECT_EQ(tag, tags.end()) << "a tag past the end of the text";
    return colours;
}

std::u16string RandomText(std::mt19937& rng, std::size_t length)
{
    static const std::u16string kPieces[] = {u"a",  u"b",  u" ",  u"  ",         u"\r\n",
                                             u"\r", u"\n", u"\t", u"\U0001F600", u"é"};
    return ombrix::test::RandomText(rng, length, kPieces);
}

TEST(ColourChanges, GiveEachCharacterTheColourItsHtmlGivesIt)
{
    std::mt19937 rng(14122026);
    std::uniform_int_distribution<int> level(0, 16), extreme(0, 2);
    for (int table = 0; table < 120; ++table) {
        FakeSettings s;
        s.count = 1 + table % 6;
        for (auto& slot : s.levels)
            for (auto& l : slot)
                l = static_cast<std::int16_t>(extreme(rng) == 0 ? 16 * (level(rng) % 2) : level(rng));
        const auto limit = static_cast<std::size_t>(MaxTextLength(s.count));
        for (const std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{7},
                                         std::size_t{40}, std::size_t{333}, limit - 1, limit}) {
            const std::u16string text = RandomText(rng, length);
            const Colours fromHtml = ColoursFromHtml(FadeText(text, s, s));
            ASSERT_EQ(fromHtml.size(), text.size());
            ASSERT_EQ(ColoursFromChanges(text.size(), FindColourChanges(text, s)), fromHtml)
                << "table " << table << ", length " << text.size();
        }
    }
}

TEST(ColourChanges, ACharacterAfterAChangeOnASeparatorKeepsTheLastTagsColour)
{
    FakeSettings s;
    s.levels[0] = {0, 0, 0};
    s.levels[1] = {0, 0, 2};
    struct Case {
        std::u16string text;
        Colours colours;
    };
    const Case cases[] = {
        {u"abcd", {0x000000, 0x000010, 0x000020, 0x000020}},
        {u"ab d", {0x000000, 0x000010, 0x000010, 0x000010}}, // d has the space's code, but no tag
        // The space takes the first code and no tag; a shares its code, so it has none either.
        {u" ab", {std::nullopt, std::nullopt, 0x000020}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColoursFromChanges(c.text.size(), FindColourChanges(c.text, s)), c.colours)
            << std::string(c.text.begin(), c.text.end());
}

} // namespace
