// Writing the message into the HTML: its characters, every CR LF pair as "<BR>", and a
// font tag before each character where the colour changes.
#pragma once

#include "engine/ColourTable.h"
#include "engine/FadeCodes.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace modOmbrix {

inline constexpr std::size_t kLongestTag = 26; // "</FONT><FONT COLOR=RRGGBB>"

// The number of CRs in the text: the output grows by at most two characters for each
// (a CR LF pair becomes "<BR>"), which is all the sizing of the output needs.
std::size_t CountCarriageReturns(std::u16string_view text);

// The ways WriteTaggedText can do its work; all write the same. The widest the processor
// runs is chosen once; tests ask for each by name, up to the best.
enum class TextWriter {
    Scalar, // one character at a time
    Sse2,   // the text between line breaks in blocks, the line breaks one by one
    Ssse3,  // the same, with runs of line breaks eight characters at a time by table
};

TextWriter BestTextWriter();

// Writes the text to dst with every CR LF pair as "<BR>" and, before the character at
// each change's position, "<FONT COLOR=" its code ">" (after "</FONT>" where the closing
// tags option, read at each tag, is on and the position is not the first); returns the
// end of what it wrote. The changes are in position order and none falls on a CR or LF
// (as FindFontTags gives them), so no pair is split between two runs. dst must have room
// for the text, two more characters for each CR, kLongestTag for each change and eight
// more: the writer stores in blocks, and what a block writes past the end of the output
// is written over or cut off.
char16_t* WriteTaggedText(char16_t* dst, std::u16string_view text, const std::vector<CodeChange>& changes,
                          const TagOptions& tags);
char16_t* WriteTaggedText(TextWriter writer, char16_t* dst, std::u16string_view text,
                          const std::vector<CodeChange>& changes, const TagOptions& tags);

} // namespace modOmbrix
