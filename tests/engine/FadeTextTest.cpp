#include "engine/Fade.h"
#include "tests/engine/FakeSettings.h"

#include <gtest/gtest.h>

#include <string>

using namespace modOmbrix;
using ombrix::test::FakeSettings;

namespace {

// The units as ASCII, each other unit as \uXXXX, so a failure shows which unit differs.
std::string Narrow(const std::u16string& s)
{
    std::string out;
    for (char16_t c : s) {
        if (c < 128) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        constexpr char kHex[] = "0123456789ABCDEF";
        out += {'\\', 'u', kHex[c >> 12], kHex[(c >> 8) & 15], kHex[(c >> 4) & 15], kHex[c & 15]};
    }
    return out;
}

FakeSettings OneColour(std::array<std::int16_t, 3> slot0)
{
    FakeSettings s;
    s.count = 1;
    s.levels[0] = slot0;
    return s;
}

FakeSettings WithTags(FakeSettings s, std::int16_t tags, std::int16_t final)
{
    s.fontTags = tags;
    s.finalTag = final;
    return s;
}

struct Case {
    const char* name;
    FakeSettings settings;
    std::u16string text;
    std::u16string expected;
};

FakeSettings ThreeColours()
{
    FakeSettings s;
    s.count = 3;
    s.levels[0] = {16, 0, 0};
    s.levels[1] = {0, 16, 0};
    s.levels[2] = {0, 0, 16};
    return s;
}

FakeSettings BlackToDarkBlue()
{
    FakeSettings s;
    s.levels[0] = {0, 0, 0};
    s.levels[1] = {0, 0, 2};
    return s;
}

FakeSettings BlackToBlue()
{
    FakeSettings s;
    s.levels[0] = {0, 0, 0};
    s.levels[1] = {0, 0, 16};
    return s;
}

} // namespace

TEST(FadeText, KnownOutputs)
{
    const auto rb = FakeSettings::RedToBlue();
    const Case cases[] = {
        {"worked example, no options", rb, u"abcd",
         u"<FONT COLOR=C00040>a<FONT COLOR=800080>b<FONT COLOR=4000C0>c<FONT COLOR=0000FF>d"},
        {"worked example, ending tags", WithTags(rb, 1, 0), u"abcd",
         u"<FONT COLOR=C00040>a</FONT><FONT COLOR=800080>b</FONT><FONT COLOR=4000C0>c</FONT><FONT "
         u"COLOR=0000FF>d</FONT> "},
        {"worked example, final tag only", WithTags(rb, 0, 1), u"abcd",
         u"<FONT COLOR=C00040>a<FONT COLOR=800080>b<FONT COLOR=4000C0>c<FONT COLOR=0000FF>d</FONT> "},
        {"empty text, no options", rb, u"", u""},
        {"empty text, ending tags", WithTags(rb, 1, 0), u"", u"</FONT> "},
        {"empty text, final tag", WithTags(rb, 0, 1), u"", u"</FONT> "},
        {"one colour shares one tag", OneColour({16, 0, 0}), u"aaaa", u"<FONT COLOR=FF0000>aaaa"},
        {"one character gets the last colour", rb, u"x", u"<FONT COLOR=0000FF>x"},
        {"leading separator, one colour", WithTags(OneColour({16, 0, 0}), 1, 0), u" ab", u" ab</FONT> "},
        {"leading separator, first tag closed", WithTags(rb, 1, 0), u" ab",
         u" </FONT><FONT COLOR=5000B0>a</FONT><FONT COLOR=0000FF>b</FONT> "},
        {"separator in the middle", WithTags(rb, 1, 0), u"a b",
         u"<FONT COLOR=B00050>a </FONT><FONT COLOR=0000FF>b</FONT> "},
        {"code changes on letters", BlackToDarkBlue(), u"abcd",
         u"<FONT COLOR=000000>a<FONT COLOR=000010>b<FONT COLOR=000020>cd"},
        {"code change falls on a separator", BlackToDarkBlue(), u"ab d", u"<FONT COLOR=000000>a<FONT COLOR=000010>b d"},
        {"CR LF becomes BR", rb, u"hi\r\nyo",
         u"<FONT COLOR=D00030>h<FONT COLOR=B00050>i<BR><FONT COLOR=3000D0>y<FONT COLOR=0000FF>o"},
        {"lone LF stays", rb, u"a\nb", u"<FONT COLOR=B00050>a\n<FONT COLOR=0000FF>b"},
        {"lone CR stays, CR CR LF gives CR BR", OneColour({0, 0, 0}), u"a\r\r\nb", u"<FONT COLOR=000000>a\r<BR>b"},
        {"LF CR stays, and b shares their code", OneColour({0, 0, 0}), u"\n\rb", u"\n\rb"},
        {"tab is not a separator", rb, u"a\tb", u"<FONT COLOR=B00050>a<FONT COLOR=5000B0>\t<FONT COLOR=0000FF>b"},
        {"three colours", WithTags(ThreeColours(), 1, 0), u"Hello",
         u"<FONT COLOR=A06000>H</FONT><FONT COLOR=30D000>e</FONT><FONT COLOR=00D030>l</FONT><FONT "
         u"COLOR=0060A0>l</FONT><FONT COLOR=0000FF>o</FONT> "},
        {"check value 2 is off", WithTags(rb, 2, 2), u"ab", u"<FONT COLOR=800080>a<FONT COLOR=0000FF>b"},
        {"markup is copied unchanged", OneColour({0, 0, 0}), u"<b>&amp;", u"<FONT COLOR=000000><b>&amp;"},
        {"surrogate pair keeps its halves together", rb, u"a\U0001F600",
         u"<FONT COLOR=B00050>a<FONT COLOR=5000B0>\U0001F600"},
        {"lone low surrogate is an ordinary unit", rb, u"a\xDC00", u"<FONT COLOR=800080>a<FONT COLOR=0000FF>\xDC00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Narrow(FadeText(c.text, c.settings, c.settings)), Narrow(c.expected)) << c.name;
}

TEST(FadeText, Binary32FractionsChangeTheOutput)
{
    const auto s = BlackToBlue();
    const std::u16string out = FadeText(std::u16string(30, u'a'), s, s);
    EXPECT_EQ(Narrow(out).substr(0, 61), "<FONT COLOR=000010>aa<FONT COLOR=000020>aa<FONT COLOR=000030>");
}

TEST(FadeText, SurrogatePairTailCarriesItsCodeOnward)
{
    // With "a", U+1F600 (two units), "b" the pair's second half gets no tag but its
    // own code still decides whether "b" needs one.
    auto s = FakeSettings::RedToBlue();
    const std::u16string text = u"a\U0001F600b";
    const std::u16string out = FadeText(text, s, s);
    EXPECT_EQ(Narrow(out), "<FONT COLOR=C00040>a<FONT COLOR=800080>\\uD83D\\uDE00<FONT COLOR=0000FF>b");
    EXPECT_NE(out.find(u"\U0001F600"), std::u16string::npos);
}

TEST(FadeText, ReadsSettingsInOrderEveryCall)
{
    auto s = WithTags(FakeSettings::RedToBlue(), 1, 0);
    (void)FadeText(u"ab", s, s);
    const std::vector<std::string> expected = {"count", "R0",   "G0",   "B0",   "R1",   "G1",
                                               "B1",    "tags", "tags", "tags", "final"};
    EXPECT_EQ(s.reads, expected); // read at each of the two tags, then at the end
    s.reads.clear();
    s.levels[1] = {16, 0, 0};
    EXPECT_EQ(Narrow(FadeText(u"ab", s, s)), "<FONT COLOR=FF0000>ab</FONT> "); // no cached table
}

TEST(FadeText, LengthLimitsPerColourCount)
{
    const std::int32_t limits[] = {32766, 32766, 16383, 10922, 8191, 6553};
    for (std::int32_t colours = 1; colours <= 6; ++colours) {
        FakeSettings s;
        s.count = colours;
        for (auto& slot : s.levels)
            slot = {16, 16, 16};
        const std::int32_t limit = limits[colours - 1];
        EXPECT_EQ(MaxTextLength(colours), limit);
        const std::u16string atLimit(static_cast<std::size_t>(limit), u'x');
        EXPECT_EQ(FadeText(atLimit, s, s).size(), atLimit.size() + 19) << colours << " colours";
        try {
            (void)FadeText(atLimit + u'x', s, s);
            ADD_FAILURE() << "no error past the limit with " << colours << " colours";
        } catch (const TextTooLongError& e) {
            EXPECT_EQ(e.limit(), limit);
            EXPECT_EQ(e.colours(), colours);
        }
    }
    EXPECT_STREQ(TextTooLongError(6, 6553).what(), "text too long for 6 colours: at most 6553 characters");
    EXPECT_STREQ(TextTooLongError(1, 32766).what(), "text too long for 1 colour: at most 32766 characters");
}

TEST(FadeText, LongTextsStayExactAtTheEnds)
{
    // 32766 line breaks: every pair becomes <BR>, no tag at all.
    auto s = FakeSettings::RedToBlue();
    std::u16string text;
    for (int i = 0; i < 16383; ++i)
        text += u"\r\n";
    const std::u16string out = FadeText(text, s, s);
    EXPECT_EQ(out.size(), 16383u * 4);
    // Six colours at the limit end on the last colour.
    FakeSettings six;
    six.count = 6;
    six.levels[5] = {8, 0, 8};
    const std::u16string end = FadeText(std::u16string(6553, u'z'), six, six);
    const std::size_t lastTag = end.rfind(u"<FONT COLOR=");
    EXPECT_EQ(Narrow(end.substr(lastTag, 19)), "<FONT COLOR=800080>");
    EXPECT_EQ(end.find_first_not_of(u'z', lastTag + 19), std::u16string::npos);
}

TEST(FadeText, RejectsBadColourCounts)
{
    for (std::int32_t count : {0, 7, -1}) {
        FakeSettings s;
        s.count = count;
        EXPECT_THROW((void)FadeText(u"a", s, s), std::out_of_range) << count;
    }
}

TEST(FadeText, LevelsOutsideTheGridFailInsteadOfWrapping)
{
    auto s = OneColour({17, 0, 0}); // byte 272 cannot be narrowed to a byte
    EXPECT_THROW((void)FadeText(u"ab", s, s), OverflowError);
}
