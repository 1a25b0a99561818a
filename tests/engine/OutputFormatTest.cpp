// The formats besides HTML. Each output is read back as a reader of that format reads
// it (a browser, a forum, a Minecraft server, an IRC client, a terminal): it must give
// back the text, show each character in the colour the HTML shows it in (IRC: the
// nearest palette colour), and put no code before a space or a line break.
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

using Colour = std::optional<std::uint32_t>; // none before the first code

// A character as a reader shows it; every line break is one '\n'.
struct Shown {
    char16_t c;
    Colour colour;
    bool operator==(const Shown&) const = default;
};

struct Reading {
    std::vector<Shown> shown;
    std::string fault; // empty when the output reads cleanly
};

bool IsSeparator(char16_t c) { return c == u' ' || c == u'\r' || c == u'\n'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The six hex digits at `at`, in the case given, or none.
Colour HexAt(std::u16string_view s, std::size_t at, bool upper)
{
    if (s.size() < at + 6)
        return std::nullopt;
    std::uint32_t v = 0;
    for (std::size_t i = at; i < at + 6; ++i) {
        const char16_t c = s[i];
        const char16_t a = upper ? u'A' : u'a';
        if (IsDigit(c))
            v = v * 16 + (c - u'0');
        else if (c >= a && c < a + 6)
            v = v * 16 + (c - a + 10);
        else
            return std::nullopt;
    }
    return v;
}

// What every reader shares: the characters read so far, the colour in force, and the
// check that a code is never followed by a separator.
class Reader {
public:
    explicit Reader(std::u16string_view out) : out_(out) {}

    bool Done() const { return i_ >= out_.size(); }
    char16_t Peek(std::size_t ahead = 0) const { return i_ + ahead < out_.size() ? out_[i_ + ahead] : u'\0'; }
    bool Take(std::u16string_view s)
    {
        if (!out_.substr(i_).starts_with(s))
            return false;
        i_ += s.size();
        return true;
    }
    std::size_t Position() const { return i_; }
    void Skip(std::size_t n) { i_ += n; }
    std::u16string_view Rest() const { return out_.substr(i_); }

    void Code(Colour colour)
    {
        colour_ = colour;
        codeBefore_ = true;
    }
    void Put(char16_t c)
    {
        if (codeBefore_ && IsSeparator(c))
            Fail("a code before a separator");
        codeBefore_ = false;
        reading_.shown.push_back({c, colour_});
    }
    void Fail(const std::string& why)
    {
        if (reading_.fault.empty())
            reading_.fault = why + " at " + std::to_string(i_);
        i_ = out_.size();
    }
    Colour Current() const { return colour_; }
    void SetColour(Colour colour) { colour_ = colour; }
    Reading Result() { return std::move(reading_); }

private:
    std::u16string_view out_;
    std::size_t i_ = 0;
    Colour colour_;
    bool codeBefore_ = false;
    Reading reading_;
};

Reading ReadHtml(std::u16string_view out)
{
    Reader r(out);
    while (!r.Done()) {
        if (r.Take(u"<FONT COLOR=")) {
            const Colour c = HexAt(r.Rest(), 0, true);
            if (!c || r.Peek(6) != u'>') {
                r.Fail("a bad FONT tag");
                break;
            }
            r.Skip(7);
            r.Code(c);
        } else if (r.Take(u"<BR>")) {
            r.Put(u'\n');
        } else {
            r.Put(r.Peek());
            r.Skip(1);
        }
    }
    return r.Result();
}

Reading ReadCss(std::u16string_view out)
{
    Reader r(out);
    bool open = false;
    while (!r.Done()) {
        if (r.Take(u"<span style=\"color:#")) {
            const Colour c = HexAt(r.Rest(), 0, false);
            if (!c || !r.Rest().substr(6).starts_with(u"\">") || open) {
                r.Fail("a bad or nested span");
                break;
            }
            r.Skip(8);
            r.Code(c);
            open = true;
        } else if (r.Take(u"</span>")) {
            if (!open) {
                r.Fail("a span closed twice");
                break;
            }
            r.Code(std::nullopt);
            open = false;
        } else if (r.Take(u"<br>")) {
            r.Put(u'\n');
        } else if (r.Take(u"&lt;")) {
            r.Put(u'<');
        } else if (r.Take(u"&gt;")) {
            r.Put(u'>');
        } else if (r.Take(u"&amp;")) {
            r.Put(u'&');
        } else if (r.Take(u"&quot;")) {
            r.Put(u'"');
        } else if (r.Peek() == u'<' || r.Peek() == u'>' || r.Peek() == u'&' || r.Peek() == u'"') {
            r.Fail("a character not escaped");
        } else {
            r.Put(r.Peek());
            r.Skip(1);
        }
    }
    if (open)
        r.Fail("a span left open");
    return r.Result();
}

Reading ReadBbCode(std::u16string_view out)
{
    Reader r(out);
    bool open = false;
    while (!r.Done()) {
        if (r.Take(u"[color=#")) {
            const Colour c = HexAt(r.Rest(), 0, true);
            if (!c || r.Peek(6) != u']' || open) {
                r.Fail("a bad or nested color tag");
                break;
            }
            r.Skip(7);
            r.Code(c);
            open = true;
        } else if (r.Take(u"[/color]")) {
            if (!open) {
                r.Fail("a color tag closed twice");
                break;
            }
            r.Code(std::nullopt);
            open = false;
        } else {
            r.Put(r.Peek());
            r.Skip(1);
        }
    }
    if (open)
        r.Fail("a color tag left open");
    return r.Result();
}

Reading ReadMiniMessage(std::u16string_view out)
{
    Reader r(out);
    while (!r.Done()) {
        if (r.Peek() == u'\\') {
            if (r.Peek(1) != u'<' && r.Peek(1) != u'\\') {
                r.Fail("a \\ that escapes nothing");
                break;
            }
            r.Put(r.Peek(1));
            r.Skip(2);
        } else if (r.Take(u"<newline>")) {
            r.Put(u'\n');
        } else if (r.Take(u"<#")) {
            const Colour c = HexAt(r.Rest(), 0, false);
            if (!c || r.Peek(6) != u'>') {
                r.Fail("a bad colour tag");
                break;
            }
            r.Skip(7);
            r.Code(c);
        } else if (r.Peek() == u'<') {
            r.Fail("a < not escaped");
        } else {
            r.Put(r.Peek());
            r.Skip(1);
        }
    }
    return r.Result();
}

// As mIRC reads it: Ctrl+C, up to two digits, and a comma with up to two more for a
// background; every line a message of its own, with the colours reset.
Reading ReadIrc(std::u16string_view out)
{
    Reader r(out);
    bool bold = false;
    while (!r.Done()) {
        const char16_t c = r.Peek();
        if (c == u'\x03') {
            r.Skip(1);
            int digits = 0;
            int colour = 0;
            for (; digits < 2 && IsDigit(r.Peek()); ++digits, r.Skip(1))
                colour = colour * 10 + (r.Peek() - u'0');
            if (digits != 2 || colour >= kIrcColourCount) {
                r.Fail("a colour not of two digits in the palette");
                break;
            }
            if (r.Peek() == u',' && IsDigit(r.Peek(1))) {
                r.Fail("text read as a background colour");
                break;
            }
            r.Code(IrcColourRgb(colour));
        } else if (c == u'\x02') {
            bold = !bold;
            r.Skip(1);
            r.Code(r.Current());
        } else if (c == u'\x0F') {
            r.Skip(1);
            r.Code(std::nullopt);
        } else if (c == u'\n') {
            r.Put(u'\n');
            r.Skip(1);
            r.SetColour(std::nullopt); // a new message: nothing carries over
        } else {
            r.Put(c);
            r.Skip(1);
        }
    }
    if (bold)
        r.Fail("bold left on");
    return r.Result();
}

Reading ReadAnsi(std::u16string_view out)
{
    Reader r(out);
    while (!r.Done()) {
        if (r.Take(u"\x1B[")) {
            std::vector<int> params(1, 0);
            for (; IsDigit(r.Peek()) || r.Peek() == u';'; r.Skip(1)) {
                if (r.Peek() == u';')
                    params.push_back(0);
                else
                    params.back() = params.back() * 10 + (r.Peek() - u'0');
            }
            if (!r.Take(u"m")) {
                r.Fail("an escape without m");
                break;
            }
            if (params == std::vector<int>{0})
                r.Code(std::nullopt);
            else if (params.size() == 5 && params[0] == 38 && params[1] == 2 && params[2] < 256 && params[3] < 256 &&
                     params[4] < 256)
                r.Code(static_cast<std::uint32_t>(params[2] << 16 | params[3] << 8 | params[4]));
            else {
                r.Fail("an escape that sets no colour");
                break;
            }
        } else {
            r.Put(r.Peek());
            r.Skip(1);
        }
    }
    return r.Result();
}

Reading Read(OutputFormat format, std::u16string_view out)
{
    switch (format) {
    case OutputFormat::Html: return ReadHtml(out);
    case OutputFormat::Css: return ReadCss(out);
    case OutputFormat::BbCode: return ReadBbCode(out);
    case OutputFormat::MiniMessage: return ReadMiniMessage(out);
    case OutputFormat::Irc: return ReadIrc(out);
    case OutputFormat::Ansi: return ReadAnsi(out);
    }
    return {};
}

// The text as every reader gives it back: each CR LF pair one '\n'.
std::u16string Canonical(std::u16string_view text)
{
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool pair = text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        out += pair ? u'\n' : text[i];
        i += pair ? 1 : 0;
    }
    return out;
}

std::u16string Characters(const Reading& reading)
{
    std::u16string out;
    for (const Shown& s : reading.shown)
        out += s.c;
    return out;
}

// Markup characters of every format, a digit and a comma for IRC, separators of every
// kind, and characters outside the BMP; none can make a format's own markup.
std::u16string RandomText(std::mt19937& rng, std::size_t length)
{
    static const std::u16string kPieces[] = {u"a",  u"b", u" ",  u"  ",     u"\r\n", u"\r", u"\n",
                                             u"\t", u"<", u">",  u"&",      u"\"",   u"\\", u"[",
                                             u"]",  u"1", u",5", u"\u00e9", u"#",    u"=",  u"\U0001F600"};
    return ombrix::test::RandomText(rng, length, kPieces);
}

FakeSettings RandomTable(std::mt19937& rng)
{
    FakeSettings s;
    std::uniform_int_distribution<int> count(1, 6), level(0, 16), extreme(0, 2);
    s.count = count(rng);
    for (auto& slot : s.levels)
        for (auto& l : slot)
            l = static_cast<std::int16_t>(extreme(rng) == 0 ? 16 * (level(rng) % 2) : level(rng));
    return s;
}

constexpr OutputFormat kOtherFormats[] = {OutputFormat::Css, OutputFormat::BbCode, OutputFormat::MiniMessage,
                                          OutputFormat::Irc, OutputFormat::Ansi};

TEST(OutputFormats, EachGivesBackTheTextInTheHtmlsColours)
{
    std::mt19937 rng(21122026);
    for (int round = 0; round < 400; ++round) {
        FakeSettings s = RandomTable(rng);
        const auto limit = static_cast<std::size_t>(MaxTextLength(s.count));
        const std::size_t length = round % 50 == 0 ? limit : std::uniform_int_distribution<std::size_t>(0, 300)(rng);
        const std::u16string text = RandomText(rng, length);
        const Reading html = ReadHtml(FadeText(text, s, s));
        ASSERT_EQ(html.fault, "") << "round " << round;
        ASSERT_EQ(Characters(html), Canonical(text)) << "round " << round;
        for (const OutputFormat format : kOtherFormats) {
            s.reads.clear();
            const Reading read = Read(format, FadeText(text, s, s, format));
            const std::string where = std::string(FormatName(format)) + ", round " + std::to_string(round);
            ASSERT_EQ(read.fault, "") << where;
            ASSERT_EQ(Characters(read), Canonical(text)) << where;
            for (std::size_t i = 0; i < read.shown.size(); ++i) {
                Colour expected = html.shown[i].colour;
                if (format == OutputFormat::Irc) {
                    if (IsSeparator(read.shown[i].c))
                        continue; // each IRC line starts uncoloured; a separator shows no colour
                    if (expected)
                        expected = IrcColourRgb(NearestIrcColour(*expected));
                }
                ASSERT_EQ(read.shown[i].colour, expected) << where << ", character " << i;
            }
            ASSERT_EQ(std::count(s.reads.begin(), s.reads.end(), "tags") +
                          std::count(s.reads.begin(), s.reads.end(), "final"),
                      0)
                << where << ": the tag options are for HTML only";
        }
    }
}

FakeSettings Red()
{
    FakeSettings s;
    s.count = 1;
    s.levels[0] = {16, 0, 0};
    return s;
}

struct Literal {
    const char* name;
    FakeSettings settings;
    std::u16string text;
    OutputFormat format;
    std::u16string expected;
};

TEST(OutputFormats, KnownOutputs)
{
    const FakeSettings rb = FakeSettings::RedToBlue();
    const std::u16string marks = u"a<&\\[1\r\nb\U0001F600 \"x";
    const Literal cases[] = {
        {"markup and a line break", Red(), marks, OutputFormat::Html, u"<FONT COLOR=FF0000>a<&\\[1<BR>b\U0001F600 \"x"},
        {"markup and a line break", Red(), marks, OutputFormat::Css,
         u"<span style=\"color:#ff0000\">a&lt;&amp;\\[1<br>b\U0001F600 &quot;x</span>"},
        {"markup and a line break", Red(), marks, OutputFormat::BbCode,
         u"[color=#FF0000]a<&\\[1\nb\U0001F600 \"x[/color]"},
        {"markup and a line break", Red(), marks, OutputFormat::MiniMessage,
         u"<#ff0000>a\\<&\\\\[1<newline>b\U0001F600 \"x"},
        {"markup and a line break", Red(), marks, OutputFormat::Irc,
         u"\x03"
         u"04a<&\\[1\n\x03"
         u"04b\U0001F600 \"x\x0F"},
        {"markup and a line break", Red(), marks, OutputFormat::Ansi,
         u"\x1B[38;2;255;0;0ma<&\\[1\nb\U0001F600 \"x\x1B[0m"},
        {"a lone LF", Red(), u"a\nb", OutputFormat::Html, u"<FONT COLOR=FF0000>a\nb"},
        {"a lone LF", Red(), u"a\nb", OutputFormat::Css, u"<span style=\"color:#ff0000\">a<br>b</span>"},
        {"a lone LF", Red(), u"a\nb", OutputFormat::MiniMessage, u"<#ff0000>a<newline>b"},
        {"a lone CR is kept", Red(), u"a\rb", OutputFormat::BbCode, u"[color=#FF0000]a\rb[/color]"},
        {"digits after the colours", rb, u"12", OutputFormat::Irc,
         u"\x03"
         u"381\x03"
         u"602\x0F"},
        {"a comma and a digit after a colour", Red(), u",5", OutputFormat::Irc,
         u"\x03"
         u"04\x02\x02,5\x0F"},
        {"a comma later needs nothing", Red(), u"a,5", OutputFormat::Irc,
         u"\x03"
         u"04a,5\x0F"},
        {"each IRC line starts with its colour", Red(), u"ab\r\n cd\nef", OutputFormat::Irc,
         u"\x03"
         u"04ab\n \x03"
         u"04cd\n\x03"
         u"04ef\x0F"},
        {"emoji", rb, u"a\U0001F600b", OutputFormat::Css,
         u"<span style=\"color:#c00040\">a</span><span style=\"color:#800080\">\U0001F600</span>"
         u"<span style=\"color:#0000ff\">b</span>"},
        {"emoji", rb, u"a\U0001F600b", OutputFormat::BbCode,
         u"[color=#C00040]a[/color][color=#800080]\U0001F600[/color][color=#0000FF]b[/color]"},
        {"emoji", rb, u"a\U0001F600b", OutputFormat::MiniMessage, u"<#c00040>a<#800080>\U0001F600<#0000ff>b"},
        {"emoji", rb, u"a\U0001F600b", OutputFormat::Irc,
         u"\x03"
         u"51a\x03"
         u"38\U0001F600\x03"
         u"60b\x0F"},
        {"emoji", rb, u"a\U0001F600b", OutputFormat::Ansi,
         u"\x1B[38;2;192;0;64ma\x1B[38;2;128;0;128m\U0001F600\x1B[38;2;0;0;255mb\x1B[0m"},
        {"nothing to colour", Red(), u"  \r\n", OutputFormat::Css, u"  <br>"},
        {"nothing to colour", Red(), u"", OutputFormat::Irc, u""},
        {"nothing to colour", Red(), u" ", OutputFormat::Ansi, u" "},
    };
    for (const Literal& c : cases)
        EXPECT_EQ(FadeText(c.text, c.settings, c.settings, c.format), c.expected)
            << c.name << " (" << FormatName(c.format) << ")";
}

TEST(OutputFormats, TheLengthLimitIsTheColoursAlone)
{
    FakeSettings s = Red();
    s.count = 6;
    const std::u16string atLimit(static_cast<std::size_t>(MaxTextLength(6)), u'<');
    for (const OutputFormatName& f : kOutputFormats) {
        EXPECT_NO_THROW((void)FadeText(atLimit, s, s, f.format)) << f.name;
        EXPECT_THROW((void)FadeText(atLimit + u'<', s, s, f.format), TextTooLongError) << f.name;
    }
}

TEST(OutputFormats, NamesAndPalette)
{
    for (const OutputFormatName& f : kOutputFormats) {
        EXPECT_EQ(FormatNamed(f.name), f.format);
        EXPECT_EQ(FormatName(f.format), f.name);
    }
    EXPECT_EQ(FormatNamed("HTML"), std::nullopt);
    EXPECT_EQ(IrcColourRgb(0), 0xFFFFFFU);
    EXPECT_EQ(IrcColourRgb(15), 0xD2D2D2U);
    EXPECT_EQ(IrcColourRgb(16), 0x470000U);
    EXPECT_EQ(IrcColourRgb(98), 0xFFFFFFU);
    EXPECT_THROW((void)IrcColourRgb(99), std::out_of_range);
    EXPECT_EQ(NearestIrcColour(0xFF0000), 4);  // also 52: the standard colour wins the tie
    EXPECT_EQ(NearestIrcColour(0x000000), 1);  // also 88
    EXPECT_EQ(NearestIrcColour(0x0000FF), 60); // 12 is 0000FC
    EXPECT_EQ(NearestIrcColour(0x800080), 38); // 740074
}

} // namespace
