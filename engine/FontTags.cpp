#include "engine/FontTags.h"

#include "engine/ColourMath.h"
#include "engine/FadeText.h"

namespace modOmbrix {
namespace {

bool IsSeparator(char16_t c) { return c == u' ' || c == u'\r' || c == u'\n'; }
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

} // namespace

std::vector<CodeChange> FindFontTags(std::u16string_view text, const ColourTable& colours)
{
    const std::int32_t count = colours.ColourCount();
    const std::int32_t limit = MaxTextLength(count);
    if (text.size() > static_cast<std::size_t>(limit))
        throw TextTooLongError(count, limit);
    std::vector<CodeChange> tags =
        FindCodeChanges(colours, static_cast<std::int16_t>(text.size()), static_cast<std::int16_t>(count - 1));
    // A separator takes no tag, and the tail of a surrogate pair is written like one, so
    // a tag never cuts a character outside the BMP in two (nor a CR LF pair).
    std::erase_if(tags, [&](const CodeChange& change) {
        const auto at = static_cast<std::size_t>(change.position - 1);
        const bool pairTail = at > 0 && IsLowSurrogate(text[at]) && IsHighSurrogate(text[at - 1]);
        return IsSeparator(text[at]) || pairTail;
    });
    return tags;
}

std::uint32_t CodeToRgb(std::uint32_t code)
{
    const auto byteOf = [&](unsigned shift) {
        return static_cast<std::uint32_t>(LevelToByte(static_cast<std::int16_t>((code >> shift) & 0xFFU)));
    };
    return byteOf(16) << 16 | byteOf(8) << 8 | byteOf(0);
}

} // namespace modOmbrix
