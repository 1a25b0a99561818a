#include "engine/FadeText.h"

#include "engine/FadeCodes.h"
#include "engine/FontTags.h"
#include "engine/TaggedText.h"

#include <algorithm>
#include <string>
#include <vector>

namespace modOmbrix {
namespace {

constexpr std::int32_t kMaxPositions = 32766; // the counter must still step one past the last

constexpr std::u16string_view kFinalTag = u"</FONT> ";

std::string ColoursWord(std::int32_t n) { return n == 1 ? "colour" : "colours"; }

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

std::u16string FadeText(std::u16string_view text, const ColourTable& colours, const TagOptions& tags)
{
    return WriteFadedHtml(text, FindFontTags(text, colours), tags);
}

std::u16string WriteFadedHtml(std::u16string_view text, const std::vector<CodeChange>& changes, const TagOptions& tags)
{
    // The output is sized once, for the case with a closing tag before every tag (the
    // option is read at each tag, as it is written), and trimmed at the end.
    std::u16string out;
    out.resize(text.size() + 2 * CountCarriageReturns(text) + changes.size() * kLongestTag + kFinalTag.size());
    char16_t* dst = WriteTaggedText(out.data(), text, changes, tags);
    const bool fontTags = tags.FontTagsValue() == 1;
    const bool finalTag = tags.FinalFontTagValue() == 1;
    if (fontTags || finalTag)
        dst = std::copy(kFinalTag.begin(), kFinalTag.end(), dst);
    out.resize(static_cast<std::size_t>(dst - out.data()));
    return out;
}

} // namespace modOmbrix
