// The colour search: where the colour code of a faded text changes, found without
// working out every position's code. Internal to engine/; FindColourChanges (Fade.h)
// is what the rest of the program sees.
#pragma once

#include "engine/ColourTable.h"
#include "engine/Fade.h"

#include <cstdint>
#include <vector>

namespace modOmbrix {

// The first position of a text of n characters whose segment (the whole part of its
// binary32 fraction i x s / n) is k or later, for 1 <= k <= s: k x n / s rounded up.
// The binary32 rounding (off by less than 2^-21 below 8) never carries a fraction
// across a whole number: i x s / n is a whole number or at least 1 / n from one.
std::int16_t FirstOfSegment(std::int32_t k, std::int16_t n, std::int16_t s);

// Every position of a text of `length` characters whose code differs from the one
// before, in order (position 1 always does), for a fade over segments + 1 colours,
// whatever character stands there. Reads the levels of those colours once. Throws
// OverflowError where the rules' 16-bit arithmetic would not fit.
std::vector<ColourChange> FindCodeChanges(const ColourTable& colours, std::int16_t length, std::int16_t segments);

} // namespace modOmbrix
