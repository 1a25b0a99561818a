// Interpolation and colour codes: the small numeric rules every colour of the output
// passes through (LevelToByte, public, is in ColourTable.h). All arithmetic is 16-bit
// signed and checked. Internal to engine/.
#pragma once

#include "engine/Checked16.h"
#include "engine/ColourTable.h"

#include <array>
#include <cstdint>
#include <string>

namespace modOmbrix {

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

// The 17-step grid every channel byte of the output is quantised to. A byte's step is
// b / 16 rounded half to even, 0..16, worked out in integers.
constexpr std::uint32_t GridStep(std::uint8_t b)
{
    const std::uint32_t whole = b >> 4U;
    const std::uint32_t sixteenths = b & 15U;
    return whole + ((sixteenths > 8 || (sixteenths == 8 && (whole & 1U) != 0)) ? 1U : 0U);
}

inline constexpr std::uint32_t kGridStepCount = 17;

// How each step is written: its byte (LevelToByte) as two uppercase hex digits, "00",
// "10", ..., "F0", "FF". A step maps to exactly one pair, so equal steps are equal codes.
inline constexpr std::array<std::array<char16_t, 2>, kGridStepCount> kStepDigits = [] {
    std::array<std::array<char16_t, 2>, kGridStepCount> digits{};
    constexpr char16_t kHex[] = u"0123456789ABCDEF";
    for (std::int16_t step = 0; step < static_cast<std::int16_t>(kGridStepCount); ++step) {
        const std::int16_t v = LevelToByte(step);
        digits[static_cast<std::size_t>(step)] = {kHex[v >> 4], kHex[v & 15]};
    }
    return digits;
}();

// Re-quantises a byte to the 17-step grid and writes it as two uppercase hex digits.
std::u16string ByteToHex(std::uint8_t b);

} // namespace modOmbrix
