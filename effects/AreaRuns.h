#pragma once
// How a frame of the water walks the picture: one byte of area index per pixel, the runs of
// each row (stretches whose pixels all hold one area), and for areas with column jitter a plan
// of where the per-pixel area checks of the frame rule cannot fail.
//
// A jittered pixel of row y writes row y - jitter and reads up to a shift away from there.
// Where every row and column such a shift can reach holds the pixel's own area, both checks
// pass, so the copy needs no checks (an inner stretch). Where, beyond that, no other pixel of
// any area can write the same output pixel, the output row can be filled left to right in one
// go instead of pixel by pixel across several rows (a covered stretch, whose output rows are
// listed apart). Both hold only while every shift stays within the reach the plan was made
// for; the frame checks that and otherwise takes the checked way.

#include "platform/Bitmap.h"
#include "project/ProjectRecords.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace ml {

enum class TRunCopy : std::uint8_t {
    Checked, // the frame rule pixel by pixel
    Inner,   // the checks cannot fail for shifts within reach
    Covered, // as Inner, and its output pixels are written by the covered rows alone
};

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
    // Splits the runs of jittered areas into checked, inner and covered stretches.
    void Plan(const TJitterReach& reach);

    // Area index 0..3 of a pixel, or -1; rows lie one after another, Width() apart.
    const std::int8_t* Areas() const { return Index.data(); }
    int First(std::size_t area) const { return FirstRows.at(area); }
    int Last(std::size_t area) const { return LastRows.at(area); }
    // The runs of row y, left to right.
    std::span<const TRun> Row(int y) const { return RowOf(Runs, RowRuns, y); }
    // The covered stretches of output row r, each to be filled from its area's jittered rows.
    std::span<const TRun> CoveredRow(int r) const { return RowOf(Covered, CoveredRows, r); }
    bool HasCovered() const { return !Covered.empty(); }

private:
    static std::span<const TRun> RowOf(const std::vector<TRun>& runs,
                                       const std::vector<std::size_t>& rows, int y) {
        const std::size_t row = static_cast<std::size_t>(y);
        return {runs.data() + rows[row], rows[row + 1] - rows[row]};
    }
    void MarkSolid(std::vector<std::uint8_t>& mask, std::uint8_t bit, int area, std::int64_t up,
                   std::int64_t down, std::int64_t side) const;

    int Width = 0;
    int Height = 0;
    std::vector<std::int8_t> Index;   // Height x Width
    std::vector<TRun> Runs;           // the runs of every row, top row first
    std::vector<std::size_t> RowRuns; // Runs of row y: RowRuns[y] .. RowRuns[y + 1]
    std::vector<TRun> Covered;        // covered stretches of the output, top row first
    std::vector<std::size_t> CoveredRows;
    std::array<int, kAreaCount> FirstRows{};
    std::array<int, kAreaCount> LastRows{};
};

} // namespace ml
