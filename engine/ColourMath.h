// Channel levels, interpolation and colour codes: the small numeric rules every colour
// of the output passes through. All arithmetic is 16-bit signed and checked.
#pragma once

#include "engine/Checked16.h"

#include <cstdint>
#include <string>

namespace modOmbrix {

// Level 0..16 to channel byte: level x 16, with 256 replaced by 255.
constexpr std::int16_t LevelToByte(std::int16_t level)
{
    const std::int16_t v = checked::Mul(level, 16);
    return v == 256 ? std::int16_t{255} : v;
}

[[noreturn, gnu::cold, gnu::noinline]] inline void ThrowInterpolationOverflow()
{
    throw OverflowError("16-bit overflow in interpolation");
}

// a + (b - a) x t rounded to the nearest integer, ties to even. t is used as the
// binary32 value it holds, not as the ratio it approximates. Inline: the generator
// calls it for every colour it looks at.
inline std::int16_t Interpolate(std::int16_t a, std::int16_t b, float t)
{
    const std::int16_t d = checked::Sub(b, a);
    // Double precision keeps d x t + a exact for the operands that occur.
    const double x = static_cast<double>(d) * static_cast<double>(t) + static_cast<double>(a);
    const double rounded = checked::RoundHalfEven(x);
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) [[unlikely]]
        ThrowInterpolationOverflow();
    return static_cast<std::int16_t>(rounded);
}

// Re-quantises a byte to the 17-step grid and writes it as two uppercase hex digits.
std::u16string ByteToHex(std::uint8_t b);

} // namespace modOmbrix
