// Channel levels, interpolation and colour codes: the small numeric rules every colour
// of the output passes through. All arithmetic is 16-bit signed and checked.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace modOmbrix {

// A 16-bit result that would not fit; the engine never wraps around.
class OverflowError : public std::overflow_error {
public:
    using std::overflow_error::overflow_error;
};

// Level 0..16 to channel byte: level x 16, with 256 replaced by 255.
std::int16_t LevelToByte(std::int16_t level);

// a + (b - a) x t rounded to the nearest integer, ties to even. t is used as the
// binary32 value it holds, not as the ratio it approximates.
std::int16_t Interpolate(std::int16_t a, std::int16_t b, float t);

// Re-quantises a byte to the 17-step grid and writes it as two uppercase hex digits.
std::u16string ByteToHex(std::uint8_t b);

} // namespace modOmbrix
