// The faded HTML generator: one FONT tag wherever a character's colour code differs
// from the position before it, line breaks as <BR>, closing tags by the tag options.
#pragma once

#include "engine/ColourTable.h"
#include "engine/FadeCodes.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace modOmbrix {

// Positions are 16-bit: a text is refused when it is longer than 32766 code units or
// when its length times (colours - 1) exceeds 32767.
class TextTooLongError : public std::length_error {
public:
    TextTooLongError(std::int32_t colours, std::int32_t limit);
    std::int32_t colours() const noexcept { return colours_; }
    std::int32_t limit() const noexcept { return limit_; }

private:
    std::int32_t colours_;
    std::int32_t limit_;
};

// Longest text the generator accepts with the given number of colours (1..6).
std::int32_t MaxTextLength(std::int32_t colours);

// Reads the colour count, the levels and the tag options from the two views at call
// time and keeps nothing between calls.
std::u16string FadeText(std::u16string_view text, const ColourTable& colours, const TagOptions& tags);

// FadeText's second half, for a caller that also needs the tags (the message box draws
// its colours from them): the HTML of the text with the tags FindFontTags gave for it.
std::u16string WriteFadedHtml(std::u16string_view text, const std::vector<CodeChange>& changes, const TagOptions& tags);

} // namespace modOmbrix
