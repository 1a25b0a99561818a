// The generator on any colour table, tag options and text the fuzzer finds. Beyond not
// crashing: the output is what the rules applied position by position give, and taking
// the tags out (and turning <BR> back into CR LF) gives the text back.
#include "cli/FadeCommand.h"
#include "engine/Fade.h"
#include "fuzz/FuzzInput.h"
#include "tests/engine/LiteralFade.h"

#include <array>
#include <cstdlib>
#include <cstdio>

namespace {

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "fade_fuzz: %s\n", what);
    std::abort();
}

// The text back from the output: every tag out, every <BR> a CR LF again. The text
// given to the generator holds no '<', so every '<' of the output starts markup.
std::u16string Untagged(std::u16string_view html, bool finalTag)
{
    constexpr std::u16string_view kFinal = u"</FONT> ";
    if (finalTag) {
        if (!html.ends_with(kFinal))
            Fail("the final tag is missing");
        html.remove_suffix(kFinal.size());
    }
    std::u16string text;
    for (std::size_t i = 0; i < html.size();) {
        if (html[i] != u'<') {
            text += html[i++];
            continue;
        }
        const std::size_t close = html.find(u'>', i);
        if (close == std::u16string_view::npos)
            Fail("unclosed markup");
        const std::u16string_view tag = html.substr(i, close + 1 - i);
        if (tag == u"<BR>")
            text += u"\r\n";
        else if (tag != u"</FONT>" && !(tag.starts_with(u"<FONT COLOR=") && tag.size() == 19))
            Fail("unexpected markup");
        i = close + 1;
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ombrix::fuzz::FuzzInput input(data, size);
    ombrix::cli::FixedSettings settings;
    settings.colourCount = 1 + input.Byte() % 6;
    for (auto& slot : settings.levels)
        for (auto& level : slot)
            level = static_cast<std::int16_t>(input.Byte() % 17);
    settings.fontTags = static_cast<std::int16_t>(input.Byte() % 3);
    settings.finalFontTag = static_cast<std::int16_t>(input.Byte() % 3);
    std::u16string text = input.RestAsUnits();
    for (char16_t& unit : text)
        if (unit == u'<')
            unit = u'>';

    std::u16string html;
    try {
        html = modOmbrix::FadeText(text, settings, settings);
    } catch (const modOmbrix::TextTooLongError&) {
        if (text.size() <= static_cast<std::size_t>(modOmbrix::MaxTextLength(settings.colourCount)))
            Fail("a text within the limit was refused");
        return 0;
    }
    if (html != ombrix::test::LiteralFade(text, settings, settings))
        Fail("the output differs from the rules applied position by position");
    if (Untagged(html, settings.fontTags == 1 || settings.finalFontTag == 1) != text)
        Fail("taking the tags out does not give the text back");
    return 0;
}
