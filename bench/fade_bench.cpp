// FadeText against a plain copy of a buffer as large as its output, per character.
#include "engine/DefaultSettings.h"
#include "engine/Fade.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

class Settings final : public modOmbrix::ColourTable, public modOmbrix::TagOptions {
public:
    Settings(std::int32_t count, std::int16_t tags) : count_(count), tags_(tags) {}
    std::int32_t ColourCount() const override { return count_; }
    std::int16_t Level(int slot, modOmbrix::Channel c) const override
    {
        return modOmbrix::kDefaultLevels.at(static_cast<std::size_t>(slot)).at(static_cast<std::size_t>(c));
    }
    std::int16_t FontTagsValue() const override { return tags_; }
    std::int16_t FinalFontTagValue() const override { return 0; }

private:
    std::int32_t count_;
    std::int16_t tags_;
};

// A text of the given length made by repeating a pattern.
std::u16string Repeat(std::u16string_view pattern, std::size_t length)
{
    std::u16string text;
    while (text.size() < length)
        text += pattern;
    text.resize(length);
    return text;
}

// The shapes of text timed: a chatty message (words, spaces and a line break now and
// then), and the extremes of line breaks (each becomes <BR>), characters outside the BMP
// (surrogate pairs, whose second halves take no tag) and separators (no tag before any).
enum class Shape { Chatty, LineBreaks, Emoji, Separators };

std::u16string Text(Shape shape, std::size_t length)
{
    switch (shape) {
    case Shape::Chatty: return Repeat(u"Hello there, how are you doing today?\r\nFine thanks ", length);
    case Shape::LineBreaks: return Repeat(u"\r\n", length);
    case Shape::Emoji: return Repeat(u"\U0001F600", length);
    case Shape::Separators: return Repeat(u" \r\n  \r\n", length);
    }
    return {};
}

void SetCounters(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["ns_per_char"] =
        benchmark::Counter(static_cast<double>(state.range(0)) / 1e9,
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Fade(benchmark::State& state, Shape shape, std::int32_t colours, std::int16_t tags)
{
    const Settings settings(colours, tags);
    const std::u16string text = Text(shape, static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(modOmbrix::FadeText(text, settings, settings));
    SetCounters(state);
}

// Copies a buffer as large as the output FadeText builds for the same case.
void BM_CopyBaseline(benchmark::State& state, Shape shape, std::int32_t colours, std::int16_t tags)
{
    const Settings settings(colours, tags);
    const std::u16string output =
        modOmbrix::FadeText(Text(shape, static_cast<std::size_t>(state.range(0))), settings, settings);
    for (auto _ : state) {
        std::u16string copy(output);
        benchmark::DoNotOptimize(copy.data());
    }
    SetCounters(state);
}

} // namespace

#define OMBRIX_FADE_CASE(name, shape, colours, tags, length)                                                           \
    BENCHMARK_CAPTURE(BM_Fade, name, Shape::shape, colours, tags)->Arg(length);                                        \
    BENCHMARK_CAPTURE(BM_CopyBaseline, name, Shape::shape, colours, tags)->Arg(length)

OMBRIX_FADE_CASE(six_colours_end_tags, Chatty, 6, 1, 6553);
OMBRIX_FADE_CASE(two_colours, Chatty, 2, 0, 32766);
OMBRIX_FADE_CASE(one_colour, Chatty, 1, 0, 32766);
OMBRIX_FADE_CASE(line_breaks_one_colour, LineBreaks, 1, 0, 32766);
OMBRIX_FADE_CASE(line_breaks_six_colours, LineBreaks, 6, 1, 6553);
OMBRIX_FADE_CASE(emoji_two_colours, Emoji, 2, 0, 32766);
OMBRIX_FADE_CASE(emoji_six_colours_end_tags, Emoji, 6, 1, 6553);
OMBRIX_FADE_CASE(separators_two_colours, Separators, 2, 0, 32766);
