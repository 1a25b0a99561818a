// Where the colour of a faded text changes: the positions whose colour code differs
// from the position before, found without working out every position's code.
#pragma once

#include "engine/ColourTable.h"

#include <cstdint>
#include <vector>

namespace modOmbrix {

struct CodeChange {
    std::int16_t position; // 1-based character position
    std::uint32_t code;    // the three channels' grid steps 0..16, red in bits 16..23
};

// Every position of a text of `length` characters whose code differs from the one
// before, in order (position 1 always does), for a fade over segments + 1 colours.
// Reads the levels of those colours once. Throws OverflowError where the rules'
// 16-bit arithmetic would not fit.
std::vector<CodeChange> FindCodeChanges(const ColourTable& colours, std::int16_t length, std::int16_t segments);

} // namespace modOmbrix
