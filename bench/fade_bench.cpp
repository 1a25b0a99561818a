// FadeText against a plain copy of a buffer as large as its output, per character.
#include "engine/DefaultSettings.h"
#include "engine/FadeText.h"

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

// A chatty message: words, spaces and a line break now and then.
std::u16string Message(std::size_t length)
{
    const std::u16string words = u"Hello there, how are you doing today?\r\nFine thanks ";
    std::u16string text;
    while (text.size() < length)
        text += words;
    text.resize(length);
    return text;
}

void BM_Fade(benchmark::State& state, std::int32_t colours, std::int16_t tags)
{
    const Settings settings(colours, tags);
    const std::u16string text = Message(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(modOmbrix::FadeText(text, settings, settings));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["ns_per_char"] = benchmark::Counter(static_cast<double>(state.range(0)) / 1e9,
                                                       benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert);
}

// Copies a buffer as large as the output FadeText builds for the same case.
void BM_CopyBaseline(benchmark::State& state, std::int32_t colours, std::int16_t tags)
{
    const Settings settings(colours, tags);
    const std::u16string output =
        modOmbrix::FadeText(Message(static_cast<std::size_t>(state.range(0))), settings, settings);
    for (auto _ : state) {
        std::u16string copy(output);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["ns_per_char"] = benchmark::Counter(static_cast<double>(state.range(0)) / 1e9,
                                                       benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK_CAPTURE(BM_Fade, six_colours_end_tags, 6, 1)->Arg(6553);
BENCHMARK_CAPTURE(BM_CopyBaseline, six_colours_end_tags, 6, 1)->Arg(6553);
BENCHMARK_CAPTURE(BM_Fade, two_colours, 2, 0)->Arg(32766);
BENCHMARK_CAPTURE(BM_CopyBaseline, two_colours, 2, 0)->Arg(32766);
BENCHMARK_CAPTURE(BM_Fade, one_colour, 1, 0)->Arg(32766);
BENCHMARK_CAPTURE(BM_CopyBaseline, one_colour, 1, 0)->Arg(32766);
