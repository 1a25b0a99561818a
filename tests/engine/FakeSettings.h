// A colour table and tag options for tests, which also records the order of reads.
#pragma once

#include "engine/ColourTable.h"

#include <array>
#include <string>
#include <vector>

namespace ombrix::test {

class FakeSettings final : public modOmbrix::ColourTable, public modOmbrix::TagOptions {
public:
    std::int32_t count = 2;
    std::array<std::array<std::int16_t, 3>, 6> levels{};
    std::int16_t fontTags = 0;
    std::int16_t finalTag = 0;
    mutable std::vector<std::string> reads;

    std::int32_t ColourCount() const override
    {
        reads.push_back("count");
        return count;
    }
    std::int16_t Level(int slot, modOmbrix::Channel c) const override
    {
        reads.push_back("RGB"[static_cast<int>(c)] + std::to_string(slot));
        return levels.at(static_cast<std::size_t>(slot)).at(static_cast<std::size_t>(c));
    }
    std::int16_t FontTagsValue() const override
    {
        reads.push_back("tags");
        return fontTags;
    }
    std::int16_t FinalFontTagValue() const override
    {
        reads.push_back("final");
        return finalTag;
    }

    static FakeSettings RedToBlue()
    {
        FakeSettings s;
        s.count = 2;
        s.levels[0] = {16, 0, 0};
        s.levels[1] = {0, 0, 16};
        return s;
    }
};

} // namespace ombrix::test
