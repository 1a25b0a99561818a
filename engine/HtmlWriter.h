// The HTML writer: the message with a FONT tag before each colour change and every
// CR LF pair as <BR>. Internal to engine/; Fade.h's FadeText and WriteFadedText are
// what the rest of the program sees.
#pragma once

#include "engine/ColourTable.h"
#include "engine/Fade.h"

#include <string>
#include <string_view>
#include <vector>

namespace modOmbrix {

// Writes the text with "<FONT COLOR=" code ">" before the character at each change's
// position (after "</FONT>" where the closing-tags option, read at each tag, is on and
// the position is not the first), every CR LF pair as "<BR>", and "</FONT> " at the end
// where either tag option is on. The changes are in position order and none falls on a
// CR or LF (as FindColourChanges gives them).
std::u16string WriteHtml(std::u16string_view text, const std::vector<ColourChange>& changes, const TagOptions& tags);

} // namespace modOmbrix
