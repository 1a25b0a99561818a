#include "engine/TaggedText.h"

#include "engine/ColourMath.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#if defined(__GNUC__)
// Functions built for SSSE3 or AVX2 alone, called where the processor has it.
#include <immintrin.h>
#define OMBRIX_PICKS_AT_RUN_TIME 1
#endif
#endif

namespace modOmbrix {
namespace {

constexpr char16_t kLineBreak[] = {u'<', u'B', u'R', u'>'};
constexpr std::u16string_view kOpenTag = u"<FONT COLOR=";
constexpr std::u16string_view kCloseTag = u"</FONT>";

char16_t* Put(char16_t* dst, std::u16string_view s)
{
    std::memcpy(dst, s.data(), s.size() * sizeof(char16_t));
    return dst + s.size();
}

// kStepDigits padded to 32 entries, so that any five bits of a code index it.
constexpr std::array<std::array<char16_t, 2>, 32> kPaddedStepDigits = [] {
    std::array<std::array<char16_t, 2>, 32> digits{};
    for (std::size_t step = 0; step < kStepDigits.size(); ++step)
        digits[step] = kStepDigits[step];
    return digits;
}();

inline char16_t* PutTag(char16_t* dst, std::uint32_t code, bool closeFirst)
{
    if (closeFirst)
        dst = Put(dst, kCloseTag);
    dst = Put(dst, kOpenTag);
    constexpr std::size_t kPair = 2 * sizeof(char16_t);
    std::memcpy(dst, kPaddedStepDigits[(code >> 16) & 31U].data(), kPair);
    std::memcpy(dst + 2, kPaddedStepDigits[(code >> 8) & 31U].data(), kPair);
    std::memcpy(dst + 4, kPaddedStepDigits[code & 31U].data(), kPair);
    dst[6] = u'>';
    return dst + 7;
}

// Copies one character, or a CR LF pair as "<BR>", and moves both pointers past it.
inline void CopyOne(char16_t*& dst, const char16_t*& p, const char16_t* end)
{
    if (*p == u'\r' && end - p >= 2 && p[1] == u'\n') {
        std::memcpy(dst, kLineBreak, sizeof kLineBreak);
        dst += std::size(kLineBreak);
        p += 2;
    } else {
        *dst++ = *p++;
    }
}

inline char16_t* CopyScalar(char16_t* dst, const char16_t* p, const char16_t* end)
{
    while (p < end)
        CopyOne(dst, p, end);
    return dst;
}

// The text with its tags, each run between two tags copied by `copyRun(dst, p, end,
// textEnd)`. A tag never lands on a CR or LF, so a CR LF pair is never split between runs.
template <typename CopyRun>
char16_t* WriteRuns(char16_t* dst, std::u16string_view text, const std::vector<CodeChange>& changes,
                    const TagOptions& tags, CopyRun copyRun)
{
    const char16_t* p = text.data();
    const char16_t* const textEnd = p + text.size();
    for (const CodeChange& change : changes) {
        const char16_t* const at = text.data() + (change.position - 1);
        dst = copyRun(dst, p, at, textEnd);
        p = at;
        // The option is read at each tag, as it is written.
        dst = PutTag(dst, change.code, tags.FontTagsValue() == 1 && change.position > 1);
    }
    return copyRun(dst, p, textEnd, textEnd);
}

char16_t* WriteScalar(char16_t* dst, std::u16string_view text, const std::vector<CodeChange>& changes,
                      const TagOptions& tags)
{
    return WriteRuns(
        dst, text, changes, tags,
        [](char16_t* to, const char16_t* p, const char16_t* end, const char16_t*) { return CopyScalar(to, p, end); });
}

#if defined(__SSE2__)

inline __m128i Load(const char16_t* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); }
inline void Store(char16_t* at, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(at), v); }

// The block copiers work in blocks of sixteen characters, stored before the CRs among
// them are dealt with. A block is taken only where the text goes on for 33 characters:
// what it reads past the block is there, and its stores (at most 16 characters past the
// copy so far) stay inside the output. A store that reaches past the end of a run that a
// tag follows is written over by the tag, longer than a store.
constexpr std::ptrdiff_t kBlock = 16;
constexpr std::ptrdiff_t kBlockReach = 2 * kBlock + 1;

// Stores the sixteen characters from p at dst and returns their CRs, one bit each
// (packing keeps a match's -1 a byte).
inline unsigned StoreBlock(char16_t* dst, const char16_t* p)
{
    const __m128i cr = _mm_set1_epi16(u'\r');
    const __m128i low = Load(p);
    const __m128i high = Load(p + 8);
    Store(dst, low);
    Store(dst + 8, high);
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_packs_epi16(_mm_cmpeq_epi16(low, cr), _mm_cmpeq_epi16(high, cr))));
}

constexpr unsigned kEveryOther = 0x5555; // the CRs of a block of eight CR LF pairs

// Sixteen characters that are eight CR LF pairs (their CRs are kEveryOther) become
// eight "<BR>" in four stores, the whole of a text of blank lines.
inline bool CopyEightPairs(char16_t*& dst, const char16_t*& p)
{
    const __m128i pairs = _mm_set1_epi32(0x000A000D);
    const __m128i both = _mm_and_si128(_mm_cmpeq_epi32(Load(p), pairs), _mm_cmpeq_epi32(Load(p + 8), pairs));
    if (_mm_movemask_epi8(both) != 0xFFFF)
        return false;
    const __m128i breaks = _mm_set1_epi64x(0x003E00520042003C); // "<BR>"
    for (int i = 0; i < 4; ++i)
        Store(dst + 8 * i, breaks);
    p += kBlock;
    dst += 2 * kBlock;
    return true;
}

// Puts right a block stored by StoreBlock, whose CRs `crs` holds: every CR of the block
// is handled from that one mask, and after each pair the rest of the block is stored
// again from its new place (reading at most 17 characters past the block). Reloading the
// mask after each CR would make every CR wait for the load that follows the one before.
inline void MendBlock(char16_t*& dst, const char16_t*& p, unsigned crs, const char16_t* end)
{
    const char16_t* const block = p;
    for (; crs != 0; crs &= crs - 1) {
        const char16_t* const at = block + __builtin_ctz(crs);
        dst += at - p;
        p = at;
        CopyOne(dst, p, end);
        Store(dst, Load(p));
        Store(dst + 8, Load(p + 8));
    }
    if (p < block + kBlock) {
        dst += block + kBlock - p;
        p = block + kBlock;
    }
}

// The end of a run, where a block would read or write too far: a block at a time, as
// long as sixteen characters of the text are left, up to its first CR.
inline char16_t* CopyTail(char16_t* dst, const char16_t* p, const char16_t* end, const char16_t* textEnd)
{
    while (p < end && textEnd - p >= kBlock) {
        const std::ptrdiff_t n = std::min(end - p, kBlock);
        const unsigned crs = StoreBlock(dst, p) & ((1U << n) - 1);
        if (crs == 0) {
            p += n;
            dst += n;
            continue;
        }
        const int before = __builtin_ctz(crs);
        p += before;
        dst += before;
        CopyOne(dst, p, end);
    }
    return CopyScalar(dst, p, end);
}

// The frame every block copier shares: the blocks that fit, each stored by StoreBlock
// and, where it holds CRs, put right by `mend(dst, p, crs)`, which moves p past the
// block (or past the LF of a pair that starts at its last character) and dst past what
// it wrote; then the tail.
template <typename Mend>
char16_t* CopyInBlocks(char16_t* dst, const char16_t* p, const char16_t* end, const char16_t* textEnd, Mend mend)
{
    // The last place a block may end: inside the run, and kBlockReach before the text's end.
    const char16_t* const last = textEnd - p >= kBlockReach ? std::min(end, textEnd - (kBlockReach - kBlock)) : p;
    while (last - p >= kBlock) {
        const unsigned crs = StoreBlock(dst, p);
        if (crs == 0) {
            p += kBlock;
            dst += kBlock;
        } else if (crs != kEveryOther || !CopyEightPairs(dst, p)) {
            mend(dst, p, crs);
        }
    }
    return CopyTail(dst, p, end, textEnd);
}

// Each writer is flattened: the runs, the frame and the block copier make one loop.
[[gnu::flatten]] char16_t* WriteSse2(char16_t* dst, std::u16string_view text, const std::vector<CodeChange>& changes,
                                     const TagOptions& tags)
{
    return WriteRuns(dst, text, changes, tags,
                     [](char16_t* to, const char16_t* p, const char16_t* end, const char16_t* textEnd) {
                         return CopyInBlocks(to, p, end, textEnd,
                                             [end](char16_t*& blockTo, const char16_t*& blockFrom, unsigned crs) {
                                                 MendBlock(blockTo, blockFrom, crs, end);
                                             });
                     });
}

// The CRs in rounds of 32 characters from p, moving p past them. Each lane counts its
// own CRs (a match is -1), summed before a lane could overflow; four blocks a round keep
// the additions independent of each other.
std::size_t CountCarriageReturnsSse2(const char16_t*& p, const char16_t* end)
{
    std::size_t count = 0;
    const __m128i cr = _mm_set1_epi16(u'\r');
    const auto matches = [&](const char16_t* at) { return _mm_cmpeq_epi16(Load(at), cr); };
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
    return count;
}

#endif

#if defined(OMBRIX_PICKS_AT_RUN_TIME)

// How eight characters with CR LF pairs among them are written, for each set of pairs:
// which character each output character copies, and what is added to it. Bit j of the
// set is a pair whose CR is character j: the CR becomes all of "<BR>" and its LF nothing.
// A pair whose CR is the eighth has its LF in the next block: the CR becomes "<BR" here
// and the LF, copied there, is raised to '>'. So every block is eight characters, and
// where the next starts never waits for what this one holds.
struct PairExpansion {
    alignas(16) std::array<std::uint8_t, 32> source; // the bytes of 16 output characters
    alignas(16) std::array<std::uint16_t, 16> add;
    std::uint8_t length; // output characters
};

constexpr std::uint16_t kRaiseToClose = u'>' - u'\n';

constexpr std::array<PairExpansion, 256> kPairExpansions = [] {
    std::array<PairExpansion, 256> table{};
    for (std::size_t set = 0; set < table.size(); ++set) {
        PairExpansion& e = table[set];
        std::size_t k = 0;
        const auto put = [&](std::size_t from, char16_t becomes) {
            e.source[2 * k] = static_cast<std::uint8_t>(2 * from);
            e.source[2 * k + 1] = static_cast<std::uint8_t>(2 * from + 1);
            e.add[k] = static_cast<std::uint16_t>(becomes == 0 ? 0 : becomes - u'\r');
            ++k;
        };
        for (std::size_t j = 0; j < 8 && k < 16; ++j) { // the set of a real text never fills more
            if ((set >> j & 1U) == 0) {
                put(j, 0);
                continue;
            }
            put(j, u'<');
            put(j, u'B');
            put(j, u'R');
            if (j == 7)
                break;
            put(j, u'>');
            ++j; // the LF
        }
        for (std::size_t rest = k; rest < 16; ++rest)
            e.source[2 * rest] = e.source[2 * rest + 1] = 0x80; // pshufb clears these
        e.length = static_cast<std::uint8_t>(k);
    }
    return table;
}();

// Writes the eight characters from `from`, in two stores of eight, and moves both
// pointers on. `carry` is 1 where the block before ended with the CR of a pair, and
// becomes 1 where this one does. Reads one character past the eight.
[[gnu::always_inline]] inline __attribute__((target("ssse3"))) void ExpandEight(char16_t*& to, const char16_t*& from,
                                                                                unsigned& carry)
{
    const __m128i chars = Load(from);
    const __m128i pairs = _mm_and_si128(_mm_cmpeq_epi16(chars, _mm_set1_epi16(u'\r')),
                                        _mm_cmpeq_epi16(Load(from + 1), _mm_set1_epi16(u'\n')));
    const auto set = static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(pairs, _mm_setzero_si128())));
    const PairExpansion& e = kPairExpansions[set];
    const auto* source = reinterpret_cast<const __m128i*>(e.source.data());
    const auto* add = reinterpret_cast<const __m128i*>(e.add.data());
    const __m128i raise = _mm_cvtsi32_si128(static_cast<int>(carry * kRaiseToClose)); // the first character only
    Store(to,
          _mm_add_epi16(_mm_shuffle_epi8(chars, _mm_load_si128(source)), _mm_add_epi16(_mm_load_si128(add), raise)));
    Store(to + 8, _mm_add_epi16(_mm_shuffle_epi8(chars, _mm_load_si128(source + 1)), _mm_load_si128(add + 1)));
    to += e.length;
    from += 8;
    carry = set >> 7;
}

// A block of sixteen with CRs as WriteSse2 mends it, but one of more than two written
// eight characters at a time by table: mending costs a few stores for each CR, the
// table the same for any number.
[[gnu::always_inline]] inline __attribute__((target("ssse3"))) void
MendBlockByTable(char16_t*& to, const char16_t*& from, unsigned crs, const char16_t* end)
{
    const unsigned beyondFirst = crs & (crs - 1);
    if ((beyondFirst & (beyondFirst - 1)) == 0) {
        MendBlock(to, from, crs, end);
        return;
    }
    unsigned carry = 0;
    ExpandEight(to, from, carry);
    ExpandEight(to, from, carry);
    if (carry != 0) { // the LF of a pair whose "<BR" is written
        *to++ = u'>';
        ++from;
    }
}

__attribute__((target("ssse3"), flatten)) char16_t*
WriteSsse3(char16_t* dst, std::u16string_view text, const std::vector<CodeChange>& changes, const TagOptions& tags)
{
    return WriteRuns(
        dst, text, changes, tags,
        [](char16_t* to, const char16_t* p, const char16_t* end, const char16_t* textEnd)
            __attribute__((target("ssse3"))) {
                return CopyInBlocks(
                    to, p, end, textEnd,
                    [end](char16_t*& blockTo, const char16_t*& blockFrom, unsigned crs)
                        __attribute__((target("ssse3"))) { MendBlockByTable(blockTo, blockFrom, crs, end); });
            });
}

// CountCarriageReturnsSse2 in rounds of 64 characters, 32 bytes at a time: the count
// reads the whole message before anything is written, about a third of the time of a
// long one with few tags.
__attribute__((target("avx2"))) std::size_t CountCarriageReturnsAvx2(const char16_t*& p, const char16_t* end)
{
    std::size_t count = 0;
    const __m256i cr = _mm256_set1_epi16(u'\r');
    const auto matches = [&](const char16_t* at) __attribute__((target("avx2")))
    {
        return _mm256_cmpeq_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)), cr);
    };
    while (end - p >= 64) {
        const std::ptrdiff_t rounds = std::min<std::ptrdiff_t>((end - p) / 64, 0x7fff);
        __m256i a = _mm256_setzero_si256(), b = a, c = a, d = a;
        for (std::ptrdiff_t r = 0; r < rounds; ++r, p += 64) {
            a = _mm256_sub_epi16(a, matches(p));
            b = _mm256_sub_epi16(b, matches(p + 16));
            c = _mm256_sub_epi16(c, matches(p + 32));
            d = _mm256_sub_epi16(d, matches(p + 48));
        }
        for (const __m256i& l : {a, b, c, d}) {
            alignas(32) std::uint16_t counts[16];
            _mm256_store_si256(reinterpret_cast<__m256i*>(counts), l);
            for (const std::uint16_t n : counts)
                count += n;
        }
    }
    return count;
}

#endif

} // namespace

std::size_t CountCarriageReturns(std::u16string_view text)
{
    const char16_t* p = text.data();
    const char16_t* const end = p + text.size();
    std::size_t count = 0;
#if defined(OMBRIX_PICKS_AT_RUN_TIME)
    static const bool wide = __builtin_cpu_supports("avx2");
    if (wide)
        count += CountCarriageReturnsAvx2(p, end); // leaves fewer than 64
#endif
#if defined(__SSE2__)
    count += CountCarriageReturnsSse2(p, end); // leaves fewer than 32
#endif
    for (; p != end; ++p)
        count += *p == u'\r' ? 1 : 0;
    return count;
}

TextWriter BestTextWriter()
{
#if defined(OMBRIX_PICKS_AT_RUN_TIME)
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    return ssse3 ? TextWriter::Ssse3 : TextWriter::Sse2;
#elif defined(__SSE2__)
    return TextWriter::Sse2;
#else
    return TextWriter::Scalar;
#endif
}

char16_t* WriteTaggedText(char16_t* dst, std::u16string_view text, const std::vector<CodeChange>& changes,
                          const TagOptions& tags)
{
    static const TextWriter best = BestTextWriter();
    return WriteTaggedText(best, dst, text, changes, tags);
}

char16_t* WriteTaggedText(TextWriter writer, char16_t* dst, std::u16string_view text,
                          const std::vector<CodeChange>& changes, const TagOptions& tags)
{
    switch (writer) {
#if defined(OMBRIX_PICKS_AT_RUN_TIME)
    case TextWriter::Ssse3: return WriteSsse3(dst, text, changes, tags);
#endif
#if defined(__SSE2__)
    case TextWriter::Sse2: return WriteSse2(dst, text, changes, tags);
#endif
    default: return WriteScalar(dst, text, changes, tags);
    }
}

} // namespace modOmbrix
