// The design values of the colour table: what the tool starts with and what a missing
// settings file is recreated from.
#pragma once

#include <array>
#include <cstdint>

namespace modOmbrix {

inline constexpr std::int32_t kDefaultColourCount = 6;

// Red, green and blue level of each slot: red, orange, yellow, green, blue, purple.
inline constexpr std::array<std::array<std::int16_t, 3>, 6> kDefaultLevels{{
    {16, 0, 0},
    {16, 8, 0},
    {15, 15, 0},
    {0, 15, 0},
    {0, 0, 16},
    {8, 0, 8},
}};

} // namespace modOmbrix
