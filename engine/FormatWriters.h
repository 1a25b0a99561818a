// The writers of the formats other than HTML (HtmlWriter.h): CSS, BBCode, MiniMessage,
// IRC and ANSI, each from the text and the colour changes FindColourChanges gave for
// it. Internal to engine/; Fade.h's FadeText and WriteFadedText are what the rest of the
// program sees.
#pragma once

#include "engine/Fade.h"

#include <string>
#include <string_view>
#include <vector>

namespace modOmbrix {

// Each writes a tag (or code) before the character at each change's position and
// nowhere else, except that IRC starts each line again with the colour it had: an IRC
// client sends every line as a message of its own, with the colours reset. A line break
// is a CR LF pair or a lone LF; a lone CR is copied as it is.
std::u16string WriteCss(std::u16string_view text, const std::vector<ColourChange>& changes);
std::u16string WriteBbCode(std::u16string_view text, const std::vector<ColourChange>& changes);
std::u16string WriteMiniMessage(std::u16string_view text, const std::vector<ColourChange>& changes);
std::u16string WriteIrc(std::u16string_view text, const std::vector<ColourChange>& changes);
std::u16string WriteAnsi(std::u16string_view text, const std::vector<ColourChange>& changes);

} // namespace modOmbrix
