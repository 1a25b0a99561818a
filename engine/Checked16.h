// 16-bit signed arithmetic that reports overflow instead of wrapping around.
#pragma once

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

namespace modOmbrix {

// A 16-bit result that would not fit; the engine never wraps around.
class OverflowError : public std::overflow_error {
public:
    using std::overflow_error::overflow_error;
};

} // namespace modOmbrix

namespace modOmbrix::checked {

// Out of line and cold, so that the checks themselves stay small enough to inline.
[[noreturn, gnu::cold, gnu::noinline]] inline void ThrowOverflow(std::int32_t v, const char* what)
{
    throw OverflowError(std::string("16-bit overflow in ") + what + ": " + std::to_string(v));
}

constexpr std::int16_t Narrow(std::int32_t v, const char* what)
{
    if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max()) [[unlikely]]
        ThrowOverflow(v, what);
    return static_cast<std::int16_t>(v);
}

constexpr std::int16_t Sub(std::int16_t a, std::int16_t b) { return Narrow(std::int32_t{a} - b, "subtraction"); }
constexpr std::int16_t Mul(std::int16_t a, std::int16_t b) { return Narrow(std::int32_t{a} * b, "multiplication"); }

// Round to nearest, ties to even, for |x| < 2^51. Adding and removing 2^52 leaves the
// rounding to the FPU's default mode, which is exactly that, and is far cheaper than a
// library call on the per-character path.
inline double RoundHalfEven(double x)
{
    constexpr double kMagic = 6755399441055744.0; // 1.5 x 2^52
    return (x + kMagic) - kMagic;                 // not folded: without -ffast-math this is no identity
}

} // namespace modOmbrix::checked
