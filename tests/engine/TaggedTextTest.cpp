// The message with its tags and line breaks, as each writer this processor runs writes
// it: the block writers must write exactly what the one-character-at-a-time writer does,
// wherever the line breaks fall against their blocks, and stay inside the room the
// generator gives them (exact-size buffers, so that AddressSanitizer sees any overrun).
#include "engine/TaggedText.h"
#include "tests/engine/FakeSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace modOmbrix;
using ombrix::test::FakeSettings;

namespace {

std::vector<TextWriter> WritersToTest()
{
    std::vector<TextWriter> writers;
    for (TextWriter w : {TextWriter::Scalar, TextWriter::Sse2, TextWriter::Ssse3})
        if (w <= BestTextWriter())
            writers.push_back(w);
    return writers;
}

std::string NameOf(TextWriter w)
{
    switch (w) {
    case TextWriter::Scalar: return "Scalar";
    case TextWriter::Sse2: return "Sse2";
    case TextWriter::Ssse3: return "Ssse3";
    }
    return "?";
}

// Writes with `writer` into a buffer of exactly the room the generator gives.
std::u16string Write(TextWriter writer, const std::u16string& text, const std::vector<CodeChange>& changes,
                     bool closeTags)
{
    const std::vector<char16_t> input(text.begin(), text.end()); // nothing readable past its end
    FakeSettings tags;
    tags.fontTags = closeTags ? 1 : 0;
    std::vector<char16_t> out(text.size() + 2 * CountCarriageReturns(text) + changes.size() * kLongestTag + 8);
    char16_t* const end =
        WriteTaggedText(writer, out.data(), std::u16string_view(input.data(), input.size()), changes, tags);
    return {out.data(), static_cast<std::size_t>(end - out.data())};
}

// Tags at random positions, never on a CR or LF, as the generator places them.
std::vector<CodeChange> RandomTags(std::mt19937& rng, const std::u16string& text, int percent)
{
    std::vector<CodeChange> changes;
    std::uniform_int_distribution<int> chance(0, 99);
    std::uniform_int_distribution<std::uint32_t> step(0, 16);
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != u'\r' && text[i] != u'\n' && chance(rng) < percent)
            changes.push_back({static_cast<std::int16_t>(i + 1), step(rng) << 16 | step(rng) << 8 | step(rng)});
    return changes;
}

std::u16string RandomText(std::mt19937& rng, std::size_t length, const std::vector<std::u16string>& pieces)
{
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::u16string text;
    while (text.size() < length)
        text += pieces[pick(rng)];
    text.resize(length);
    return text;
}

struct LiteralCase {
    const char* name;
    std::u16string text;
    std::vector<CodeChange> changes;
    bool closeTags;
    std::u16string html;
};

TEST(TaggedText, EveryWriterWritesTheLiteralCases)
{
    const std::u16string sixteenPairs = [] {
        std::u16string s;
        for (int i = 0; i < 16; ++i)
            s += u"\r\n";
        return s;
    }();
    const std::u16string sixteenBreaks = [] {
        std::u16string s;
        for (int i = 0; i < 16; ++i)
            s += u"<BR>";
        return s;
    }();
    const std::vector<LiteralCase> cases = {
        {"empty", u"", {}, false, u""},
        {"lone CR and LF stay",
         std::u16string(20, u'a') + u"\r" + u"x\n\n\r\r" + std::u16string(20, u'b'),
         {},
         false,
         std::u16string(20, u'a') + u"\rx\n\n\r\r" + std::u16string(20, u'b')},
        {"CR CR LF",
         std::u16string(30, u'a') + u"\r\r\n" + std::u16string(30, u'a'),
         {},
         false,
         std::u16string(30, u'a') + u"\r<BR>" + std::u16string(30, u'a')},
        {"pair across the sixteenth",
         std::u16string(15, u'a') + u"\r\n" + std::u16string(40, u'b'),
         {},
         false,
         std::u16string(15, u'a') + u"<BR>" + std::u16string(40, u'b')},
        {"pair across the eighth",
         std::u16string(7, u'a') + u"\r\n \r\n \r\n" + std::u16string(40, u'b'),
         {},
         false,
         std::u16string(7, u'a') + u"<BR> <BR> <BR>" + std::u16string(40, u'b')},
        {"blank lines",
         sixteenPairs + u"z" + sixteenPairs + std::u16string(20, u'z'),
         {},
         false,
         sixteenBreaks + u"z" + sixteenBreaks + std::u16string(20, u'z')},
        {"tags between line breaks",
         u" \r\n  \r\nab \r\n  \r\n" + std::u16string(40, u'c'),
         {{1, 0x100000}, {8, 0x000100}, {9, 0x000010}},
         true,
         u"<FONT COLOR=FF0000> <BR>  <BR></FONT><FONT COLOR=001000>a</FONT><FONT COLOR=0000FF>b <BR>  <BR>" +
             std::u16string(40, u'c')},
    };
    for (const TextWriter writer : WritersToTest())
        for (const LiteralCase& c : cases)
            EXPECT_EQ(Write(writer, c.text, c.changes, c.closeTags), c.html) << NameOf(writer) << ": " << c.name;
}

TEST(TaggedText, BlockWritersAgreeWithTheScalarOne)
{
    // From texts dense with line breaks (where the table does the work) to sparse ones
    // (where the CRs are mended one by one), with runs of every length between tags.
    const std::vector<std::vector<std::u16string>> alphabets = {
        {u"\r\n", u" ", u"a"},
        {u"\r\n", u"\r", u"\n", u" "},
        {u"\r\n", u"Hello there, how are you?", u"\U0001F600"},
        {u"a", u"b", u"\r", u"\n", u"\r\n", u"\t", u"\U0001F600", u"\r\n\r\n\r\n\r\n"},
    };
    std::mt19937 rng(9122026);
    for (const TextWriter writer : WritersToTest()) {
        for (std::size_t a = 0; a < alphabets.size(); ++a) {
            for (int round = 0; round < 150; ++round) {
                const std::size_t length = round < 100 ? static_cast<std::size_t>(round) : 100 + 37 * round;
                const std::u16string text = RandomText(rng, length, alphabets[a]);
                const std::vector<CodeChange> changes = RandomTags(rng, text, round % 4 == 0 ? 0 : 1 + round % 30);
                const bool closeTags = round % 2 == 0;
                ASSERT_EQ(Write(writer, text, changes, closeTags), Write(TextWriter::Scalar, text, changes, closeTags))
                    << NameOf(writer) << ", alphabet " << a << ", round " << round;
            }
        }
    }
}

TEST(TaggedText, CountsEveryCarriageReturnForTheRoom)
{
    // Counted in rounds of 64 and 32 characters, then one by one: every length up to
    // three rounds and a few long ones, with CRs from none to every character.
    std::mt19937 rng(10122026);
    for (const std::size_t length : {std::size_t{0}, std::size_t{1}, std::size_t{65535}, std::size_t{70000}}) {
        for (const int percent : {0, 3, 50, 100}) {
            std::u16string text(length, u'a');
            std::uniform_int_distribution<int> chance(0, 99);
            for (char16_t& c : text)
                c = chance(rng) < percent ? u'\r' : u'a';
            EXPECT_EQ(CountCarriageReturns(text), static_cast<std::size_t>(std::count(text.begin(), text.end(), u'\r')))
                << length << " characters, " << percent << "% CRs";
        }
    }
    for (std::size_t length = 2; length <= 200; ++length) {
        const std::u16string text = RandomText(rng, length, {u"\r", u"\r\n", u"a", u"\n"});
        ASSERT_EQ(CountCarriageReturns(text), static_cast<std::size_t>(std::count(text.begin(), text.end(), u'\r')))
            << length;
    }
}

TEST(TaggedText, ReadsTheClosingTagOptionAtEachTag)
{
    FakeSettings tags;
    tags.fontTags = 1;
    std::u16string out(64, u'\0');
    const std::u16string_view text = u"abc";
    char16_t* const end = WriteTaggedText(out.data(), text, {{1, 0}, {3, 0}}, tags);
    EXPECT_EQ(std::u16string(out.data(), static_cast<std::size_t>(end - out.data())),
              u"<FONT COLOR=000000>ab</FONT><FONT COLOR=000000>c");
    EXPECT_EQ(tags.reads, (std::vector<std::string>{"tags", "tags"}));
}

} // namespace
