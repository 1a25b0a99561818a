// Settings controls for tests: they hold the design values, check values as the real
// controls do, run the same handlers, and record every assignment and handler run.
#pragma once

#include "engine/DefaultSettings.h"
#include "settings/ControlRanges.h"
#include "settings/SettingsControls.h"

#include <array>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace ombrix::test {

// What the controls hold.
struct ControlState {
    std::array<bool, 2> send{true, false};
    std::int32_t count = modOmbrix::kDefaultColourCount;
    std::array<std::array<std::int16_t, 3>, 6> levels = modOmbrix::kDefaultLevels;
    std::u16string caption = u"3";
    std::array<std::int16_t, 3> checks{0, 0, 1};
    bool finalTagEnabled = true;

    bool operator==(const ControlState&) const = default;
};

inline void PrintTo(const ControlState& s, std::ostream* os)
{
    *os << "send " << s.send[0] << s.send[1] << ", count " << s.count << ", levels";
    for (const auto& slot : s.levels)
        *os << ' ' << slot[0] << '/' << slot[1] << '/' << slot[2];
    *os << ", caption \"" << std::string(s.caption.begin(), s.caption.end()) << "\", checks " << s.checks[0]
        << s.checks[1] << s.checks[2] << ", final tag " << (s.finalTagEnabled ? "enabled" : "disabled");
}

class FakeControls final : public modOmbrix::SettingsControls {
public:
    ControlState state;
    std::vector<std::string> events;
    // A broken scroll bar: every assignment to this slot's blue level is rejected.
    std::optional<int> brokenSlot;

    FakeControls() = default;
    explicit FakeControls(ControlState s) : state(std::move(s)) {}

    bool IsSendOptionSelected(int index) const override { return state.send.at(static_cast<std::size_t>(index)); }
    void SelectSendOption(int index) override
    {
        modOmbrix::CheckSendOption(index);
        state.send = {index == 0, index == 1};
        events.push_back("send " + std::to_string(index));
    }

    std::int32_t ColourCount() const override { return state.count; }
    void SetColourCount(std::int32_t count) override
    {
        modOmbrix::CheckColourCount(count);
        state.count = count;
        events.push_back("count " + std::to_string(count));
    }
    void ApplyColourCount() override { events.push_back("apply count"); }

    std::int16_t Level(int slot, modOmbrix::Channel channel) const override
    {
        return state.levels.at(static_cast<std::size_t>(slot)).at(static_cast<std::size_t>(channel));
    }
    void SetLevel(int slot, modOmbrix::Channel channel, std::int16_t level) override
    {
        if (brokenSlot == slot && channel == modOmbrix::Channel::Blue)
            throw std::out_of_range("broken scroll bar");
        modOmbrix::CheckLevel(level);
        events.push_back(std::string(1, "RGB"[static_cast<int>(channel)]) + std::to_string(slot) + " " +
                         std::to_string(level));
        std::int16_t& held = state.levels.at(static_cast<std::size_t>(slot)).at(static_cast<std::size_t>(channel));
        if (held != level) {
            held = level;
            events.push_back("preview " + std::to_string(slot));
        }
    }

    std::u16string InOutCaption() const override { return state.caption; }
    void PressInOut() override
    {
        state.caption = state.caption == u"4" ? u"3" : u"4";
        events.push_back("press");
    }

    std::int16_t CheckValue(modOmbrix::CheckBox box) const override
    {
        return state.checks.at(static_cast<std::size_t>(box));
    }
    void SetCheckValue(modOmbrix::CheckBox box, std::int16_t value) override
    {
        modOmbrix::CheckCheckValue(value);
        std::int16_t& held = state.checks.at(static_cast<std::size_t>(box));
        events.push_back("check " + std::to_string(static_cast<int>(box)) + " " + std::to_string(value));
        if (held == value)
            return;
        held = value;
        if (box == modOmbrix::CheckBox::FontTags) { // chkFontTags_Click
            state.finalTagEnabled = value != 1;
            events.push_back(state.finalTagEnabled ? "final tag enabled" : "final tag disabled");
        }
    }

    int Count(const std::string& event) const
    {
        int n = 0;
        for (const auto& e : events)
            n += e == event;
        return n;
    }
};

} // namespace ombrix::test
