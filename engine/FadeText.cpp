#include "engine/FadeText.h"

#include "engine/Checked16.h"
#include "engine/ColourMath.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <array>
#include <string>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The number of CRs in [p, end): the output grows by at most two characters for each
// (a CR LF pair becomes "<BR>"), which is all the sizing needs.
std::size_t CountCarriageReturns(const char16_t* p, const char16_t* end)
{
    std::size_t count = 0;
#if defined(__SSE2__)
    // Each lane counts its own CRs (a match is -1), summed before a lane could overflow;
    // four blocks a round keep the additions independent of each other.
    const __m128i cr = _mm_set1_epi16(u'\r');
    const auto matches = [&](const char16_t* at) {
        return _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)), cr);
    };
    while (end - p >= 32) {
        const std::ptrdiff_t rounds = std::min<std::ptrdiff_t>((end - p) / 32, 0x7fff);
        __m128i a = _mm_setzero_si128(), b = a, c = a, d = a; // named, so they stay in registers
        for (std::ptrdiff_t r = 0; r < rounds; ++r, p += 32) {
            a = _mm_sub_epi16(a, matches(p));
            b = _mm_sub_epi16(b, matches(p + 8));
            c = _mm_sub_epi16(c, matches(p + 16));
            d = _mm_sub_epi16(d, matches(p + 24));
        }
        for (const __m128i& l : {a, b, c, d}) {
            alignas(16) std::uint16_t counts[8];
            _mm_store_si128(reinterpret_cast<__m128i*>(counts), l);
            for (const std::uint16_t n : counts)
                count += n;
        }
    }
#endif
    for (; p != end; ++p)
        count += *p == u'\r' ? 1 : 0;
    return count;
}

char16_t* Put(char16_t* dst, std::u16string_view s)
{
    std::memcpy(dst, s.data(), s.size() * sizeof(char16_t));
    return dst + s.size();
}

// Copies [p, end) to dst, writing every CR LF pair as "<BR>"; returns the end of the copy.
char16_t* CopyWithLineBreaks(char16_t* dst, const char16_t* p, const char16_t* end)
{
#if defined(__SSE2__)
    // Eight characters are stored before they are checked. That never writes past the
    // output: the eight still to come from here make at least eight more characters.
    const __m128i cr = _mm_set1_epi16(u'\r');
    while (end - p >= 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), chars);
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(chars, cr));
        if (mask == 0) {
            p += 8;
            dst += 8;
            continue;
        }
        const int before = __builtin_ctz(static_cast<unsigned>(mask)) / 2;
        p += before;
        dst += before;
        if (end - p >= 2 && p[1] == u'\n') {
            dst = Put(dst, kLineBreak);
            p += 2;
        } else {
            *dst++ = *p++;
        }
    }
#endif
    while (p != end) {
        if (*p == u'\r' && end - p >= 2 && p[1] == u'\n') {
            dst = Put(dst, kLineBreak);
            p += 2;
        } else {
            *dst++ = *p++;
        }
    }
    return dst;
}

[[noreturn, gnu::cold, gnu::noinline]] void ThrowNotAByte(std::int16_t v)
{
    throw OverflowError("channel value outside 0..255: " + std::to_string(v));
}

std::uint8_t NarrowToByte(std::int16_t v)
{
    if (v < 0 || v > 255) [[unlikely]]
        ThrowNotAByte(v);
    return static_cast<std::uint8_t>(v);
}

// A colour code as three grid steps 0..16. ByteToHex maps each step to exactly one
// pair of digits, so comparing packed steps is comparing the six-character codes.
// This is ByteToHex's b / 16 rounded half to even, in integers.
constexpr std::uint32_t GridStep(std::uint8_t b)
{
    const std::uint32_t whole = b >> 4U;
    const std::uint32_t sixteenths = b & 15U;
    return whole + ((sixteenths > 8 || (sixteenths == 8 && (whole & 1U) != 0)) ? 1U : 0U);
}

char16_t* PutCode(char16_t* dst, std::uint32_t code)
{
    for (int shift : {16, 8, 0}) {
        const auto step = static_cast<std::int16_t>((code >> shift) & 0xFF);
        const std::int16_t v = LevelToByte(step);
        constexpr char16_t kDigits[] = u"0123456789ABCDEF";
        *dst++ = kDigits[v >> 4];
        *dst++ = kDigits[v & 15];
    }
    return dst;
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
        for (int i = 0; i <= s_; ++i)
            for (const Channel c : {Channel::Red, Channel::Green, Channel::Blue})
                bytes_[static_cast<std::size_t>(c)].at(static_cast<std::size_t>(i)) = LevelToByte(colours.Level(i, c));
    }

    // Every position whose code differs from the one before (position 1 always does), in
    // order. The positions of one segment share k, and there each channel's step moves
    // monotonically with the position. So a segment's changes are where a channel reaches
    // its next step: estimated from the straight line the channel follows, then settled
    // by looking at the neighbours, a few colours per change instead of one per position.
    std::vector<CodeChange> Changes() const
    {
        std::vector<CodeChange> changes;
        if (n_ == 0)
            return changes;
        std::vector<Crossing> crossings;
        for (std::int16_t k = 0; k <= s_; ++k) {
            const std::int16_t lo = FirstOfSegment(k);
            const std::int16_t hi = k == s_ ? n_ : static_cast<std::int16_t>(FirstOfSegment(k + 1) - 1);
            if (lo > hi)
                continue; // a short text skips segments
            std::uint32_t code = CodeAt(lo);
            if (lo == 1 || CodeAt(static_cast<std::int16_t>(lo - 1)) != code)
                changes.push_back({lo, code});
            crossings.clear();
            for (int c = 0; c < 3; ++c)
                FindCrossings(k, c, lo, hi, StepOf(code, c), crossings);
            std::sort(crossings.begin(), crossings.end(),
                      [](const Crossing& x, const Crossing& y) { return x.position < y.position; });
            for (std::size_t i = 0; i < crossings.size(); ++i) {
                const Crossing& x = crossings[i];
                const int shift = 16 - 8 * x.channel;
                code = (code & ~(0xFFU << shift)) | (x.step << shift);
                if (i + 1 == crossings.size() || crossings[i + 1].position != x.position)
                    changes.push_back({x.position, code});
            }
        }
        return changes;
    }

private:
    struct Place {
        std::uint8_t k;
        float t;
    };
    // Where channel `channel` first reaches `step` inside a segment.
    struct Crossing {
        std::int16_t position;
        int channel;
        std::uint32_t step;
    };

    Place PlaceOf(std::int16_t i) const
    {
        const std::int16_t pos = checked::Mul(i, s_);
        const auto q = static_cast<float>(static_cast<double>(pos) / static_cast<double>(n_));
        const auto k = static_cast<std::uint8_t>(q);
        return {k, q - static_cast<float>(k)};
    }

    std::uint32_t StepAt(int channel, Place p) const
    {
        const auto& bytes = bytes_[static_cast<std::size_t>(channel)];
        return GridStep(NarrowToByte(Interpolate(bytes.at(p.k), bytes.at(p.k + 1U), p.t)));
    }

    std::uint32_t CodeAt(std::int16_t i) const
    {
        const Place p = PlaceOf(i);
        return StepAt(0, p) << 16 | StepAt(1, p) << 8 | StepAt(2, p);
    }

    static std::uint32_t StepOf(std::uint32_t code, int channel) { return (code >> (16 - 8 * channel)) & 0xFFU; }

    // The first position whose segment is k or later (k grows with the position): near
    // k x n / s, settled by looking at the neighbours.
    std::int16_t FirstOfSegment(std::int32_t k) const
    {
        if (k == 0)
            return 1; // also the only segment of one colour, where s is 0
        const auto atOrAfter = [&](std::int32_t i) { return PlaceOf(static_cast<std::int16_t>(i)).k >= k; };
        std::int32_t i = std::clamp((k * n_ + s_ - 1) / s_, std::int32_t{1}, std::int32_t{n_});
        while (i > 1 && atOrAfter(i - 1))
            --i;
        while (i < n_ && !atOrAfter(i)) // the last position always lies in segment s
            ++i;
        return static_cast<std::int16_t>(i);
    }

    // Adds every position in lo+1 .. hi where the channel's step differs from the
    // position before; `from` is its step at lo.
    void FindCrossings(std::int16_t k, int channel, std::int16_t lo, std::int16_t hi, std::uint32_t from,
                       std::vector<Crossing>& out) const
    {
        if (lo == hi)
            return;
        const std::uint32_t to = StepAt(channel, PlaceOf(hi));
        if (to == from)
            return; // monotonic: nothing in between either
        const bool rising = to > from;
        const double a = bytes_[static_cast<std::size_t>(channel)].at(static_cast<std::size_t>(k));
        const double d = bytes_[static_cast<std::size_t>(channel)].at(static_cast<std::size_t>(k) + 1) - a;
        std::int32_t lower = lo + 1; // no crossing before this position is left to find
        std::uint32_t step = from;
        while (step != to) {
            const std::uint32_t target = rising ? step + 1 : step - 1;
            const auto stepAt = [&](std::int32_t i) { return StepAt(channel, PlaceOf(static_cast<std::int16_t>(i))); };
            const auto reached = [&](std::uint32_t s) { return rising ? s >= target : s <= target; };
            // The byte where the step flips (a tie of bytes / 16 goes to the even step),
            // then half a byte for the rounding of the interpolated value.
            const bool even = target % 2 == 0;
            const double boundary = rising ? 16.0 * target - (even ? 8.0 : 7.0) - 0.5
                                           : 16.0 * target + (even ? 8.0 : 7.0) + 0.5;
            const double estimate = (static_cast<double>(k) + (boundary - a) / d) * n_ / s_;
            std::int32_t i = std::clamp(static_cast<std::int32_t>(std::ceil(estimate)), lower, std::int32_t{hi});
            // The first position at or after `lower` whose step has reached the target.
            std::uint32_t here = stepAt(i);
            while (i > lower) {
                const std::uint32_t before = stepAt(i - 1);
                if (!reached(before))
                    break;
                --i;
                here = before;
            }
            while (i < hi && !reached(here))
                here = stepAt(++i);
            step = here;
            out.push_back({static_cast<std::int16_t>(i), channel, step});
            lower = i + 1;
        }
    }

    std::int16_t n_;
    std::int16_t s_;
    std::array<std::array<std::int16_t, kSlotCount + 1>, 3> bytes_{};
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

    // The output is sized once, for the case with a closing tag before every tag (the
    // option is read at each tag, as it is written), and trimmed at the end.
    constexpr std::size_t kCodeLength = 6;
    const std::size_t tagRoom = kCloseTag.size() + kOpenTag.size() + kCodeLength + 1;
    std::u16string out;
    out.resize(text.size() + 2 * CountCarriageReturns(text.data(), text.data() + text.size()) +
               tagged.size() * tagRoom + kFinalTag.size());
    char16_t* dst = out.data();
    // Tags stand only before non-separators, so no CR LF pair is ever split between chunks.
    const char16_t* copied = text.data();
    for (const CodeChange& change : tagged) {
        const char16_t* at = text.data() + (change.position - 1);
        dst = CopyWithLineBreaks(dst, copied, at);
        copied = at;
        if (tags.FontTagsValue() == 1 && change.position > 1)
            dst = Put(dst, kCloseTag);
        dst = Put(dst, kOpenTag);
        dst = PutCode(dst, change.code);
        *dst++ = u'>';
    }
    dst = CopyWithLineBreaks(dst, copied, text.data() + text.size());

    const bool fontTags = tags.FontTagsValue() == 1;
    const bool finalTag = tags.FinalFontTagValue() == 1;
    if (fontTags || finalTag)
        dst = Put(dst, kFinalTag);
    out.resize(static_cast<std::size_t>(dst - out.data()));
    return out;
}

} // namespace modOmbrix
