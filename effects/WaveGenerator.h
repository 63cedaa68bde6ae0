#pragma once
// The water: animates a still picture by displacing the rows of up to four marked regions
// with travelling sine waves, and lays rain or snow over the result.
//
// Every frame reads only the unchanged picture, never the previous frame, so distortion
// never accumulates; pixels whose displaced source leaves their region keep what the output
// held before. The motion comes from one phase per region that advances every frame. Rain
// and snow are drawn straight onto the output and taken off again before the next frame.

#include "effects/AreaRuns.h"
#include "effects/Rain.h"
#include "effects/Random.h"
#include "effects/SaveUnder.h"
#include "effects/Snow.h"
#include "platform/Bitmap.h"
#include "project/Project.h"

#include <QRect>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace ml {

class TWaveGenerator {
public:
    // Rows of an area that no pixel uses: a first row past any real one, so its span is empty.
    static constexpr int kEmptyFirstRow = TAreaRuns::kEmptyFirstRow;
    static constexpr int kEmptyLastRow = TAreaRuns::kEmptyLastRow;

    TWaveGenerator();
    ~TWaveGenerator();
    TWaveGenerator(const TWaveGenerator&) = delete;
    TWaveGenerator& operator=(const TWaveGenerator&) = delete;

    // Attaches a picture project (not owned) and takes its speed. Its picture must keep its
    // size from Initialize until the last NextFrame for that picture; its area map is read
    // once, by the layout, and may be let go of once LaidOut() says so.
    void SetProject(TProject& project);
    // Switches the rain or snow overlay on or off; switching on makes fresh particles.
    void SetWeather(bool enabled);
    // Prepares the attached picture: jitter, phases at 0 with one frame's step taken, and the
    // plain picture in the output, so that the first frame shown is unchanged. The water's
    // layout (the area index and the plan of its runs) is worked out when first needed, by
    // the first NextFrame or a question about the areas: the picture can be on the screen
    // before that work is done.
    void Initialize();
    // Computes one frame into the output, advances the phases and draws the weather. Does
    // nothing while any wave record has a period of 0: such a record describes no wave.
    void NextFrame();
    // Where the last NextFrame changed the frame: the changing rows and the boxes of the
    // particles taken off and drawn. Empty when it changed nothing.
    const std::vector<QRect>& ChangedParts() const { return Changes; }
    // Puts the unchanged picture back into the output.
    void ResetOutput();
    // Whether the layout of the water was made since the last Initialize: the area map is
    // not read again until the next one.
    bool LaidOut() const { return !LayoutPending; }
    // The rows of the output that the water can change, over the whole width: from each
    // area's first row up to its largest jitter above, down to its last row. Empty when the
    // picture has no area. Every other row stays the picture's.
    const QRect& ChangingRows() const {
        Layout();
        return Band;
    }
    // Where the frames are kept: ordinary memory unless this gives, for a frame's width and
    // height, an image of that size and 32-bit format in other memory (one the display reads
    // straight from). A null image from it means ordinary memory. Asked by Initialize.
    std::function<QImage(int width, int height)> FrameStorage;
    // The frame to paint: the water with the weather on it. Owned here.
    TBitmap& CurrentFrame() { return Out; }
    const TBitmap& CurrentFrame() const { return Out; }

    // Initialize seeds the random source from the clock unless a fixed seed is set here;
    // renders and tests set one so that frames repeat exactly.
    void SetFixedSeed(std::optional<std::uint64_t> seed) { FixedSeed = seed; }

    int Width() const { return FrameWidth; }
    int Height() const { return FrameHeight; }
    int Speed() const { return SpeedPercent; }
    std::int64_t PhaseOffset(int area) const { return Phase.at(static_cast<std::size_t>(area)); }
    int FirstRow(int area) const { return Layout().First(static_cast<std::size_t>(area)); }
    int LastRow(int area) const { return Layout().Last(static_cast<std::size_t>(area)); }
    // Area index of a pixel: 0..3, or -1 outside every area.
    int AreaIndex(int x, int y) const;
    // The random row offset of each column of an area, fixed from Initialize on.
    const std::vector<int>& ColumnJitter(int area) const {
        return Jitter.at(static_cast<std::size_t>(area));
    }
    const TSnow* Snow() const { return SnowFall.get(); }
    const TRain* Rain() const { return RainFall.get(); }

private:
    // What one row of an area does this frame, with the flags applied.
    struct TShift {
        std::int64_t Dy = 0;
        int Dx = 0;
        bool operator==(const TShift&) const = default;
    };
    using TRowShifts = std::array<TShift, kAreaCount>;

    void BuildJitter();
    const TAreaRuns& Layout() const;
    void LayOutWater() const;
    void PlanRuns() const;
    void FetchPixels();
    bool ComputeShifts();
    // The frame rule, by the kind of each run (WaveRows.cpp).
    void DisplaceRow(int y, bool byOutputRows);
    void CopySteadyRun(int y, const TRun& run, TShift shift);
    void CopyJitteredRun(int y, const TRun& run, TShift shift);
    void CopyJitteredClamped(int y, int from, int to, int area, TShift shift);
    void FillOutputRow(int r, const TRun& run);
    // Calls copy(start, stop) for every stretch of columns from..to-1 where rows row1 and
    // row2 both hold the area.
    template <class Copy>
    void ForEachSharedSpan(int row1, int row2, int area, int from, int to, Copy copy) const;
    bool WritersMoved(int r, int area) const;
    // Whether the waves move at all, and their step from one frame to the next.
    bool Moving() const;
    void StepPhases();
    void StepWeather();
    void NoteTouchedRows();
    void NoteParticleBoxes(const std::vector<QRect>& boxes);

    int FrameWidth = 0;
    int FrameHeight = 0;
    std::array<std::int64_t, kAreaCount> Phase{};
    TBitmap* Picture = nullptr;
    TBitmap* AreaMap = nullptr;
    TBitmap Out;
    TSaveUnder UnderParticles; // what the particles last drawn cover
    std::vector<QRect> Changes;
    int SpeedPercent = 100;
    // The layout, kept up to date by Layout(): the water's rows are walked by these, and
    // questions about the areas read them, both only once the layout is there.
    mutable bool LayoutPending = false;
    mutable TAreaRuns Water;
    mutable QRect Band;
    mutable TJitterReach Reach;         // what the run plan was made for
    std::vector<TRowShifts> Shifts;     // this frame's, per row
    std::vector<TRowShifts> LastShifts; // the last frame's, once one was computed
    bool LastShiftsKnown = false;
    std::vector<std::uint8_t> Touched; // per row: written by this frame's water
    // Rows of 32-bit pixels lie one after another (row y starts y x Width pixels in), in the
    // picture, the output and the area index alike, so one offset addresses all three.
    const std::uint32_t* PicturePixels = nullptr;
    std::uint32_t* OutputPixels = nullptr;
    std::array<std::vector<int>, kAreaCount> Jitter;
    // Per column x - jitter x Width: where a column writes, counted from its row's start.
    std::array<std::vector<std::ptrdiff_t>, kAreaCount> JitterBase;
    std::array<int, kAreaCount> MaxJitter{};
    std::array<TWaveParam, kAreaCount>* Params = nullptr;
    TProject* Project = nullptr;
    TRandom Rnd;
    std::optional<std::uint64_t> FixedSeed;
    std::unique_ptr<TSnow> SnowFall;
    std::unique_ptr<TRain> RainFall;
    bool WeatherEnabled = false;
};

} // namespace ml
