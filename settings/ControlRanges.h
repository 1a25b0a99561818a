// The values the settings controls accept. A control given anything else throws
// std::out_of_range, which is what makes the settings loader recover; every
// implementation of SettingsControls checks with these so they all agree.
#pragma once

#include "engine/ColourTable.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace modOmbrix {

inline constexpr int kSendOptionCount = 2;
inline constexpr std::int32_t kMinColourCount = 1;
inline constexpr std::int32_t kMaxColourCount = kSlotCount;
inline constexpr std::int16_t kMaxCheckValue = 2; // 0 off, 1 on, 2 grayed

inline void CheckSendOption(int index)
{
    if (index < 0 || index >= kSendOptionCount)
        throw std::out_of_range("no send-mode button " + std::to_string(index));
}

inline void CheckColourCount(std::int32_t count)
{
    if (count < kMinColourCount || count > kMaxColourCount)
        throw std::out_of_range("number of colours " + std::to_string(count) + " is outside 1..6");
}

inline void CheckLevel(std::int16_t level)
{
    if (level < kMinLevel || level > kMaxLevel)
        throw std::out_of_range("level " + std::to_string(level) + " is outside 0..16");
}

inline void CheckCheckValue(std::int16_t value)
{
    if (value < 0 || value > kMaxCheckValue)
        throw std::out_of_range("check box value " + std::to_string(value) + " is outside 0..2");
}

} // namespace modOmbrix
