// The fade engine's one public header: everything the windows, the command and the
// tests outside engine/ use of it. Pure C++, no Qt.
//
// A message fades across the colours of a ColourTable (ColourTable.h, which the caller
// implements over its settings). The engine offers:
//  - FadeText: the message as HTML, a <FONT COLOR=RRGGBB> tag before each character
//    whose colour differs from the one before it, CR LF as <BR>;
//  - FindColourChanges: the same colour changes as positions and codes, for a caller
//    that draws them itself (the message box's live colours) or writes them again;
//  - WriteFadedHtml: the HTML from changes already found, so a caller that needs both
//    finds them once.
// The other headers of engine/ are its inner workings; only ColourTable.h and
// DefaultSettings.h (the design's colour table) are public besides this one.
#pragma once

#include "engine/ColourTable.h"

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

// Longest text the engine accepts with the given number of colours (1..6).
std::int32_t MaxTextLength(std::int32_t colours);

// Where a faded text changes colour, and to what.
struct ColourChange {
    std::int16_t position; // 1-based, in UTF-16 code units of the text
    std::uint32_t code;    // the three channels' grid steps 0..16, red in bits 16..23 (CodeToRgb)
};

// The colour changes of the text that get a tag, in order: every position whose colour
// code differs from the one before it, except one that falls on a separator (space, CR,
// LF) or on the second half of a surrogate pair. Each character shows the colour of the
// last change at or before it; one before the first change has none. Reads the number
// of colours and the used slots' levels once. Throws TextTooLongError beyond
// MaxTextLength, OverflowError where a level outside 0..16 breaks the rules' 16-bit
// arithmetic.
std::vector<ColourChange> FindColourChanges(std::u16string_view text, const ColourTable& colours);

// A change's code as the 0xRRGGBB bytes its six hex digits stand for.
std::uint32_t CodeToRgb(std::uint32_t code);

// The message as faded HTML. Reads the colour count, the levels and the tag options
// from the two views at call time and keeps nothing between calls. The closing-tags
// option is read at each tag, as it is written, and both options once at the end.
std::u16string FadeText(std::u16string_view text, const ColourTable& colours, const TagOptions& tags);

// FadeText's second half: the HTML of the text with the changes FindColourChanges gave
// for it.
std::u16string WriteFadedHtml(std::u16string_view text, const std::vector<ColourChange>& changes,
                              const TagOptions& tags);

} // namespace modOmbrix
