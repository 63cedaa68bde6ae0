// The frame rule row by row: how each kind of run copies its pixels from the picture into
// the output. Every variant gives exactly what the rule pixel by pixel gives.

#include "effects/WaveGenerator.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <utility>

namespace ml {

// Every pixel of row y writes at most one output pixel, and a row only writes rows at or
// above itself, so the runs of a row may go in any order; only the rows keep theirs.
void TWaveGenerator::DisplaceRow(int y, bool covering) {
    const TRowShifts& shift = Shifts[static_cast<std::size_t>(y)];
    for (const TRun& run : Water.Row(y)) {
        const TShift s = shift[static_cast<std::size_t>(run.Area)];
        if (MaxJitter[static_cast<std::size_t>(run.Area)] == 0)
            CopySteadyRun(y, run, s);
        else if (run.Copy == TRunCopy::Covered && covering)
            continue; // its output row is filled afterwards
        else if (run.Copy != TRunCopy::Checked && s.WithinReach)
            CopyInnerRun(y, run, s);
        else
            CopyJitteredRun(y, run, s);
    }
}

template <class Copy>
void TWaveGenerator::ForEachSharedSpan(int row1, int row2, int area, int from, int to,
                                       Copy copy) const {
    auto firstRun = [&](int row) {
        const std::span<const TRun> runs = Water.Row(row);
        return std::pair{std::partition_point(runs.begin(), runs.end(),
                                              [from](const TRun& r) { return r.X1 <= from; }),
                         runs.end()};
    };
    auto [i, iEnd] = firstRun(row1);
    auto [j, jEnd] = firstRun(row2);
    while (i != iEnd && j != jEnd && i->X0 < to && j->X0 < to) {
        if (i->Area != area) {
            ++i;
            continue;
        }
        if (j->Area != area) {
            ++j;
            continue;
        }
        const int start = std::max({from, i->X0, j->X0});
        const int stop = std::min({to, i->X1, j->X1});
        if (start < stop)
            copy(start, stop);
        if (i->X1 < j->X1)
            ++i;
        else
            ++j;
    }
}

// A run without jitter reads one source row and writes its own row. The source column may be
// clamped only at the picture's sides, so the run splits into a left edge part (all reading
// column 0), a middle part reading column x + dx, and a right edge part (all reading the last
// column). In the middle a pixel is copied where both its own row and the source row hold the
// area at the source column: the common stretches of the two rows' runs, each one memcpy.
void TWaveGenerator::CopySteadyRun(int y, const TRun& run, TShift shift) {
    const std::ptrdiff_t w = FrameWidth;
    const int a = run.Area;
    const int sy = static_cast<int>(std::clamp<std::int64_t>(y + shift.Dy, 0, FrameHeight - 1));
    const std::int8_t* targetAreas = Water.Areas() + y * w;
    const std::int8_t* sourceAreas = Water.Areas() + sy * w;
    const std::uint32_t* source = PicturePixels + sy * w;
    std::uint32_t* target = OutputPixels + y * w;

    const int dx = shift.Dx;
    auto fillEdge = [&](int from, int to, int sx) {
        if (from < to && targetAreas[sx] == a && sourceAreas[sx] == a)
            std::fill(target + from, target + to, source[sx]);
    };
    fillEdge(run.X0, std::min(run.X1, -dx), 0);
    const int middleFrom = std::max(run.X0, -dx);
    const int middleTo = std::min(run.X1, FrameWidth - dx);
    if (middleFrom < middleTo)
        ForEachSharedSpan(y, sy, a, middleFrom + dx, middleTo + dx, [&](int from, int to) {
            std::memcpy(target + from - dx, source + from,
                        static_cast<std::size_t>(to - from) * sizeof(std::uint32_t));
        });
    fillEdge(std::max(run.X0, FrameWidth - dx), run.X1, FrameWidth - 1);
}

// With jitter each column samples the wave at its own row offset and writes that row. Away
// from the picture's edges no row or column needs clamping, and the loop is a few integer
// operations per pixel on offsets into the three pixel arrays.
void TWaveGenerator::CopyJitteredRun(int y, const TRun& run, TShift shift) {
    const std::size_t area = static_cast<std::size_t>(run.Area);
    const std::int64_t dy = shift.Dy;
    const int dx = shift.Dx;
    const bool rowsInside =
        y - MaxJitter[area] >= 0 && y - MaxJitter[area] + dy >= 0 && y + dy <= FrameHeight - 1;
    int middleFrom = run.X0;
    int middleTo = run.X0;
    if (rowsInside) {
        middleFrom = std::min(run.X1, std::max(run.X0, -dx));
        middleTo = std::max(middleFrom, std::min(run.X1, FrameWidth - dx));
    }
    CopyJitteredClamped(y, run.X0, middleFrom, run.Area, shift);
    const std::int8_t a = static_cast<std::int8_t>(run.Area);
    const std::ptrdiff_t* base = JitterBase[area].data();
    const std::int8_t* areas = Water.Areas();
    // Local copies: the compiler cannot know that the stores below leave the members alone.
    const std::uint32_t* picture = PicturePixels;
    std::uint32_t* output = OutputPixels;
    const std::ptrdiff_t rowStart = std::ptrdiff_t{y} * FrameWidth;
    const std::ptrdiff_t down = rowsInside ? dy * FrameWidth : 0;
    for (int x = middleFrom; x < middleTo; ++x) {
        const std::ptrdiff_t t = rowStart + base[x];
        const std::ptrdiff_t s = t + down + dx;
        if (areas[t + dx] == a && areas[s] == a)
            output[t] = picture[s];
    }
    CopyJitteredClamped(y, std::max(middleTo, run.X0), run.X1, run.Area, shift);
}

// Inside the water the checks cannot fail, and each pixel is one read and one write.
void TWaveGenerator::CopyInnerRun(int y, const TRun& run, TShift shift) {
    const std::ptrdiff_t* base = JitterBase[static_cast<std::size_t>(run.Area)].data();
    const std::ptrdiff_t rowStart = std::ptrdiff_t{y} * FrameWidth;
    const std::uint32_t* source = PicturePixels + rowStart + shift.Dy * FrameWidth + shift.Dx;
    std::uint32_t* target = OutputPixels + rowStart;
    for (int x = run.X0; x < run.X1; ++x)
        target[base[x]] = source[base[x]];
}

void TWaveGenerator::CopyJitteredClamped(int y, int from, int to, int area, TShift shift) {
    const std::ptrdiff_t w = FrameWidth;
    const int lastRow = FrameHeight - 1;
    const int lastColumn = FrameWidth - 1;
    const std::int8_t a = static_cast<std::int8_t>(area);
    const int* jitter = Jitter[static_cast<std::size_t>(area)].data();
    const std::int8_t* areas = Water.Areas();
    for (int x = from; x < to; ++x) {
        const int t = y - jitter[x];
        const int ty = t < 0 ? 0 : t;
        const int sy = static_cast<int>(std::clamp<std::int64_t>(t + shift.Dy, 0, lastRow));
        const int sx = std::clamp(x + shift.Dx, 0, lastColumn);
        if (areas[ty * w + sx] == a && areas[sy * w + sx] == a)
            OutputPixels[ty * w + x] = PicturePixels[sy * w + sx];
    }
}

namespace {

// Eight pixels at a time in the compiler's vector arithmetic, which becomes the machine's
// vector instructions: a selection by jitter has no branch to mispredict. On x86-64 the loop
// is also built for AVX2, taken when the processor has it (it more than halves the time).
using TEightPixels = std::uint32_t __attribute__((vector_size(32)));
using TEightInts = std::int32_t __attribute__((vector_size(32)));
#if defined(__x86_64__)
#define ML_WITH_AVX2_CLONE __attribute__((target_clones("avx2", "default")))
#else
#define ML_WITH_AVX2_CLONE
#endif

// The sources of a covered row: the columns whose jitter is at least Reached[i] take
// Source[i], the last such i winning.
struct TCoveredSources {
    static constexpr std::size_t kMost = 4;
    std::size_t Count = 0;
    std::array<const std::uint32_t*, kMost> Source{};
    std::array<int, kMost> Reached{};
};

// Count is a template argument so that the selections unroll.
template <std::size_t Count>
inline __attribute__((always_inline)) void FillFrom(std::uint32_t* target,
                                                    const TCoveredSources& sources,
                                                    const int* jitter, int from, int to) {
    int x = from;
    for (; x + 8 <= to; x += 8) {
        TEightPixels result, other;
        TEightInts columnJitter;
        std::memcpy(&result, sources.Source[0] + x, sizeof result);
        std::memcpy(&columnJitter, jitter + x, sizeof columnJitter);
        for (std::size_t i = 1; i < Count; ++i) {
            std::memcpy(&other, sources.Source[i] + x, sizeof other);
            const auto take = reinterpret_cast<TEightPixels>(columnJitter >= sources.Reached[i]);
            result = (other & take) | (result & ~take);
        }
        std::memcpy(target + x, &result, sizeof result);
    }
    for (; x < to; ++x) {
        std::size_t i = Count - 1;
        while (jitter[x] < sources.Reached[i])
            --i;
        target[x] = sources.Source[i][x];
    }
}

ML_WITH_AVX2_CLONE void FillFrom(std::uint32_t* target, const TCoveredSources& sources,
                                 const int* jitter, int from, int to) {
    switch (sources.Count) {
    case 1:
        std::memcpy(target + from, sources.Source[0] + from,
                    static_cast<std::size_t>(to - from) * sizeof(std::uint32_t));
        break;
    case 2:
        FillFrom<2>(target, sources, jitter, from, to);
        break;
    case 3:
        FillFrom<3>(target, sources, jitter, from, to);
        break;
    default:
        FillFrom<4>(target, sources, jitter, from, to);
        break;
    }
}

} // namespace

// A covered output row takes, in each column, the pixel its one writer (the row below by the
// column's jitter) reads. Neighbouring rows mostly share their shift, so a row has only a few
// sources, each taken by the columns whose jitter reaches its writer rows. Many different
// shifts (a short, steep wave under a wide jitter) take one table look-up per pixel instead.
void TWaveGenerator::FillCoveredRow(int r, const TRun& run) {
    const std::size_t area = static_cast<std::size_t>(run.Area);
    const int maxJitter = MaxJitter[area];
    const std::ptrdiff_t w = FrameWidth;
    const std::uint32_t* picture = PicturePixels + r * w;
    auto source = [&](int k) {
        const TShift& s = Shifts[static_cast<std::size_t>(r + k)][area];
        return picture + s.Dy * w + s.Dx;
    };
    const int* jitter = Jitter[area].data();
    std::uint32_t* target = OutputPixels + r * w;
    TCoveredSources sources;
    for (int k = 0; k <= maxJitter; ++k) {
        if (k > 0 && source(k) == source(k - 1))
            continue;
        if (sources.Count == TCoveredSources::kMost) {
            for (int x = run.X0; x < run.X1; ++x)
                target[x] = source(jitter[x])[x];
            return;
        }
        sources.Source[sources.Count] = source(k);
        sources.Reached[sources.Count] = k;
        ++sources.Count;
    }
    FillFrom(target, sources, jitter, run.X0, run.X1);
}

} // namespace ml
