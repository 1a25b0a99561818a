#include "engine/FormatWriters.h"

#include <array>
#include <cstdint>
#include <limits>

namespace modOmbrix {
namespace {

// The extended mIRC palette: 00-15 the sixteen colours every client knows, 16-98 the
// extended ones (mIRC 7.51 and later, WeeChat, Irssi, HexChat and others), as 0xRRGGBB.
constexpr std::array<std::uint32_t, kIrcColourCount> kIrcPalette = {
    0xFFFFFF, 0x000000, 0x00007F, 0x009300, 0xFF0000, 0x7F0000, 0x9C009C, 0xFC7F00, // 00-07
    0xFFFF00, 0x00FC00, 0x009393, 0x00FFFF, 0x0000FC, 0xFF00FF, 0x7F7F7F, 0xD2D2D2, // 08-15
    0x470000, 0x472100, 0x474700, 0x324700, 0x004700, 0x00472C, 0x004747, 0x002747, // 16-23
    0x000047, 0x2E0047, 0x470047, 0x47002A, 0x740000, 0x743A00, 0x747400, 0x517400, // 24-31
    0x007400, 0x007449, 0x007474, 0x004074, 0x000074, 0x4B0074, 0x740074, 0x740045, // 32-39
    0xB50000, 0xB56300, 0xB5B500, 0x7DB500, 0x00B500, 0x00B571, 0x00B5B5, 0x0063B5, // 40-47
    0x0000B5, 0x7500B5, 0xB500B5, 0xB5006B, 0xFF0000, 0xFF8C00, 0xFFFF00, 0xB2FF00, // 48-55
    0x00FF00, 0x00FFA0, 0x00FFFF, 0x008CFF, 0x0000FF, 0xA500FF, 0xFF00FF, 0xFF0098, // 56-63
    0xFF5959, 0xFFB459, 0xFFFF71, 0xCFFF60, 0x6FFF6F, 0x65FFC9, 0x6DFFFF, 0x59B4FF, // 64-71
    0x5959FF, 0xC459FF, 0xFF66FF, 0xFF59BC, 0xFF9C9C, 0xFFD39C, 0xFFFF9C, 0xE2FF9C, // 72-79
    0x9CFF9C, 0x9CFFDB, 0x9CFFFF, 0x9CD3FF, 0x9C9CFF, 0xDC9CFF, 0xFF9CFF, 0xFF94D3, // 80-87
    0x000000, 0x131313, 0x282828, 0x363636, 0x4D4D4D, 0x656565, 0x818181, 0x9F9F9F, // 88-95
    0xBCBCBC, 0xE2E2E2, 0xFFFFFF,                                                   // 96-98
};

bool IsSeparator(char16_t c) { return c == u' ' || c == u'\r' || c == u'\n'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

void AppendHex(std::u16string& out, std::uint32_t rgb, const char16_t (&digits)[17])
{
    for (int shift = 20; shift >= 0; shift -= 4)
        out += digits[(rgb >> static_cast<unsigned>(shift)) & 15U];
}

constexpr char16_t kLowerHex[17] = u"0123456789abcdef";
constexpr char16_t kUpperHex[17] = u"0123456789ABCDEF";

void AppendDecimal(std::u16string& out, std::uint32_t byte)
{
    if (byte >= 100)
        out += static_cast<char16_t>(u'0' + byte / 100);
    if (byte >= 10)
        out += static_cast<char16_t>(u'0' + byte / 10 % 10);
    out += static_cast<char16_t>(u'0' + byte % 10);
}

// Walks the text for a format: format.Change(out, rgb, rest) before the character at each
// change (rest is the text from that character on), format.Unchanged(out, rest) before
// every other character that is no separator, format.LineBreak(out) for each CR LF pair
// and each lone LF, format.Character(out, c) for every other character, and
// format.End(out) after the last.
template <typename Format>
std::u16string Write(std::u16string_view text, const std::vector<ColourChange>& changes, Format format)
{
    std::u16string out;
    out.reserve(text.size() + changes.size() * Format::kLongestCode + 8);
    auto change = changes.begin();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (change != changes.end() && static_cast<std::size_t>(change->position) == i + 1)
            format.Change(out, CodeToRgb((change++)->code), text.substr(i));
        else if (!IsSeparator(c))
            format.Unchanged(out, text.substr(i));
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            format.LineBreak(out);
            ++i;
        } else if (c == u'\n') {
            format.LineBreak(out);
        } else {
            format.Character(out, c);
        }
    }
    format.End(out);
    return out;
}

// <span style="color:#rrggbb"> ... </span>, the text escaped for HTML, <br>.
struct Css {
    static constexpr std::size_t kLongestCode = 35; // </span><span style="color:#rrggbb">
    bool open = false;

    void Change(std::u16string& out, std::uint32_t rgb, std::u16string_view)
    {
        if (open)
            out += u"</span>";
        out += u"<span style=\"color:#";
        AppendHex(out, rgb, kLowerHex);
        out += u"\">";
        open = true;
    }
    void Unchanged(std::u16string&, std::u16string_view) {}
    void LineBreak(std::u16string& out) { out += u"<br>"; }
    void Character(std::u16string& out, char16_t c)
    {
        switch (c) {
        case u'<': out += u"&lt;"; break;
        case u'>': out += u"&gt;"; break;
        case u'&': out += u"&amp;"; break;
        case u'"': out += u"&quot;"; break;
        default: out += c;
        }
    }
    void End(std::u16string& out)
    {
        if (open)
            out += u"</span>";
    }
};

// [color=#RRGGBB] ... [/color], the text as it is, LF.
struct BbCode {
    static constexpr std::size_t kLongestCode = 23; // [/color][color=#RRGGBB]
    bool open = false;

    void Change(std::u16string& out, std::uint32_t rgb, std::u16string_view)
    {
        if (open)
            out += u"[/color]";
        out += u"[color=#";
        AppendHex(out, rgb, kUpperHex);
        out += u']';
        open = true;
    }
    void Unchanged(std::u16string&, std::u16string_view) {}
    void LineBreak(std::u16string& out) { out += u'\n'; }
    void Character(std::u16string& out, char16_t c) { out += c; }
    void End(std::u16string& out)
    {
        if (open)
            out += u"[/color]";
    }
};

// <#rrggbb>, nothing closed, < and \ escaped with a \, <newline>.
struct MiniMessage {
    static constexpr std::size_t kLongestCode = 9; // <#rrggbb>
    void Change(std::u16string& out, std::uint32_t rgb, std::u16string_view)
    {
        out += u"<#";
        AppendHex(out, rgb, kLowerHex);
        out += u'>';
    }
    void Unchanged(std::u16string&, std::u16string_view) {}
    void LineBreak(std::u16string& out) { out += u"<newline>"; }
    void Character(std::u16string& out, char16_t c)
    {
        if (c == u'<' || c == u'\\')
            out += u'\\';
        out += c;
    }
    void End(std::u16string&) {}
};

// Ctrl+C and two digits where the palette colour changes (and again at the start of
// each line), Ctrl+O at the end, LF.
struct Irc {
    static constexpr std::size_t kLongestCode = 5; // ^C NN ^B ^B
    int current = -1;                              // the palette colour written last, -1 before the first
    bool lineStart = false;                        // a line break since the last character that is no separator

    void Put(std::u16string& out, int colour, std::u16string_view rest)
    {
        out += u'\x03';
        out += static_cast<char16_t>(u'0' + colour / 10);
        out += static_cast<char16_t>(u'0' + colour % 10);
        // Two digits are always read as the colour, so a digit after them is text; but a
        // comma and a digit would be read as a background colour. Two bold switches in a
        // row (which undo each other) end the code first.
        if (rest.size() >= 2 && rest[0] == u',' && IsDigit(rest[1]))
            out += u"\x02\x02";
        current = colour;
        lineStart = false;
    }
    void Change(std::u16string& out, std::uint32_t rgb, std::u16string_view rest)
    {
        const int colour = NearestIrcColour(rgb);
        if (colour != current || lineStart)
            Put(out, colour, rest);
        lineStart = false;
    }
    void Unchanged(std::u16string& out, std::u16string_view rest)
    {
        if (lineStart && current >= 0)
            Put(out, current, rest);
        lineStart = false;
    }
    void LineBreak(std::u16string& out)
    {
        out += u'\n';
        lineStart = true;
    }
    void Character(std::u16string& out, char16_t c) { out += c; }
    void End(std::u16string& out)
    {
        if (current >= 0)
            out += u'\x0F';
    }
};

// ESC[38;2;R;G;Bm (24-bit colour), ESC[0m at the end, LF.
struct Ansi {
    static constexpr std::size_t kLongestCode = 19; // ESC[38;2;255;255;255m
    bool any = false;

    void Change(std::u16string& out, std::uint32_t rgb, std::u16string_view)
    {
        out += u"\x1B[38;2;";
        AppendDecimal(out, rgb >> 16 & 0xFFU);
        out += u';';
        AppendDecimal(out, rgb >> 8 & 0xFFU);
        out += u';';
        AppendDecimal(out, rgb & 0xFFU);
        out += u'm';
        any = true;
    }
    void Unchanged(std::u16string&, std::u16string_view) {}
    void LineBreak(std::u16string& out) { out += u'\n'; }
    void Character(std::u16string& out, char16_t c) { out += c; }
    void End(std::u16string& out)
    {
        if (any)
            out += u"\x1B[0m";
    }
};

} // namespace

std::uint32_t IrcColourRgb(int index) { return kIrcPalette.at(static_cast<std::size_t>(index)); }

int NearestIrcColour(std::uint32_t rgb)
{
    const auto channel = [](std::uint32_t colour, unsigned shift) {
        return static_cast<std::int32_t>(colour >> shift & 0xFFU);
    };
    int nearest = 0;
    std::int32_t best = std::numeric_limits<std::int32_t>::max();
    for (int i = 0; i < kIrcColourCount; ++i) {
        std::int32_t distance = 0;
        for (const unsigned shift : {16U, 8U, 0U}) {
            const std::int32_t d = channel(rgb, shift) - channel(kIrcPalette[static_cast<std::size_t>(i)], shift);
            distance += d * d;
        }
        if (distance < best) { // the lower number wins a tie: the standard sixteen first
            best = distance;
            nearest = i;
        }
    }
    return nearest;
}

std::u16string WriteCss(std::u16string_view text, const std::vector<ColourChange>& changes)
{
    return Write(text, changes, Css{});
}

std::u16string WriteBbCode(std::u16string_view text, const std::vector<ColourChange>& changes)
{
    return Write(text, changes, BbCode{});
}

std::u16string WriteMiniMessage(std::u16string_view text, const std::vector<ColourChange>& changes)
{
    return Write(text, changes, MiniMessage{});
}

std::u16string WriteIrc(std::u16string_view text, const std::vector<ColourChange>& changes)
{
    return Write(text, changes, Irc{});
}

std::u16string WriteAnsi(std::u16string_view text, const std::vector<ColourChange>& changes)
{
    return Write(text, changes, Ansi{});
}

} // namespace modOmbrix
