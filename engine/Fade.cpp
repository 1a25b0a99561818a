#include "engine/Fade.h"

#include "engine/ColourSearch.h"
#include "engine/FormatWriters.h"
#include "engine/HtmlWriter.h"

#include <algorithm>
#include <string>
#include <vector>

namespace modOmbrix {
namespace {

constexpr std::int32_t kMaxPositions = 32766; // the counter must still step one past the last

std::string ColoursWord(std::int32_t n) { return n == 1 ? "colour" : "colours"; }

bool IsSeparator(char16_t c) { return c == u' ' || c == u'\r' || c == u'\n'; }
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

} // namespace

TextTooLongError::TextTooLongError(std::int32_t colours, std::int32_t limit)
    : std::length_error("text too long for " + std::to_string(colours) + " " + ColoursWord(colours) + ": at most " +
                        std::to_string(limit) + " characters"),
      colours_(colours), limit_(limit)
{
}

std::int32_t MaxTextLength(std::int32_t colours)
{
    if (colours < 1 || colours > kSlotCount)
        throw std::out_of_range("number of colours outside 1..6: " + std::to_string(colours));
    const std::int32_t segments = colours - 1;
    return segments == 0 ? kMaxPositions : std::min(kMaxPositions, 32767 / segments);
}

std::vector<ColourChange> FindColourChanges(std::u16string_view text, const ColourTable& colours)
{
    const std::int32_t count = colours.ColourCount();
    const std::int32_t limit = MaxTextLength(count);
    if (text.size() > static_cast<std::size_t>(limit))
        throw TextTooLongError(count, limit);
    std::vector<ColourChange> changes =
        FindCodeChanges(colours, static_cast<std::int16_t>(text.size()), static_cast<std::int16_t>(count - 1));
    // A separator takes no tag, and the tail of a surrogate pair is written like one, so
    // a tag never cuts a character outside the BMP in two (nor a CR LF pair).
    std::erase_if(changes, [&](const ColourChange& change) {
        const auto at = static_cast<std::size_t>(change.position - 1);
        const bool pairTail = at > 0 && IsLowSurrogate(text[at]) && IsHighSurrogate(text[at - 1]);
        return IsSeparator(text[at]) || pairTail;
    });
    return changes;
}

std::uint32_t CodeToRgb(std::uint32_t code)
{
    const auto byteOf = [&](unsigned shift) {
        return static_cast<std::uint32_t>(LevelToByte(static_cast<std::int16_t>((code >> shift) & 0xFFU)));
    };
    return byteOf(16) << 16 | byteOf(8) << 8 | byteOf(0);
}

std::u16string FadeText(std::u16string_view text, const ColourTable& colours, const TagOptions& tags,
                        OutputFormat format)
{
    return WriteFadedText(text, FindColourChanges(text, colours), tags, format);
}

std::u16string WriteFadedText(std::u16string_view text, const std::vector<ColourChange>& changes,
                              const TagOptions& tags, OutputFormat format)
{
    switch (format) {
    case OutputFormat::Html: break;
    case OutputFormat::Css: return WriteCss(text, changes);
    case OutputFormat::BbCode: return WriteBbCode(text, changes);
    case OutputFormat::MiniMessage: return WriteMiniMessage(text, changes);
    case OutputFormat::Irc: return WriteIrc(text, changes);
    case OutputFormat::Ansi: return WriteAnsi(text, changes);
    }
    return WriteHtml(text, changes, tags);
}

} // namespace modOmbrix
