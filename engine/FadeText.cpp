#include "engine/FadeText.h"

#include "engine/ColourMath.h"
#include "engine/FadeCodes.h"
#include "engine/FontTags.h"

#include <algorithm>
#include <array>
#include <cstring>
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
// Works in stores of sixteen characters, made before the CRs among them are dealt with.
// A store never writes past the output: it is made only where sixteen characters of the
// text follow, which make at least sixteen more of output. One that reaches past the end
// of a chunk that a tag follows is overwritten by the tag, longer than a store.
char16_t* CopyWithLineBreaks(char16_t* dst, const char16_t* p, const char16_t* end, const char16_t* textEnd)
{
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi16(u'\r');
    // The CRs among the sixteen characters from p, one bit each (packing keeps a
    // match's -1 a byte).
    const auto copyBlock = [&] {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), low);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8), high);
        return static_cast<unsigned>(
            _mm_movemask_epi8(_mm_packs_epi16(_mm_cmpeq_epi16(low, cr), _mm_cmpeq_epi16(high, cr))));
    };
    const auto breakAt = [&](unsigned mask) {
        const int before = __builtin_ctz(mask);
        p += before;
        dst += before;
        if (end - p >= 2 && p[1] == u'\n') {
            dst = Put(dst, kLineBreak);
            p += 2;
        } else {
            *dst++ = *p++;
        }
    };
    const auto copyRest = [&] {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8), _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8)));
    };
    // While the text goes on for two more blocks, every CR of a block is handled from the
    // block's one mask, and after each the rest of the block is stored again from its new
    // place (this reads at most 17 characters past the block). Reloading the mask after
    // each CR would make every CR wait for the load that follows the one before: a text
    // dense with line breaks was many times slower than its copy. Sixteen characters that
    // are eight CR LF pairs become eight "<BR>" at once.
    const __m128i pairs = _mm_set1_epi32(0x000A000D);
    const __m128i breaks = _mm_set1_epi64x(0x003E00520042003C);
    while (end - p >= 16 && textEnd - p >= 33) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
        if (_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi32(low, pairs), _mm_cmpeq_epi32(high, pairs))) == 0xFFFF) {
            for (int i = 0; i < 4; ++i)
                _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 8 * i), breaks);
            p += 16;
            dst += 32;
            continue;
        }
        const char16_t* const block = p;
        unsigned mask = copyBlock();
        while (mask != 0) {
            const char16_t* const at = block + __builtin_ctz(mask);
            mask &= mask - 1;
            dst += at - p;
            p = at;
            if (end - p >= 2 && p[1] == u'\n') {
                dst = Put(dst, kLineBreak);
                p += 2;
            } else {
                ++dst; // a lone CR, already stored
                ++p;
            }
            copyRest();
        }
        if (p < block + 16) {
            dst += block + 16 - p;
            p = block + 16;
        }
    }
    while (end - p >= 16) {
        const unsigned mask = copyBlock();
        if (mask == 0) {
            p += 16;
            dst += 16;
        } else {
            breakAt(mask);
        }
    }
    while (p < end && textEnd - p >= 16) {
        const std::ptrdiff_t left = end - p; // 1..15
        const unsigned mask = copyBlock() & ((1U << left) - 1);
        if (mask == 0) {
            p = end;
            dst += left;
        } else {
            breakAt(mask);
        }
    }
#endif
    while (p < end) {
        if (*p == u'\r' && end - p >= 2 && p[1] == u'\n') {
            dst = Put(dst, kLineBreak);
            p += 2;
        } else {
            *dst++ = *p++;
        }
    }
    return dst;
}

// kStepDigits padded to 32 entries, so that any five bits of a code index it.
constexpr std::array<std::array<char16_t, 2>, 32> kPaddedStepDigits = [] {
    std::array<std::array<char16_t, 2>, 32> digits{};
    for (std::size_t step = 0; step < kStepDigits.size(); ++step)
        digits[step] = kStepDigits[step];
    return digits;
}();

char16_t* PutCode(char16_t* dst, std::uint32_t code)
{
    constexpr std::size_t kPair = 2 * sizeof(char16_t);
    std::memcpy(dst, kPaddedStepDigits[(code >> 16) & 31U].data(), kPair);
    std::memcpy(dst + 2, kPaddedStepDigits[(code >> 8) & 31U].data(), kPair);
    std::memcpy(dst + 4, kPaddedStepDigits[code & 31U].data(), kPair);
    return dst + 6;
}

std::string ColoursWord(std::int32_t n) { return n == 1 ? "colour" : "colours"; }

} // namespace

TextTooLongError::TextTooLongError(std::int32_t colours, std::int32_t limit)
    : std::length_error("text too long for " + std::to_string(colours) + " " + ColoursWord(colours) + ": at most " +
                        std::to_string(limit) + " characters"),
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
    return WriteFadedHtml(text, FindFontTags(text, colours), tags);
}

std::u16string WriteFadedHtml(std::u16string_view text, const std::vector<CodeChange>& changes, const TagOptions& tags)
{
    // The output is sized once, for the case with a tag at every change and a closing
    // tag before each (the option is read at each tag, as it is written), and trimmed
    // at the end.
    constexpr std::size_t kCodeLength = 6;
    const std::size_t tagRoom = kCloseTag.size() + kOpenTag.size() + kCodeLength + 1;
    const char16_t* const textEnd = text.data() + text.size();
    std::u16string out;
    out.resize(text.size() + 2 * CountCarriageReturns(text.data(), textEnd) + changes.size() * tagRoom +
               kFinalTag.size());
    char16_t* dst = out.data();
    const char16_t* copied = text.data();
    for (const CodeChange& change : changes) {
        // A tag never lands on a CR or LF, so a CR LF pair is never split between chunks.
        const char16_t* at = text.data() + (change.position - 1);
        dst = CopyWithLineBreaks(dst, copied, at, textEnd);
        copied = at;
        if (tags.FontTagsValue() == 1 && change.position > 1)
            dst = Put(dst, kCloseTag);
        dst = Put(dst, kOpenTag);
        dst = PutCode(dst, change.code);
        *dst++ = u'>';
    }
    dst = CopyWithLineBreaks(dst, copied, textEnd, textEnd);

    const bool fontTags = tags.FontTagsValue() == 1;
    const bool finalTag = tags.FinalFontTagValue() == 1;
    if (fontTags || finalTag)
        dst = Put(dst, kFinalTag);
    out.resize(static_cast<std::size_t>(dst - out.data()));
    return out;
}

} // namespace modOmbrix
