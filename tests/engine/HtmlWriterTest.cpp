// The HTML from colour changes given to it (WriteFadedText): the characters, every
// CR LF pair as <BR> and nothing else of the line breaks, a tag at each change.
#include "engine/Fade.h"
#include "tests/engine/FakeSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace modOmbrix;
using ombrix::test::FakeSettings;

namespace {

std::u16string Repeat(std::u16string_view piece, int times)
{
    std::u16string s;
    for (int i = 0; i < times; ++i)
        s += piece;
    return s;
}

struct LiteralCase {
    const char* name;
    std::u16string text;
    std::vector<ColourChange> changes;
    bool closeTags;
    std::u16string html;
};

TEST(HtmlWriter, WritesTheLiteralCases)
{
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
        {"a CR at the very end", u"ab\r", {}, false, u"ab\r"},
        {"pairs close together",
         std::u16string(7, u'a') + u"\r\n \r\n \r\n" + std::u16string(40, u'b'),
         {},
         false,
         std::u16string(7, u'a') + u"<BR> <BR> <BR>" + std::u16string(40, u'b')},
        {"blank lines",
         Repeat(u"\r\n", 16) + u"z" + Repeat(u"\r\n", 16) + std::u16string(20, u'z'),
         {},
         false,
         Repeat(u"<BR>", 16) + u"z" + Repeat(u"<BR>", 16) + std::u16string(20, u'z')},
        {"tags between line breaks",
         u" \r\n  \r\nab \r\n  \r\n" + std::u16string(40, u'c'),
         {{1, 0x100000}, {8, 0x000100}, {9, 0x000010}},
         true,
         u"<FONT COLOR=FF0000> <BR>  <BR></FONT><FONT COLOR=001000>a</FONT><FONT COLOR=0000FF>b <BR>  <BR>" +
             std::u16string(40, u'c') + u"</FONT> "},
        {"a tag on the last character", u"ab", {{2, 0x080008}}, false, u"a<FONT COLOR=800080>b"},
    };
    for (const LiteralCase& c : cases) {
        FakeSettings tags;
        tags.fontTags = c.closeTags ? 1 : 0;
        EXPECT_EQ(WriteFadedText(c.text, c.changes, tags), c.html) << c.name;
    }
}

TEST(HtmlWriter, ReadsTheClosingTagOptionAtEachTag)
{
    FakeSettings tags;
    tags.fontTags = 1;
    EXPECT_EQ(WriteFadedText(u"abc", {{1, 0}, {3, 0}}, tags),
              u"<FONT COLOR=000000>ab</FONT><FONT COLOR=000000>c</FONT> ");
    EXPECT_EQ(tags.reads, (std::vector<std::string>{"tags", "tags", "tags", "final"}));
}

} // namespace
