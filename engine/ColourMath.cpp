#include "engine/ColourMath.h"

namespace modOmbrix {

std::u16string ByteToHex(std::uint8_t b)
{
    const auto& digits = kStepDigits[GridStep(b)];
    return {digits[0], digits[1]};
}

} // namespace modOmbrix
