#include "effects/AreaRuns.h"

#include <algorithm>

namespace ml {

namespace {

// The plan's marks of an output pixel: owned by area i, covered by area i.
std::uint8_t OwnedBit(std::size_t area) {
    return static_cast<std::uint8_t>(1u << area);
}
std::uint8_t CoveredBit(std::size_t area) {
    return static_cast<std::uint8_t>(16u << area);
}
// Shorter stretches take the checked way: for a few pixels the setting up of the other ways
// costs more than the checks they save, and a ragged shore would make thousands of them.
constexpr int kShortest = 16;

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
    Output.clear();
    OutputRows.assign(static_cast<std::size_t>(height) + 1, 0);
    WriterBits.clear();
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
// the picture and hold the area, in stretches of at least kShortest columns: a count per
// column of the area's rows ending at the window's bottom row finds the rows, and the
// stretches of whole columns lose side at either end.
void TAreaRuns::MarkSolid(TPixelBytes& mask, std::uint8_t bit, int area, std::int64_t up,
                          std::int64_t down, std::int64_t side) const {
    if (up + down + 1 > Height || 2 * side + kShortest > Width)
        return;
    const int rows = static_cast<int>(up + down + 1);
    const int margin = static_cast<int>(side);
    const std::size_t w = static_cast<std::size_t>(Width);
    std::vector<int> above(w, 0);
    for (int bottom = 0; bottom < Height; ++bottom) {
        const std::int8_t* areas = &Index[static_cast<std::size_t>(bottom) * w];
        for (std::size_t x = 0; x < w; ++x)
            above[x] = areas[x] == area ? above[x] + 1 : 0;
        const std::int64_t r = bottom - down;
        if (r < up)
            continue;
        std::uint8_t* marks = &mask[static_cast<std::size_t>(r) * w];
        for (int x = 0; x < Width;) {
            if (above[static_cast<std::size_t>(x)] < rows) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < Width && above[static_cast<std::size_t>(x)] >= rows)
                ++x;
            if (x - start - 2 * margin >= kShortest)
                for (int c = start + margin; c < x - margin; ++c)
                    marks[c] |= bit;
        }
    }
}

// Output pixel (x, r) is owned by a jittered area when only the area's pixel of column x that
// writes row r can write it: no other area lies in row r within the largest sideways shift
// of any area (their pixels check the area there), r is not the top row (where every pixel
// above the picture lands) and neither r nor the rows and columns read from it, within the
// area's reach, are clamped to the picture. The writer bits note where that pixel exists.
void TAreaRuns::MarkOwned(TPixelBytes& mask, int area, const TJitterReach& reach,
                          std::int64_t sideAll) {
    const std::size_t a = static_cast<std::size_t>(area);
    const std::int64_t top =
        std::max<std::int64_t>(reach.Rows[a], FirstRows[a] - reach.MaxJitter[a]);
    const std::int64_t bottom = std::min<std::int64_t>(
        Height - 1 - std::max<std::int64_t>(reach.Rows[a], reach.MaxJitter[a]), LastRows[a]);
    const std::int64_t left = reach.Columns[a];
    const std::int64_t right = Width - 1 - reach.Columns[a];
    if (top > bottom || left > right)
        return;
    if (WriterBits.empty())
        WriterBits.assign(Index.size(), 0);
    const std::size_t w = static_cast<std::size_t>(Width);
    const int* jitter = reach.Jitter[a]->data();
    const std::uint8_t writerBit = OwnedBit(a);
    std::vector<int> others(w + 1); // pixels of other areas left of each column
    for (std::int64_t r = top; r <= bottom; ++r) {
        const std::size_t row = static_cast<std::size_t>(r) * w;
        const std::int8_t* areas = &Index[row];
        for (std::size_t x = 0; x < w; ++x)
            others[x + 1] = others[x] + (areas[x] >= 0 && areas[x] != area);
        // Stretches from a writer to a writer, across gaps without one (reeds, say) that are
        // cheaper to pass over than to split at.
        constexpr int kLongestGap = 32;
        int start = -1;
        int last = -1;
        auto close = [&] {
            if (start >= 0 && last + 1 - start >= kShortest)
                for (int c = start; c <= last; ++c)
                    mask[row + static_cast<std::size_t>(c)] |= OwnedBit(a);
            start = -1;
        };
        for (std::int64_t x = left; x <= right; ++x) {
            const std::size_t from =
                static_cast<std::size_t>(std::max<std::int64_t>(x - sideAll, 0));
            const std::size_t to =
                static_cast<std::size_t>(std::min<std::int64_t>(x + sideAll + 1, Width));
            if (others[to] != others[from]) {
                close();
                continue;
            }
            const std::int64_t writer = r + jitter[x];
            if (writer >= Height ||
                Index[static_cast<std::size_t>(writer) * w + static_cast<std::size_t>(x)] != area)
                continue;
            WriterBits[row + static_cast<std::size_t>(x)] |= writerBit;
            if (start >= 0 && x - last > kLongestGap)
                close();
            if (start < 0)
                start = static_cast<int>(x);
            last = static_cast<int>(x);
        }
        close();
    }
}

// The covered pixels of an area's owned ones: rows r - reach .. r + max(reach, MaxJitter) hold
// the area over its reach, and row r as far sideways as any area's shift reaches. Then the
// one writer exists whatever the jitter, and both its checks pass.
void TAreaRuns::Plan(const TJitterReach& reach) {
    std::int64_t sideAll = 0;
    for (std::size_t i = 0; i < kAreaCount; ++i)
        if (FirstRows[i] <= LastRows[i])
            sideAll = std::max(sideAll, reach.Columns[i]);
    TPixelBytes mask;
    std::uint8_t planned = 0;
    for (std::size_t i = 0; i < kAreaCount; ++i) {
        if (reach.MaxJitter[i] == 0 || FirstRows[i] > LastRows[i])
            continue;
        if (mask.empty())
            mask.assign(Index.size(), 0);
        const int area = static_cast<int>(i);
        MarkOwned(mask, area, reach, sideAll);
        MarkSolid(mask, CoveredBit(i), area, reach.Rows[i],
                  std::max<std::int64_t>(reach.Rows[i], reach.MaxJitter[i]),
                  std::max(sideAll, reach.Columns[i]));
        planned |= OwnedBit(i);
    }
    if (mask.empty())
        return;
    for (std::uint8_t& m : mask) // covered only where owned
        m = static_cast<std::uint8_t>((m & 0x0F) | (m & 0xF0 & (m << 4)));
    SplitRuns(mask, reach);
    ListOutputRows(mask, planned);
}

// A pixel writes the output pixel of its column in row y - jitter; where that is owned or
// covered, the output rows' pass writes it, and the pixel is passed over.
void TAreaRuns::SplitRuns(const TPixelBytes& mask, const TJitterReach& reach) {
    const std::size_t w = static_cast<std::size_t>(Width);
    std::vector<TRun> runs;
    runs.reserve(Runs.size());
    std::vector<TRunCopy> kinds(w);
    const std::vector<std::size_t> plainRows = RowRuns;
    for (int y = 0; y < Height; ++y) {
        const std::size_t rowStart = runs.size();
        auto add = [&](int x0, int x1, int area, TRunCopy copy) {
            if (runs.size() > rowStart && runs.back().X1 == x0 && runs.back().Area == area &&
                runs.back().Copy == copy)
                runs.back().X1 = x1;
            else
                runs.push_back({x0, x1, area, copy});
        };
        for (const TRun& run : RowOf(Runs, plainRows, y)) {
            const std::size_t a = static_cast<std::size_t>(run.Area);
            if (reach.MaxJitter[a] == 0) {
                add(run.X0, run.X1, run.Area, TRunCopy::Checked);
                continue;
            }
            const int* jitter = reach.Jitter[a]->data();
            for (int x = run.X0; x < run.X1; ++x) {
                const std::int64_t r = std::int64_t{y} - jitter[x];
                const std::uint8_t marks =
                    r < 0 ? 0 : mask[static_cast<std::size_t>(r) * w + static_cast<std::size_t>(x)];
                kinds[static_cast<std::size_t>(x)] = marks & CoveredBit(a) ? TRunCopy::Covered
                                                     : marks & OwnedBit(a) ? TRunCopy::Owned
                                                                           : TRunCopy::Checked;
            }
            for (int x = run.X0; x < run.X1;) {
                const int start = x;
                const TRunCopy kind = kinds[static_cast<std::size_t>(x)];
                while (x < run.X1 && kinds[static_cast<std::size_t>(x)] == kind)
                    ++x;
                add(start, x, run.Area, kind);
            }
        }
        RowRuns[static_cast<std::size_t>(y) + 1] = runs.size();
    }
    Runs = std::move(runs);
}

// The output rows' stretches, area by area: owned ones, and within them covered ones.
void TAreaRuns::ListOutputRows(const TPixelBytes& mask, std::uint8_t planned) {
    const std::size_t w = static_cast<std::size_t>(Width);
    for (int r = 0; r < Height; ++r) {
        const std::uint8_t* marks = &mask[static_cast<std::size_t>(r) * w];
        for (std::size_t a = 0; a < kAreaCount; ++a) {
            if (!(planned & OwnedBit(a)))
                continue;
            auto kind = [&](int x) {
                return marks[x] & CoveredBit(a) ? TRunCopy::Covered
                       : marks[x] & OwnedBit(a) ? TRunCopy::Owned
                                                : TRunCopy::Checked;
            };
            for (int x = 0; x < Width;) {
                const TRunCopy copy = kind(x);
                const int start = x;
                while (x < Width && kind(x) == copy)
                    ++x;
                if (copy != TRunCopy::Checked)
                    Output.push_back({start, x, static_cast<int>(a), copy});
            }
        }
        OutputRows[static_cast<std::size_t>(r) + 1] = Output.size();
    }
}

} // namespace ml
