// Read-only views of the settings the fade engine needs. The colour dialog and the
// options dialog implement them over their controls, so every call of FadeText sees
// the values as they stand at that moment. Public, with Fade.h.
#pragma once

#include "engine/Checked16.h"

#include <cstdint>

namespace modOmbrix {

enum class Channel : int { Red = 0, Green = 1, Blue = 2 };

inline constexpr int kSlotCount = 6;
inline constexpr int kMinLevel = 0;
inline constexpr int kMaxLevel = 16;

// The channel byte a level 0..16 stands for: level x 16, with 256 replaced by 255.
// Checked: a level far outside the range throws OverflowError instead of wrapping.
constexpr std::int16_t LevelToByte(std::int16_t level)
{
    const std::int16_t v = checked::Mul(level, 16);
    return v == 256 ? std::int16_t{255} : v;
}

class ColourTable {
public:
    virtual ~ColourTable() = default;
    // Number of colours taking part in the fade (the slider's value, 1..6).
    virtual std::int32_t ColourCount() const = 0;
    // Channel level 0..16 of slot 0..5.
    virtual std::int16_t Level(int slot, Channel channel) const = 0;
};

class TagOptions {
public:
    virtual ~TagOptions() = default;
    // Check-box values 0, 1 or 2; an option is on only when its value is exactly 1.
    virtual std::int16_t FontTagsValue() const = 0;
    virtual std::int16_t FinalFontTagValue() const = 0;
};

} // namespace modOmbrix
