#include "engine/ColourMath.h"

#include "engine/Checked16.h"

namespace modOmbrix {

std::int16_t LevelToByte(std::int16_t level)
{
    std::int16_t v = checked::Mul(level, 16);
    return v == 256 ? std::int16_t{255} : v;
}

std::int16_t Interpolate(std::int16_t a, std::int16_t b, float t)
{
    const std::int16_t d = checked::Sub(b, a);
    // Double precision keeps d x t + a exact for the operands that occur.
    const double x = static_cast<double>(d) * static_cast<double>(t) + static_cast<double>(a);
    const double rounded = checked::RoundHalfEven(x);
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        throw OverflowError("16-bit overflow in interpolation");
    return static_cast<std::int16_t>(rounded);
}

std::u16string ByteToHex(std::uint8_t b)
{
    const auto q = static_cast<std::int16_t>(checked::RoundHalfEven(b / 16.0));
    const std::int16_t v = LevelToByte(q);
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    return {kDigits[v >> 4], kDigits[v & 15]};
}

} // namespace modOmbrix
