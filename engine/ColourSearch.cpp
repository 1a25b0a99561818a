#include "engine/ColourSearch.h"

#include "engine/Checked16.h"
#include "engine/ColourMath.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>

namespace modOmbrix {
namespace {

[[noreturn, gnu::cold, gnu::noinline]] void ThrowNotAByte(std::int16_t v)
{
    throw OverflowError("channel value outside 0..255: " + std::to_string(v));
}

// The grid step of every byte 0..255, looked up on the per-position path. A colour code
// is kept as its three steps: equal steps are equal six-character codes.
constexpr std::array<std::uint8_t, 256> kGridSteps = [] {
    std::array<std::uint8_t, 256> steps{};
    for (std::uint32_t b = 0; b < 256; ++b)
        steps[b] = static_cast<std::uint8_t>(GridStep(static_cast<std::uint8_t>(b)));
    return steps;
}();

[[noreturn, gnu::cold, gnu::noinline]] void ThrowNotAByte(double rounded)
{
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        ThrowInterpolationOverflow();
    ThrowNotAByte(static_cast<std::int16_t>(rounded));
}

// The colour code of every position of a text of n characters, computed as the fade
// rules say, and the positions where it changes.
class CodeSearch {
public:
    CodeSearch(const ColourTable& colours, std::int16_t n, std::int16_t segments)
        : n_(n), s_(segments), scale_(segments > 0 ? static_cast<double>(n) / segments : 0.0),
          margin_(MarginFor(scale_))
    {
        // Entries above s stay 0; entry s + 1 is read, with t = 0, at the last character.
        for (int i = 0; i <= s_; ++i)
            for (const Channel c : {Channel::Red, Channel::Green, Channel::Blue})
                bytes_[static_cast<std::size_t>(c)].at(static_cast<std::size_t>(i)) = LevelToByte(colours.Level(i, c));
    }

    // Every position whose code differs from the one before (position 1 always does), in
    // order. The positions of one segment share k, and there each channel's step moves
    // monotonically with the position. So a segment's changes are where a channel first
    // reaches each step between its first and last, which the straight line the channel
    // follows tells, or where that is too close to call, the colours around it.
    std::vector<ColourChange> Changes() const
    {
        if (n_ == 0)
            return {};
        std::array<Span, kSlotCount> spans; // written before it is read
        const std::size_t spanCount = Spans(spans);
        // Room for the most the spans can have; only what they have is kept.
        std::array<ColourChange, kSlotCount*(1 + 3 * kMaxRun)> found; // written before it is read
        ColourChange* out = found.data();
        for (std::size_t j = 0; j < spanCount; ++j) {
            const Span& span = spans.at(j);
            if (j == 0 || span.first != spans.at(j - 1).last)
                *out++ = {span.lo, span.first};
            // Each moving channel's crossings in position order, each run closed by
            // kAfterAll; most spans move one or two channels, and a merge of fewer runs
            // is quicker.
            std::array<std::uint32_t, 3 * (kMaxRun + 1)> crossings; // written before it is read
            std::array<const std::uint32_t*, 3> runs{};
            std::size_t moving = 0;
            std::uint32_t* end = crossings.data();
            for (int c = 0; c < 3; ++c) {
                std::uint32_t* const run = end;
                end = FindCrossings(span, c, run);
                if (end == run)
                    continue;
                runs.at(moving++) = run;
                *end++ = kAfterAll;
            }
            const auto count = static_cast<std::size_t>(end - crossings.data()) - moving;
            if (moving == 1)
                out = MergeCrossings<1>(span.first, runs, count, out);
            else if (moving == 2)
                out = MergeCrossings<2>(span.first, runs, count, out);
            else if (moving == 3)
                out = MergeCrossings<3>(span.first, runs, count, out);
        }
        return {found.data(), out};
    }

private:
    static constexpr std::size_t kMaxRun = 16; // steps a channel can take: 0 .. 16
    static constexpr std::uint32_t kAfterAll = std::numeric_limits<std::uint32_t>::max();
    // A position's fraction i x s / n, rounded to binary32 (below 8), is at most 2^-21 off,
    // so its byte is at most 2^-21 x |b - a| off the straight line; the line rises
    // |b - a| x s / n a position. So a position more than 2^-21 x n / s from where the
    // line crosses a byte lies on the side the line says (the rest of the arithmetic is
    // exact in double). The margin is that distance for this n / s, with a quarter more
    // to spare: a fixed one for the largest n / s, 32766, would send a crossing to the
    // rules' own arithmetic about twenty times as often with six colours.
    static constexpr double kFractionError = 0x1p-21;
    static double MarginFor(double positionsPerSegment) { return 1.25 * kFractionError * positionsPerSegment + 1e-9; }

    // What a channel's byte is made of inside one segment: a + (b - a) x t.
    struct Line {
        double start;
        double rise;
    };
    struct Segment {
        std::int16_t k;
        std::array<Line, 3> lines;
    };
    // The positions lo .. hi of one segment and the codes at both ends.
    struct Span {
        Segment segment;
        std::int16_t lo;
        std::int16_t hi;
        std::uint32_t first;
        std::uint32_t last;
    };

    float Fraction(std::int32_t i) const
    {
        const std::int16_t pos = checked::Mul(static_cast<std::int16_t>(i), s_);
        return static_cast<float>(static_cast<double>(pos) / static_cast<double>(n_));
    }

    // Filled in place: a Segment built apart and copied in would be read back whole just
    // after its first field was written, which the processor cannot forward.
    void FillSegment(Segment& segment, std::int16_t k) const
    {
        segment.k = k;
        for (std::size_t c = 0; c < 3; ++c) {
            const std::int16_t a = bytes_[c].at(static_cast<std::size_t>(k));
            segment.lines[c] = {static_cast<double>(a),
                                static_cast<double>(checked::Sub(bytes_[c].at(static_cast<std::size_t>(k) + 1), a))};
        }
    }

    // A channel's step where the segment's fraction is t: Interpolate's arithmetic (a +
    // (b - a) x t in double, rounded half to even), then the byte's grid step.
    static std::uint32_t StepOn(const Line& line, float t)
    {
        const double rounded = checked::RoundHalfEven(line.rise * static_cast<double>(t) + line.start);
        if (!(rounded >= 0.0 && rounded <= 255.0)) [[unlikely]]
            ThrowNotAByte(rounded);
        return kGridSteps[static_cast<std::size_t>(rounded)];
    }

    float FractionOn(const Segment& segment, std::int32_t i) const
    {
        return Fraction(i) - static_cast<float>(segment.k);
    }

    std::uint32_t StepOn(const Segment& segment, int channel, std::int32_t i) const
    {
        return StepOn(segment.lines[static_cast<std::size_t>(channel)], FractionOn(segment, i));
    }

    std::uint32_t CodeOn(const Segment& segment, std::int32_t i) const
    {
        const float t = FractionOn(segment, i);
        return StepOn(segment.lines[0], t) << 16 | StepOn(segment.lines[1], t) << 8 | StepOn(segment.lines[2], t);
    }

    static std::uint32_t StepOf(std::uint32_t code, int channel) { return (code >> (16 - 8 * channel)) & 0xFFU; }

    // The segments that hold positions, in order (a short text skips some), with the
    // codes at their ends; returns how many there are.
    std::size_t Spans(std::array<Span, kSlotCount>& spans) const
    {
        std::size_t count = 0;
        std::int16_t next = 1; // segment 0 starts at position 1 (or is empty)
        for (std::int16_t k = 0; k <= s_; ++k) {
            const std::int16_t lo = next;
            next = k == s_ ? static_cast<std::int16_t>(n_ + 1) : FirstOfSegment(k + 1, n_, s_);
            const auto hi = static_cast<std::int16_t>(next - 1);
            if (lo > hi)
                continue;
            Span& span = spans.at(count++);
            FillSegment(span.segment, k);
            span.lo = lo;
            span.hi = hi;
            span.first = CodeOn(span.segment, lo);
            span.last = lo == hi ? span.first : CodeOn(span.segment, hi);
        }
        return count;
    }

    // Writes, in position order, a crossing for every step the channel takes between the
    // span's ends: the first position where the channel has reached that step, packed
    // with the step so that the numbers order by position. Returns the end of what it
    // wrote.
    std::uint32_t* FindCrossings(const Span& span, int channel, std::uint32_t* out) const
    {
        const auto from = static_cast<std::int32_t>(StepOf(span.first, channel));
        const auto to = static_cast<std::int32_t>(StepOf(span.last, channel));
        if (to == from)
            return out; // monotonic: nothing in between either
        const std::int32_t direction = to > from ? 1 : -1;
        const Line& line = span.segment.lines[static_cast<std::size_t>(channel)];
        // Where the straight line a + (b - a) x (i x s / n - k) crosses a byte, as a
        // position. This needs no exact division: a multiplication stands in for it.
        const double perByte = scale_ / line.rise;
        const double start = span.segment.k * scale_ - line.start * perByte;
        // The byte where the step to `target` flips (a tie of bytes / 16 goes to the even
        // step), then half a byte for the rounding of the interpolated value.
        const auto flipByte = [&](std::int32_t target) {
            return 16.0 * target + ((target & 1) != 0 ? 7.5 : 8.5) * -direction;
        };
        for (std::int32_t target = from + direction; target != to + direction; target += direction) {
            const double crossing = std::clamp(start + flipByte(target) * perByte, 0.0, static_cast<double>(span.hi));
            const auto whole = static_cast<std::int32_t>(crossing); // truncating a positive number: the floor
            const double fraction = crossing - whole;
            std::int32_t i = whole + 1;
            const bool clear = std::abs(fraction - 0.5) < 0.5 - margin_;
            const bool inside =
                static_cast<std::uint32_t>(i - span.lo - 1) < static_cast<std::uint32_t>(span.hi - span.lo);
            if (clear && inside) [[likely]] {
                *out++ = Pack(i, channel, static_cast<std::uint32_t>(target));
                continue;
            }
            // Too close to a position for the line to tell: the rules' own arithmetic does.
            i = std::clamp(whole + (fraction > 0.0 ? 1 : 0), span.lo + 1, std::int32_t{span.hi});
            const auto reached = [&](std::uint32_t step) {
                return (static_cast<std::int32_t>(step) - target) * direction >= 0;
            };
            // Settle moves i: take the step first, then pack the position it settled on.
            const std::uint32_t step = Settle(span, channel, reached, i);
            *out++ = Pack(i, channel, step);
        }
        return out;
    }

    static std::uint32_t Pack(std::int32_t position, int channel, std::uint32_t step)
    {
        return static_cast<std::uint32_t>(position) << 8 | static_cast<std::uint32_t>(channel) << 6 | step;
    }

    // Walks from i to the first position in lo+1 .. hi where `reached` holds for the
    // channel's step, and returns that step.
    template <typename Reached>
    std::uint32_t Settle(const Span& span, int channel, const Reached& reached, std::int32_t& i) const
    {
        const auto stepAt = [&](std::int32_t at) { return StepOn(span.segment, channel, at); };
        // The line put the step within a hair of i, so the answer is nearly always i or a
        // neighbour: the three are worked out side by side, not each after the one before.
        const bool hasBefore = i > span.lo + 1;
        const bool hasAfter = i < span.hi;
        std::uint32_t here = stepAt(i);
        const std::uint32_t stepBefore = hasBefore ? stepAt(i - 1) : 0;
        const std::uint32_t stepAfter = hasAfter ? stepAt(i + 1) : 0;
        if (reached(here) && (!hasBefore || !reached(stepBefore)))
            return here;
        if (!reached(here) && hasAfter && reached(stepAfter)) {
            ++i;
            return stepAfter;
        }
        // Further off than a neighbour: walk.
        if (reached(here)) {
            for (std::uint32_t before = 0; i > span.lo + 1 && reached(before = stepAt(i - 1)); --i)
                here = before; // lo itself has not reached it
        } else {
            while (i < span.hi && !reached(here)) // hi always has reached it
                here = stepAt(++i);
        }
        return here;
    }

    // Adds the changes after a span's first position, whose code is `code`: the first
    // kRuns runs of crossings (one for each moving channel), merged. Crossings of
    // different channels never pack to the same number, so each round takes exactly one,
    // with no branch on which. A run is taken in its order, so where a channel takes two
    // steps at one position, the code ends with the second. Writes from `out`, whose
    // out[-1] is an earlier change, and returns the end of what it wrote.
    template <std::size_t kRuns>
    static ColourChange* MergeCrossings(std::uint32_t code, std::array<const std::uint32_t*, 3> runs, std::size_t count,
                                        ColourChange* out)
    {
        std::int16_t last = out[-1].position; // kept here, not read back from what was just stored
        for (std::size_t n = 0; n < count; ++n) {
            std::uint32_t first = *runs[0];
            for (std::size_t c = 1; c < kRuns; ++c)
                first = std::min(first, *runs[c]);
            for (std::size_t c = 0; c < kRuns; ++c)
                runs[c] += *runs[c] == first ? 1 : 0;
            const unsigned shift = 16 - 8 * ((first >> 6) & 3U);
            code = (code & ~(0xFFU << shift)) | (first & 63U) << shift;
            const auto position = static_cast<std::int16_t>(first >> 8);
            // Crossings at one position make one change, with the code after all of them.
            out -= last == position ? 1 : 0;
            *out++ = {position, code};
            last = position;
        }
        return out;
    }

    std::int16_t n_;
    std::int16_t s_;
    double scale_; // positions a segment: n / s
    double margin_;
    std::array<std::array<std::int16_t, kSlotCount + 1>, 3> bytes_{};
};

} // namespace

std::int16_t FirstOfSegment(std::int32_t k, std::int16_t n, std::int16_t s)
{
    return static_cast<std::int16_t>((k * n + s - 1) / s);
}

std::vector<ColourChange> FindCodeChanges(const ColourTable& colours, std::int16_t length, std::int16_t segments)
{
    return CodeSearch(colours, length, segments).Changes();
}

} // namespace modOmbrix
