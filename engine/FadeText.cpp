#include "engine/FadeText.h"

#include "engine/Checked16.h"
#include "engine/ColourMath.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace modOmbrix {
namespace {

constexpr std::int32_t kMaxPositions = 32766; // the counter must still step one past the last

constexpr std::u16string_view kOpenTag = u"<FONT COLOR=";
constexpr std::u16string_view kCloseTag = u"</FONT>";
constexpr std::u16string_view kFinalTag = u"</FONT> ";
constexpr std::u16string_view kLineBreak = u"<BR>";

bool IsSeparator(char16_t c) { return c == u' ' || c == u'\r' || c == u'\n'; }
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Position of the first CR at or after from, or npos. Whole blocks are tested with a
// branch-free OR so the compiler can vectorise the common case of no CR at all.
std::size_t FindCarriageReturn(std::u16string_view text, std::size_t from)
{
    constexpr std::size_t kBlock = 32;
    const char16_t* data = text.data();
    std::size_t i = from;
    for (; i + kBlock <= text.size(); i += kBlock) {
        bool any = false;
        for (std::size_t j = 0; j < kBlock; ++j)
            any |= data[i + j] == u'\r';
        if (any)
            break;
    }
    for (; i < text.size(); ++i)
        if (data[i] == u'\r')
            return i;
    return std::u16string_view::npos;
}

std::uint8_t NarrowToByte(std::int16_t v)
{
    if (v < 0 || v > 255)
        throw OverflowError("channel value outside 0..255: " + std::to_string(v));
    return static_cast<std::uint8_t>(v);
}

// A colour code as three grid steps 0..16. ByteToHex maps each step to exactly one
// pair of digits, so comparing packed steps is comparing the six-character codes.
std::uint32_t GridStep(std::uint8_t b) { return static_cast<std::uint32_t>(checked::RoundHalfEven(b / 16.0)); }

void AppendCode(std::u16string& out, std::uint32_t code)
{
    for (int shift : {16, 8, 0}) {
        const auto step = static_cast<std::int16_t>((code >> shift) & 0xFF);
        const std::int16_t v = LevelToByte(step);
        constexpr char16_t kDigits[] = u"0123456789ABCDEF";
        out.push_back(kDigits[v >> 4]);
        out.push_back(kDigits[v & 15]);
    }
}

// Copies text, writing every CR LF pair as "<BR>".
void AppendWithLineBreaks(std::u16string& out, std::u16string_view text)
{
    std::size_t from = 0;
    for (std::size_t cr = FindCarriageReturn(text, 0); cr != std::u16string_view::npos;
         cr = FindCarriageReturn(text, cr + 1)) {
        if (cr + 1 == text.size() || text[cr + 1] != u'\n')
            continue;
        out.append(text.substr(from, cr - from));
        out.append(kLineBreak);
        from = cr + 2;
    }
    out.append(text.substr(from));
}

struct CodeChange {
    std::int16_t position; // 1-based character position
    std::uint32_t code;
};

// The colour code of every position of a text of n characters, computed as the fade
// rules say, and the positions where it changes.
class FadeCodes {
public:
    FadeCodes(const ColourTable& colours, std::int16_t n, std::int16_t segments) : n_(n), s_(segments)
    {
        // Entries above s stay 0; entry s + 1 is read, with t = 0, at the last character.
        for (int i = 0; i <= s_; ++i) {
            red_[i] = LevelToByte(colours.Level(i, Channel::Red));
            green_[i] = LevelToByte(colours.Level(i, Channel::Green));
            blue_[i] = LevelToByte(colours.Level(i, Channel::Blue));
        }
    }

    // Every position whose code differs from the one before (position 1 always does).
    // Within one segment each channel moves monotonically with the position, so equal
    // codes at both ends of a span in one segment mean no change inside it: bisection
    // finds the few changes without computing every position.
    std::vector<CodeChange> Changes() const
    {
        std::vector<CodeChange> changes;
        if (n_ == 0)
            return changes;
        const Point first = At(1);
        changes.push_back({1, first.code});
        if (n_ > 1)
            FindChanges(first, At(n_), changes);
        return changes;
    }

private:
    struct Point {
        std::int16_t position;
        std::uint8_t segment;
        std::uint32_t code;
    };

    Point At(std::int16_t i) const
    {
        const std::int16_t pos = checked::Mul(i, s_);
        const auto q = static_cast<float>(static_cast<double>(pos) / static_cast<double>(n_));
        const auto k = static_cast<std::uint8_t>(q);
        const float t = q - static_cast<float>(k);
        const std::uint32_t code = GridStep(NarrowToByte(Interpolate(red_.at(k), red_.at(k + 1), t))) << 16 |
                                   GridStep(NarrowToByte(Interpolate(green_.at(k), green_.at(k + 1), t))) << 8 |
                                   GridStep(NarrowToByte(Interpolate(blue_.at(k), blue_.at(k + 1), t)));
        return {i, k, code};
    }

    // Appends the changes at positions lo+1 .. hi, in order.
    void FindChanges(const Point& lo, const Point& hi, std::vector<CodeChange>& changes) const
    {
        if (lo.code == hi.code && lo.segment == hi.segment)
            return;
        if (hi.position - lo.position == 1) {
            if (lo.code != hi.code)
                changes.push_back({hi.position, hi.code});
            return;
        }
        const Point mid = At(static_cast<std::int16_t>(lo.position + (hi.position - lo.position) / 2));
        FindChanges(lo, mid, changes);
        FindChanges(mid, hi, changes);
    }

    std::int16_t n_;
    std::int16_t s_;
    std::array<std::int16_t, kSlotCount + 1> red_{}, green_{}, blue_{};
};

std::string ColoursWord(std::int32_t n) { return n == 1 ? "colour" : "colours"; }

} // namespace

TextTooLongError::TextTooLongError(std::int32_t colours, std::int32_t limit)
    : std::length_error("text too long for " + std::to_string(colours) + " " + ColoursWord(colours) +
                        ": at most " + std::to_string(limit) + " characters"),
      colours_(colours), limit_(limit)
{
}

std::int32_t MaxTextLength(std::int32_t colours)
{
    if (colours < 1 || colours > kSlotCount)
        throw std::out_of_range("number of colours outside 1..6: " + std::to_string(colours));
    const std::int32_t segments = colours - 1;
    return segments == 0 ? kMaxPositions : std::min(kMaxPositions, 32767 / segments);
}

std::u16string FadeText(std::u16string_view text, const ColourTable& colours, const TagOptions& tags)
{
    const std::int32_t count = colours.ColourCount();
    const std::int32_t limit = MaxTextLength(count);
    if (text.size() > static_cast<std::size_t>(limit))
        throw TextTooLongError(count, limit);
    const FadeCodes codes(colours, static_cast<std::int16_t>(text.size()), static_cast<std::int16_t>(count - 1));

    // A tag goes where the code differs from the position before, unless that position
    // holds a separator or the second half of a surrogate pair (written like a separator,
    // so a tag never cuts a character outside the BMP in two).
    std::vector<CodeChange> tagged;
    for (const CodeChange& change : codes.Changes()) {
        const std::size_t at = static_cast<std::size_t>(change.position - 1);
        const char16_t ch = text[at];
        const bool pairTail = IsLowSurrogate(ch) && at > 0 && IsHighSurrogate(text[at - 1]);
        if (!IsSeparator(ch) && !pairTail)
            tagged.push_back(change);
    }

    std::u16string out;
    out.reserve(2 * text.size() + tagged.size() * (kCloseTag.size() + kOpenTag.size() + 7) + kFinalTag.size());
    // Tags stand only before non-separators, so no CR LF pair is ever split between chunks.
    std::size_t copied = 0;
    for (const CodeChange& change : tagged) {
        const std::size_t at = static_cast<std::size_t>(change.position - 1);
        AppendWithLineBreaks(out, text.substr(copied, at - copied));
        copied = at;
        if (tags.FontTagsValue() == 1 && change.position > 1)
            out.append(kCloseTag);
        out.append(kOpenTag);
        AppendCode(out, change.code);
        out.push_back(u'>');
    }
    AppendWithLineBreaks(out, text.substr(copied));

    const bool fontTags = tags.FontTagsValue() == 1;
    const bool finalTag = tags.FinalFontTagValue() == 1;
    if (fontTags || finalTag)
        out.append(kFinalTag);
    return out;
}

} // namespace modOmbrix
