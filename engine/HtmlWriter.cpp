#include "engine/HtmlWriter.h"

#include "engine/ColourMath.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace modOmbrix {
namespace {

constexpr std::u16string_view kLineBreak = u"<BR>";
constexpr std::u16string_view kOpenTag = u"<FONT COLOR=";
constexpr std::u16string_view kCloseTag = u"</FONT>";
constexpr std::u16string_view kFinalTag = u"</FONT> ";
constexpr std::size_t kLongestTag = 26; // "</FONT><FONT COLOR=RRGGBB>"

char16_t* Put(char16_t* dst, std::u16string_view s) { return std::copy(s.begin(), s.end(), dst); }

char16_t* PutTag(char16_t* dst, std::uint32_t code, bool closeFirst)
{
    if (closeFirst)
        dst = Put(dst, kCloseTag);
    dst = Put(dst, kOpenTag);
    for (const unsigned shift : {16U, 8U, 0U}) {
        const auto& digits = kStepDigits.at((code >> shift) & 0xFFU);
        *dst++ = digits[0];
        *dst++ = digits[1];
    }
    *dst++ = u'>';
    return dst;
}

// Runs are copied in blocks of this many characters.
constexpr std::ptrdiff_t kCopyBlock = 8;

// Whether a block holds a CR, in plain integer arithmetic on 64-bit words of four
// characters each, a few instructions whatever the compiler: a character equal to CR
// is a 16-bit lane of zeros in the word XOR four CRs, and (x - 1) & ~x & 0x8000 in
// every lane is nonzero exactly when some lane is zero (the classic zero-byte test).
bool HasCarriageReturn(const char16_t* block)
{
    constexpr std::uint64_t kLanes = 0x0001000100010001U;
    std::uint64_t found = 0;
    for (std::ptrdiff_t i = 0; i < kCopyBlock; i += 4) {
        std::uint64_t four = 0;
        std::memcpy(&four, block + i, sizeof four);
        const std::uint64_t x = four ^ (kLanes * u'\r');
        found |= (x - kLanes) & ~x & (kLanes << 15);
    }
    return found != 0;
}

// Copies one character, or a CR LF pair as "<BR>", and moves both pointers past it.
void CopyOne(char16_t*& dst, const char16_t*& p, const char16_t* end)
{
    if (*p == u'\r' && end - p >= 2 && p[1] == u'\n') {
        dst = Put(dst, kLineBreak);
        p += 2;
    } else {
        *dst++ = *p++;
    }
}

// Copies the characters from p to end, every CR LF pair among them as "<BR>", a block
// at a time: a block without a CR (nearly every block of a chatty message) whole, a
// block with one up to its first CR whole and from there character by character.
char16_t* CopyRun(char16_t* dst, const char16_t* p, const char16_t* end)
{
    while (end - p >= kCopyBlock) {
        // Each character of the run writes at least one, so this stays inside what the
        // run writes; what follows a CR is written again below.
        std::copy_n(p, kCopyBlock, dst);
        if (!HasCarriageReturn(p)) {
            p += kCopyBlock;
            dst += kCopyBlock;
            continue;
        }
        const char16_t* const blockEnd = p + kCopyBlock;
        const std::ptrdiff_t before = std::find(p, blockEnd, u'\r') - p;
        p += before;
        dst += before;
        while (p < blockEnd)
            CopyOne(dst, p, end); // a pair may end one past the block
    }
    while (p < end)
        CopyOne(dst, p, end);
    return dst;
}

} // namespace

std::u16string WriteHtml(std::u16string_view text, const std::vector<ColourChange>& changes, const TagOptions& tags)
{
    // Sized once for the most it can take and trimmed: two characters for each of the
    // text's (a CR LF pair becomes four), and a closing tag before every tag (the option
    // is read at each tag, as it is written). Cheaper than counting the pairs first.
    std::u16string out(2 * text.size() + changes.size() * kLongestTag + kFinalTag.size(), u'\0');
    char16_t* dst = out.data();
    const char16_t* p = text.data();
    for (const ColourChange& change : changes) {
        const char16_t* const at = text.data() + (change.position - 1);
        dst = CopyRun(dst, p, at); // a change never falls on a CR or LF: no pair is split
        p = at;
        dst = PutTag(dst, change.code, tags.FontTagsValue() == 1 && change.position > 1);
    }
    dst = CopyRun(dst, p, text.data() + text.size());
    const bool closingTags = tags.FontTagsValue() == 1;
    const bool finalTag = tags.FinalFontTagValue() == 1;
    if (closingTags || finalTag)
        dst = Put(dst, kFinalTag);
    out.resize(static_cast<std::size_t>(dst - out.data()));
    return out;
}

} // namespace modOmbrix
