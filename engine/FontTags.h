// The FONT tags of a faded text: where FadeText writes one and with which colour. The
// message box's live colours are drawn from the same list, so they show what the HTML
// will show.
#pragma once

#include "engine/ColourTable.h"
#include "engine/FadeCodes.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace modOmbrix {

// The code changes of the text that get a tag, in order: every change except one that
// falls on a separator (space, CR, LF) or on the second half of a surrogate pair. Each
// character shows the colour of the last tag at or before it; one before the first tag
// has none. Reads the number of colours and the used slots' levels once. Throws
// TextTooLongError beyond the generator's limits.
std::vector<CodeChange> FindFontTags(std::u16string_view text, const ColourTable& colours);

// A code of CodeChange (grid steps) as the 0xRRGGBB bytes its six hex digits stand for.
std::uint32_t CodeToRgb(std::uint32_t code);

} // namespace modOmbrix
