// The frame rule row by row: how each kind of run copies its pixels from the picture into
// the output. Every variant gives exactly what the rule pixel by pixel gives.

#include "effects/WaveGenerator.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <utility>

namespace ml {

namespace {

// Where the water meets the shore the area checks go either way at random: a selection by
// mask, with both values read, costs the same every time where a branch would mispredict.
inline std::uint32_t Select(bool first, std::uint32_t a, std::uint32_t b) {
    const std::uint32_t mask = 0u - static_cast<std::uint32_t>(first);
    return (a & mask) | (b & ~mask);
}

} // namespace

// Every pixel of row y writes at most one output pixel, and a row only writes rows at or
// above itself, so the runs of a row may go in any order; only the rows keep theirs.
void TWaveGenerator::DisplaceRow(int y, bool byOutputRows) {
    const TRowShifts& shift = Shifts[static_cast<std::size_t>(y)];
    for (const TRun& run : Water.Row(y)) {
        const TShift s = shift[static_cast<std::size_t>(run.Area)];
        const int jitter = MaxJitter[static_cast<std::size_t>(run.Area)];
        if (jitter == 0) {
            CopySteadyRun(y, run, s);
            Touched[static_cast<std::size_t>(y)] = 1;
        } else if (run.Copy == TRunCopy::Checked || !byOutputRows) {
            CopyJitteredRun(y, run, s);
            std::fill(Touched.begin() + std::max(y - jitter, 0), Touched.begin() + y + 1, 1);
        }
        // Owned and covered pixels are left to their output rows.
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
        output[t] = Select((areas[t + dx] == a) & (areas[s] == a), picture[s], output[t]);
    }
    CopyJitteredClamped(y, std::max(middleTo, run.X0), run.X1, run.Area, shift);
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
        std::uint32_t& target = OutputPixels[ty * w + x];
        target = Select((areas[ty * w + sx] == a) & (areas[sy * w + sx] == a),
                        PicturePixels[sy * w + sx], target);
    }
}

} // namespace ml
