// The fade rules applied literally, position by position: every position's code, a tag
// wherever it differs from the position before, then the CR LF replacement. Slow and
// plain, the yardstick the engine's change search is checked against. It does its own
// arithmetic, as tests/cli/reference_fade.py does, and shares none with the engine:
// only the public view of the colour table (levels 0..16).
#pragma once

#include "engine/ColourTable.h"

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

namespace ombrix::test {

// Level to channel byte: level x 16, 256 written as 255.
inline int LiteralByte(int level) { return level * 16 == 256 ? 255 : level * 16; }

// a + (b - a) x t rounded half to even; exact in double for these operands.
inline int LiteralInterpolate(int a, int b, float t)
{
    return static_cast<int>(std::nearbyint(static_cast<double>(b - a) * static_cast<double>(t) + a));
}

// A byte as the two hex digits of its 17-step grid value: b / 16 rounded half to even.
inline std::u16string LiteralHex(int b)
{
    constexpr char16_t kHex[] = u"0123456789ABCDEF";
    const int v = LiteralByte(static_cast<int>(std::nearbyint(b / 16.0)));
    return {kHex[v >> 4], kHex[v & 15]};
}

inline std::u16string LiteralFade(std::u16string_view text, const modOmbrix::ColourTable& colours,
                                  const modOmbrix::TagOptions& tags)
{
    using namespace modOmbrix;
    const auto isSeparator = [](char16_t c) { return c == u' ' || c == u'\r' || c == u'\n'; };
    const auto n = static_cast<std::int32_t>(text.size());
    const std::int32_t segments = colours.ColourCount() - 1;
    int bytes[3][7] = {};
    for (int i = 0; i <= segments; ++i)
        for (int c = 0; c < 3; ++c)
            bytes[c][i] = LiteralByte(colours.Level(i, static_cast<Channel>(c)));
    std::vector<std::u16string> codes(static_cast<std::size_t>(n) + 1, std::u16string(6, u'\0'));
    for (std::int32_t i = 1; i <= n; ++i) {
        const auto q = static_cast<float>(static_cast<double>(i * segments) / static_cast<double>(n));
        const auto k = static_cast<int>(q);
        const float t = q - static_cast<float>(k);
        std::u16string code;
        for (int c = 0; c < 3; ++c)
            code += LiteralHex(LiteralInterpolate(bytes[c][k], bytes[c][k + 1], t));
        codes[static_cast<std::size_t>(i)] = code;
    }
    const bool fontTags = tags.FontTagsValue() == 1;
    std::u16string out;
    for (std::int32_t i = 1; i <= n; ++i) {
        const char16_t ch = text[static_cast<std::size_t>(i - 1)];
        const bool pairTail = ch >= 0xDC00 && ch <= 0xDFFF && i > 1 &&
                              text[static_cast<std::size_t>(i - 2)] >= 0xD800 &&
                              text[static_cast<std::size_t>(i - 2)] <= 0xDBFF;
        if (codes[static_cast<std::size_t>(i)] == codes[static_cast<std::size_t>(i - 1)] || isSeparator(ch) ||
            pairTail) {
            out += ch;
            continue;
        }
        if (fontTags && i > 1)
            out += u"</FONT>";
        out += u"<FONT COLOR=" + codes[static_cast<std::size_t>(i)] + u">" + ch;
    }
    for (std::size_t at = out.find(u"\r\n"); at != std::u16string::npos; at = out.find(u"\r\n", at + 4))
        out.replace(at, 2, u"<BR>");
    if (fontTags || tags.FinalFontTagValue() == 1)
        out += u"</FONT> ";
    return out;
}

} // namespace ombrix::test
