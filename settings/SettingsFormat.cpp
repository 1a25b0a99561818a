#include "settings/SettingsFormat.h"

#include "settings/Settings.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>
#include <optional>

namespace modOmbrix {
namespace {

constexpr std::array<Channel, 3> kChannels{Channel::Red, Channel::Green, Channel::Blue};
constexpr std::array<CheckBox, 3> kCheckBoxes{CheckBox::FontTags, CheckBox::FinalFontTag, CheckBox::OnTop};
constexpr std::string_view kLineEnd = "\r\n";

bool IsSpace(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsFieldByte(char c) { return c == '\t' || (c >= ' ' && c <= '~'); }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// A field as it goes into a message: quoted, and shortened when long.
std::string Quote(std::string_view field)
{
    constexpr std::size_t kShown = 24;
    if (field.size() <= kShown)
        return "'" + std::string(field) + "'";
    return "'" + std::string(field.substr(0, kShown)) + "...'";
}

// A decimal number rounded to the nearest integer, ties to even, worked out on the digits
// themselves: through a double, "2.50000000000000000001" would become a tie. Magnitudes
// saturate at kSaturated, far outside every range the file holds.
struct RoundedNumber {
    bool negative = false;
    std::uint64_t magnitude = 0;
    bool zero = true; // the number itself, before rounding, is zero
};
constexpr std::uint64_t kSaturated = 1'000'000'000'000;

std::optional<RoundedNumber> ParseDecimal(std::string_view s)
{
    RoundedNumber n;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        n.negative = s[i++] == '-';
    bool anyDigit = false;
    for (; i < s.size() && IsDigit(s[i]); ++i) {
        anyDigit = true;
        n.zero = n.zero && s[i] == '0';
        n.magnitude = std::min(n.magnitude * 10 + static_cast<std::uint64_t>(s[i] - '0'), kSaturated);
    }
    int firstFraction = 0;    // the first digit after the point
    bool restNonZero = false; // any non-zero digit after that one
    if (i < s.size() && s[i] == '.') {
        ++i;
        for (std::size_t start = i; i < s.size() && IsDigit(s[i]); ++i) {
            anyDigit = true;
            n.zero = n.zero && s[i] == '0';
            if (i == start)
                firstFraction = s[i] - '0';
            else
                restNonZero = restNonZero || s[i] != '0';
        }
    }
    if (!anyDigit || i != s.size())
        return std::nullopt;
    const bool odd = n.magnitude % 2 == 1;
    if (firstFraction > 5 || (firstFraction == 5 && (restNonZero || odd)))
        ++n.magnitude;
    return n;
}

template <typename Int>
Int ToInteger(std::string_view field)
{
    if (field.empty())
        return 0;
    const std::optional<RoundedNumber> n = ParseDecimal(field);
    if (!n)
        throw FieldError(Quote(field) + " is not a number");
    const auto value = n->negative ? -static_cast<std::int64_t>(n->magnitude) : static_cast<std::int64_t>(n->magnitude);
    if (value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max())
        throw FieldError(Quote(field) + " is outside " + std::to_string(std::numeric_limits<Int>::min()) + ".." +
                         std::to_string(std::numeric_limits<Int>::max()));
    return static_cast<Int>(value);
}

} // namespace

std::string FormatInteger(std::int64_t value) { return (value < 0 ? "" : " ") + std::to_string(value) + " "; }

std::string FormatBoolean(bool value) { return value ? "True" : "False"; }

std::string FormatSettings(const SettingsControls& controls)
{
    std::string text;
    const auto line = [&text](const std::string& value) {
        text += value;
        text += kLineEnd;
    };
    const std::optional<std::uint8_t> sendMode = GetSendMode(controls);
    line(sendMode ? FormatInteger(*sendMode) : "");
    line(FormatInteger(controls.ColourCount()));
    for (int slot = 0; slot < kSlotCount; ++slot)
        for (const Channel channel : kChannels)
            line(FormatInteger(controls.Level(slot, channel)));
    line(FormatBoolean(controls.InOutCaption() == u"4"));
    for (const CheckBox box : kCheckBoxes)
        line(FormatInteger(controls.CheckValue(box)));
    return text;
}

std::string_view FieldReader::Next()
{
    fieldLine_ = line_;
    if (pos_ >= text_.size())
        throw FieldError("the file ends before this value");
    const std::size_t start = pos_;
    for (; pos_ < text_.size(); ++pos_) {
        const char c = text_[pos_];
        if (c == ',' || c == '\r' || c == '\n')
            break;
        if (pos_ - start == kMaxFieldBytes)
            throw FieldError("value longer than " + std::to_string(kMaxFieldBytes) + " bytes");
        if (!IsFieldByte(c)) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
            throw FieldError(std::string("byte ") + hex + " is not allowed in a value");
        }
    }
    const std::string_view field = text_.substr(start, pos_ - start);
    if (pos_ < text_.size()) {
        const char end = text_[pos_++];
        if (end == '\r' && pos_ < text_.size() && text_[pos_] == '\n')
            ++pos_;
        if (end != ',')
            ++line_;
    }
    return Trim(field);
}

std::int16_t ToInt16(std::string_view field) { return ToInteger<std::int16_t>(field); }
std::int32_t ToInt32(std::string_view field) { return ToInteger<std::int32_t>(field); }

bool ToBoolean(std::string_view field)
{
    if (field == "True")
        return true;
    if (field == "False" || field.empty())
        return false;
    const std::optional<RoundedNumber> n = ParseDecimal(field);
    if (!n)
        throw FieldError(Quote(field) + " is not True, False or a number");
    return !n->zero;
}

SettingsLineError::SettingsLineError(int line, const std::string& reason)
    : std::runtime_error("line " + std::to_string(line) + ": " + reason), line_(line)
{
}

void ApplySettingsText(SettingsControls& controls, std::string_view text)
{
    FieldReader reader(text);
    // Reads the next field and hands it to apply; every failure on the way names the line.
    const auto field = [&reader](auto&& apply) {
        try {
            apply(reader.Next());
        } catch (const FieldError& e) {
            throw SettingsLineError(reader.Line(), e.what());
        } catch (const std::out_of_range& e) { // a control rejected the value
            throw SettingsLineError(reader.Line(), e.what());
        }
    };
    field([&](std::string_view f) { controls.SelectSendOption(ToInt16(f)); });
    field([&](std::string_view f) {
        controls.SetColourCount(ToInt32(f));
        controls.ApplyColourCount();
    });
    for (int slot = 0; slot < kSlotCount; ++slot)
        for (const Channel channel : kChannels)
            field([&](std::string_view f) { controls.SetLevel(slot, channel, ToInt16(f)); });
    field([&](std::string_view f) {
        if (ToBoolean(f))
            controls.PressInOut();
    });
    for (const CheckBox box : kCheckBoxes)
        field([&](std::string_view f) { controls.SetCheckValue(box, ToInt16(f)); });
}

} // namespace modOmbrix
