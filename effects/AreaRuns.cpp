#include "effects/AreaRuns.h"

#include <algorithm>

namespace ml {

namespace {

constexpr std::uint8_t kInnerBit = 1;
constexpr std::uint8_t kCoveredBit = 2;

} // namespace

void TAreaRuns::Build(const TBitmap& areaMap, int width, int height) {
    Width = width;
    Height = height;
    FirstRows.fill(kEmptyFirstRow);
    LastRows.fill(kEmptyLastRow);
    const std::size_t w = static_cast<std::size_t>(width);
    Index.assign(w * static_cast<std::size_t>(height), -1);
    Runs.clear();
    RowRuns.assign(static_cast<std::size_t>(height) + 1, 0);
    Covered.clear();
    CoveredRows.assign(static_cast<std::size_t>(height) + 1, 0);
    const int mapWidth = std::min(width, areaMap.Width());
    const int mapHeight = std::min(height, areaMap.Height());
    for (int r = 0; r < height; ++r) {
        std::int8_t* areas = &Index[static_cast<std::size_t>(r) * w];
        if (r < mapHeight) {
            const std::uint32_t* map = areaMap.ScanLine(r);
            for (int c = 0; c < mapWidth; ++c) {
                const std::uint32_t value = map[c] & 0x00FFFFFFu;
                for (int n = 1; n <= kAreaCount; ++n) {
                    if (value != AreaColors[n])
                        continue;
                    FirstRows[n - 1] = std::min(FirstRows[n - 1], r);
                    LastRows[n - 1] = std::max(LastRows[n - 1], r);
                    areas[c] = static_cast<std::int8_t>(n - 1);
                }
            }
        }
        for (int c = 0; c < width;) {
            const int area = areas[c];
            const int start = c;
            while (c < width && areas[c] == area)
                ++c;
            if (area >= 0)
                Runs.push_back({start, c, area});
        }
        RowRuns[static_cast<std::size_t>(r) + 1] = Runs.size();
    }
}

// Sets bit at (x, r) where rows r - up .. r + down and columns x - side .. x + side all lie in
// the picture and hold the area: a count per column of the area's rows ending at the window's
// bottom row finds the rows, and the stretches of whole columns lose side at either end.
void TAreaRuns::MarkSolid(std::vector<std::uint8_t>& mask, std::uint8_t bit, int area,
                          std::int64_t up, std::int64_t down, std::int64_t side) const {
    const std::int64_t rows = up + down + 1;
    if (rows > Height || 2 * side >= Width)
        return;
    const std::size_t w = static_cast<std::size_t>(Width);
    std::vector<std::int64_t> above(w, 0);
    for (int bottom = 0; bottom < Height; ++bottom) {
        const std::int8_t* areas = &Index[static_cast<std::size_t>(bottom) * w];
        for (std::size_t x = 0; x < w; ++x)
            above[x] = areas[x] == area ? above[x] + 1 : 0;
        const std::int64_t r = bottom - down;
        if (r < up)
            continue;
        std::uint8_t* marks = &mask[static_cast<std::size_t>(r) * w];
        for (std::int64_t x = 0; x < Width;) {
            if (above[static_cast<std::size_t>(x)] < rows) {
                ++x;
                continue;
            }
            const std::int64_t start = x;
            while (x < Width && above[static_cast<std::size_t>(x)] >= rows)
                ++x;
            for (std::int64_t c = start + side; c < x - side; ++c)
                marks[c] |= bit;
        }
    }
}

// A pixel of row y and column x writes output row r = y - jitter. It is inner when rows
// r - reach .. r + reach hold its area over its sideways reach. Its output pixel is covered
// when, beyond that, rows r .. r + MaxJitter hold the area in its column (so the one pixel of
// the area that writes it unclamped exists, whatever the jitter, and comes after any pixel
// above it whose row was clamped to the top) and row r holds the area as far sideways as any
// area's shift reaches (so no other area's pixel passes its checks there).
void TAreaRuns::Plan(const TJitterReach& reach) {
    std::int64_t sideAll = 0;
    for (std::size_t i = 0; i < kAreaCount; ++i)
        if (FirstRows[i] <= LastRows[i])
            sideAll = std::max(sideAll, reach.Columns[i]);
    const std::size_t w = static_cast<std::size_t>(Width);
    std::vector<std::uint8_t> mask;
    for (std::size_t i = 0; i < kAreaCount; ++i) {
        if (reach.MaxJitter[i] == 0 || FirstRows[i] > LastRows[i])
            continue;
        if (mask.empty())
            mask.assign(w * static_cast<std::size_t>(Height), 0);
        const int area = static_cast<int>(i);
        MarkSolid(mask, kInnerBit, area, reach.Rows[i], reach.Rows[i], reach.Columns[i]);
        MarkSolid(mask, kCoveredBit, area, reach.Rows[i],
                  std::max<std::int64_t>(reach.Rows[i], reach.MaxJitter[i]), sideAll);
    }
    if (mask.empty())
        return;

    std::vector<TRun> runs;
    runs.reserve(Runs.size());
    std::size_t rowStart = 0;
    auto add = [&](std::vector<TRun>& to, int x0, int x1, int area, TRunCopy copy) {
        if (to.size() > rowStart && to.back().X1 == x0 && to.back().Area == area &&
            to.back().Copy == copy)
            to.back().X1 = x1;
        else
            to.push_back({x0, x1, area, copy});
    };
    const std::vector<std::size_t> plainRows = RowRuns;
    for (int y = 0; y < Height; ++y) {
        rowStart = runs.size();
        for (const TRun& run : RowOf(Runs, plainRows, y)) {
            const std::size_t a = static_cast<std::size_t>(run.Area);
            if (reach.MaxJitter[a] == 0) {
                add(runs, run.X0, run.X1, run.Area, TRunCopy::Checked);
                continue;
            }
            const int* jitter = reach.Jitter[a]->data();
            for (int x = run.X0; x < run.X1; ++x) {
                const std::int64_t r = std::int64_t{y} - jitter[x];
                const std::size_t at =
                    static_cast<std::size_t>(r) * w + static_cast<std::size_t>(x);
                TRunCopy copy = TRunCopy::Checked;
                if (r >= 0 && Index[at] == run.Area)
                    copy = mask[at] & kCoveredBit ? TRunCopy::Covered
                           : mask[at] & kInnerBit ? TRunCopy::Inner
                                                  : TRunCopy::Checked;
                add(runs, x, x + 1, run.Area, copy);
            }
        }
        RowRuns[static_cast<std::size_t>(y) + 1] = runs.size();
    }
    Runs = std::move(runs);

    for (int r = 0; r < Height; ++r) {
        rowStart = Covered.size();
        const std::size_t row = static_cast<std::size_t>(r) * w;
        for (int x = 0; x < Width; ++x)
            if (mask[row + static_cast<std::size_t>(x)] & kCoveredBit)
                add(Covered, x, x + 1, Index[row + static_cast<std::size_t>(x)], TRunCopy::Covered);
        CoveredRows[static_cast<std::size_t>(r) + 1] = Covered.size();
    }
}

} // namespace ml
