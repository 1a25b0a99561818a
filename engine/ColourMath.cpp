#include "engine/ColourMath.h"

#include "engine/Checked16.h"

namespace modOmbrix {

std::u16string ByteToHex(std::uint8_t b)
{
    const auto q = static_cast<std::int16_t>(checked::RoundHalfEven(b / 16.0));
    const std::int16_t v = LevelToByte(q);
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    return {kDigits[v >> 4], kDigits[v & 15]};
}

} // namespace modOmbrix
