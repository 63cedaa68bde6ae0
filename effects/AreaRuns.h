#pragma once
// How a frame of the water walks the picture: one byte of area index per pixel, the runs of
// each row (stretches whose pixels all hold one area), and for areas with column jitter a plan
// of which output pixels can be filled row by row.
//
// A jittered pixel of row y writes output row y - jitter, so the frame rule, taken pixel by
// pixel, writes a few rows at once in a scattered order. Where no pixel but the one of its own
// column and area can write an output pixel (no other area lies within any sideways shift of
// it, and neither its row nor the rows it reads are clamped to the picture), the order does
// not matter, and the output row can be filled left to right after the rest of the frame
// (an owned stretch, its checks made eight pixels at a time). Where moreover every row and
// column its shifts can reach holds the area, the checks cannot fail and are left out (a
// covered stretch). Both hold only while every shift stays within the reach the plan was
// made for; the frame checks that and otherwise takes the checked way everywhere.

#include "platform/Bitmap.h"
#include "platform/PageMemory.h"
#include "project/ProjectRecords.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace ml {

enum class TRunCopy : std::uint8_t {
    Checked, // the frame rule pixel by pixel
    Owned,   // written by the output rows' pass alone, with the checks
    Covered, // written by the output rows' pass alone; the checks cannot fail
};

// A byte per pixel: big, and written whole once per picture.
using TPixelBytes = std::vector<std::uint8_t, TPageAllocator<std::uint8_t>>;

struct TRun {
    int X0;
    int X1; // one past the last column
    int Area;
    TRunCopy Copy = TRunCopy::Checked;
};

// What the plan is made for, per area: its column jitter and how far its shifts may reach.
struct TJitterReach {
    std::array<const std::vector<int>*, kAreaCount> Jitter{};
    std::array<int, kAreaCount> MaxJitter{};
    std::array<std::int64_t, kAreaCount> Rows{};    // largest |dy|
    std::array<std::int64_t, kAreaCount> Columns{}; // largest |dx|
};

class TAreaRuns {
public:
    // Rows of an area that no pixel uses: a first row past any real one, so its span is empty.
    static constexpr int kEmptyFirstRow = 50000;
    static constexpr int kEmptyLastRow = 0;

    // Reads the area map (pixels outside it, when it is smaller, hold no area) and makes the
    // plain runs of every row.
    void Build(const TBitmap& areaMap, int width, int height);
    // Splits the runs of jittered areas into checked, owned and covered stretches and lists
    // the owned and covered stretches of the output rows.
    void Plan(const TJitterReach& reach);

    // Area index 0..3 of a pixel, or -1; rows lie one after another, Width() apart.
    const std::int8_t* Areas() const { return Index.data(); }
    int First(std::size_t area) const { return FirstRows.at(area); }
    int Last(std::size_t area) const { return LastRows.at(area); }
    // The runs of row y, left to right.
    std::span<const TRun> Row(int y) const { return RowOf(Runs, RowRuns, y); }
    // The owned and covered stretches of output row r, each to be filled from its area's
    // jittered rows after the rest of the frame.
    std::span<const TRun> OutputRow(int r) const { return RowOf(Output, OutputRows, r); }
    bool HasOutputRows() const { return !Output.empty(); }
    // Per output pixel, bit 1 << area where the pixel of its column that the area's jitter
    // makes write it holds the area.
    const std::uint8_t* Writers() const { return WriterBits.data(); }

private:
    static std::span<const TRun> RowOf(const std::vector<TRun>& runs,
                                       const std::vector<std::size_t>& rows, int y) {
        const std::size_t row = static_cast<std::size_t>(y);
        return {runs.data() + rows[row], rows[row + 1] - rows[row]};
    }
    void MarkOwned(TPixelBytes& mask, int area, const TJitterReach& reach, std::int64_t sideAll);
    void MarkSolid(TPixelBytes& mask, std::uint8_t bit, int area, std::int64_t up,
                   std::int64_t down, std::int64_t side) const;
    void SplitRuns(const TPixelBytes& mask, const TJitterReach& reach);
    void ListOutputRows(const TPixelBytes& mask, std::uint8_t planned);

    int Width = 0;
    int Height = 0;
    std::vector<std::int8_t, TPageAllocator<std::int8_t>> Index; // Height x Width
    std::vector<TRun> Runs;           // the runs of every row, top row first
    std::vector<std::size_t> RowRuns; // Runs of row y: RowRuns[y] .. RowRuns[y + 1]
    std::vector<TRun> Output;         // owned and covered stretches, top row first
    std::vector<std::size_t> OutputRows;
    TPixelBytes WriterBits; // Height x Width, when there are owned stretches
    std::array<int, kAreaCount> FirstRows{};
    std::array<int, kAreaCount> LastRows{};
};

} // namespace ml
