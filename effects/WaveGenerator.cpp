#include "effects/WaveGenerator.h"

#include "effects/EffectMath.h"
#include "platform/Clock.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace ml {

namespace {

// Displacements come from files and may be far larger than any picture. A source row is
// y - jitter + dy limited to the picture, so a shift beyond the height plus the area's largest
// jitter lands on the same edge row as that bound; a sideways shift beyond the width lands on
// the same edge column. Narrowed to those bounds they give the very same rows and columns.
std::int64_t NarrowShift(std::int64_t shift, std::int64_t extent, std::int64_t maxJitter) {
    return std::clamp(shift, -extent, extent + maxJitter);
}

int Clamp(int value, int low, int high) {
    return value < low ? low : (value > high ? high : value);
}

} // namespace

TWaveGenerator::TWaveGenerator() {
    Out.SetPixelFormat(TPixelFormat::pf32bit);
}

TWaveGenerator::~TWaveGenerator() = default;

void TWaveGenerator::SetProject(TProject& project) {
    Project = &project;
    Picture = &project.Picture;
    AreaMap = &project.AreaMap;
    Params = &project.WaveParams;
    SpeedPercent = project.Speed;
}

void TWaveGenerator::SetWeather(bool enabled) {
    // The particles drawn last come off; new ones appear with the next frame.
    UnderParticles.Restore(Out);
    WeatherEnabled = enabled;
    SnowFall.reset();
    RainFall.reset();
    if (!enabled || !Project)
        return;
    const TWeatherParam& weather = Project->Weather;
    if (weather.Kind == 1) {
        SnowFall = std::make_unique<TSnow>(Rnd);
        SnowFall->Target = &Out;
        SnowFall->Underneath = &UnderParticles;
        SnowFall->SetCount(weather.Count);
        SnowFall->Seed();
    } else if (weather.Kind == 2) {
        RainFall = std::make_unique<TRain>(Rnd);
        RainFall->Length = 10;
        RainFall->SetCount(100);
        RainFall->Target = &Out;
        RainFall->Underneath = &UnderParticles;
        RainFall->SetCount(weather.Count);
        RainFall->Seed();
    }
}

void TWaveGenerator::Initialize() {
    if (!Project)
        throw EInvalidOperation("The wave generator has no picture project");
    FrameWidth = Picture->Width();
    FrameHeight = Picture->Height();
    if (FrameWidth == 0 || FrameHeight == 0)
        FrameWidth = FrameHeight = 0;
    Out.SetSize(FrameWidth, FrameHeight);
    Rnd.Seed(FixedSeed ? *FixedSeed : Clock().GetTickCount());
    Phase = {};
    BuildAreaIndex();
    BuildJitter();
    Band = QRect();
    for (std::size_t i = 0; i < kAreaCount; ++i)
        if (First[i] <= Last[i])
            Band |= QRect(0, std::max(First[i] - MaxJitter[i], 0), FrameWidth,
                          Last[i] - std::max(First[i] - MaxJitter[i], 0) + 1);
    NextFrame();
    ResetOutput();
}

int TWaveGenerator::AreaIndex(int x, int y) const {
    if (x < 0 || y < 0 || x >= FrameWidth || y >= FrameHeight)
        return -1;
    return Areas[static_cast<std::size_t>(y) * FrameWidth + x];
}

// One byte of area index per pixel makes the area test of the per-pixel work a single read;
// the runs let a frame walk each row area by area without testing pixels outside the water.
void TWaveGenerator::BuildAreaIndex() {
    First.fill(kEmptyFirstRow);
    Last.fill(kEmptyLastRow);
    const std::size_t w = static_cast<std::size_t>(FrameWidth);
    Areas.assign(w * static_cast<std::size_t>(FrameHeight), -1);
    Runs.clear();
    RowRuns.assign(static_cast<std::size_t>(FrameHeight) + 1, 0);
    // A map of another size than the picture counts as no area where it has no pixels.
    const int mapWidth = std::min(FrameWidth, AreaMap->Width());
    const int mapHeight = std::min(FrameHeight, AreaMap->Height());
    for (int r = 0; r < FrameHeight; ++r) {
        std::int8_t* areas = &Areas[static_cast<std::size_t>(r) * w];
        if (r < mapHeight) {
            const std::uint32_t* map = AreaMap->ScanLine(r);
            for (int c = 0; c < mapWidth; ++c) {
                const std::uint32_t value = map[c] & 0x00FFFFFFu;
                for (int n = 1; n <= kAreaCount; ++n) {
                    if (value != AreaColors[n])
                        continue;
                    First[n - 1] = std::min(First[n - 1], r);
                    Last[n - 1] = std::max(Last[n - 1], r);
                    areas[c] = static_cast<std::int8_t>(n - 1);
                }
            }
        }
        for (int c = 0; c < FrameWidth;) {
            const int area = areas[c];
            const int start = c;
            while (c < FrameWidth && areas[c] == area)
                ++c;
            if (area >= 0)
                Runs.push_back({start, c, area});
        }
        RowRuns[static_cast<std::size_t>(r) + 1] = Runs.size();
    }
}

void TWaveGenerator::BuildJitter() {
    for (std::size_t i = 0; i < kAreaCount; ++i) {
        const int range = std::max((*Params)[i].JitterRange, 0);
        std::vector<int>& jitter = Jitter[i];
        jitter.assign(static_cast<std::size_t>(FrameWidth), 0);
        if (range > 0)
            for (int& j : jitter)
                j = Rnd.Random(range);
        JitterOffset[i].resize(jitter.size());
        std::transform(jitter.begin(), jitter.end(), JitterOffset[i].begin(),
                       [this](int j) { return std::ptrdiff_t{j} * FrameWidth; });
        MaxJitter[i] = jitter.empty() ? 0 : *std::max_element(jitter.begin(), jitter.end());
    }
}

// The addresses are taken afresh every frame: a caller that copies a bitmap's image (Qt
// shares image data until one side writes) must not leave us writing into a buffer that is
// no longer the bitmap's.
void TWaveGenerator::FetchPixels() {
    const TBitmap& picture = *Picture;
    const std::ptrdiff_t rowLength = std::ptrdiff_t{FrameWidth} * sizeof(std::uint32_t);
    if (picture.Width() != FrameWidth || picture.Height() != FrameHeight ||
        Out.Width() != FrameWidth || Out.Height() != FrameHeight)
        throw EInvalidOperation("The picture changed size after the water was initialised");
    if (picture.ToImage().bytesPerLine() != rowLength || Out.ToImage().bytesPerLine() != rowLength)
        throw EInvalidOperation("The picture's rows are not 32-bit pixels one after another");
    PicturePixels = picture.ScanLine(0);
    OutputPixels = Out.ScanLine(0);
}

void TWaveGenerator::NextFrame() {
    Changes.clear();
    if (!Project)
        return;
    const auto& params = *Params;
    // A period of 0 describes no wave at all; the water stands still, and so does the
    // weather, until a picture with a real period comes.
    for (const TWaveParam& p : params)
        if (p.Period == 0)
            return;

    std::array<double, 4> amplitude{}, factor{}, amplitudeStep{}, factorStep{};
    for (std::size_t i = 0; i < 4; ++i) {
        amplitude[i] = params[i].Amplitude;
        factor[i] = params[i].WaveCount / (360.0 / params[i].Period);
        // Perspective: the amplitude grows from 0 at the area's first row to the full value
        // at its last, and the wave count shrinks by a tenth on the way down.
        if (!params[i].Perspective)
            continue;
        amplitude[i] = 0;
        const int rows = Last[i] - First[i];
        amplitudeStep[i] =
            rows != 0 ? static_cast<double>(params[i].Amplitude) / rows : params[i].Amplitude;
        factorStep[i] = rows != 0 ? factor[i] / rows : factor[i];
    }

    // The particles come off before the water moves: where the water keeps what the output
    // held, that must be the water, or the particles would leave trails.
    if (!Band.isEmpty())
        Changes.push_back(Band);
    NoteParticleBoxes();
    UnderParticles.Restore(Out);
    if (FrameWidth > 0) {
        FetchPixels();
        for (int y = 0; y < FrameHeight; ++y)
            DisplaceRow(y, ComputeRowShifts(y, amplitude, factor, amplitudeStep, factorStep));
    }

    for (std::size_t i = 0; i < 4; ++i) {
        const std::int64_t step = RoundEven(params[i].PhaseStep * (SpeedPercent / 100.0));
        Phase[i] += params[i].Direction != 0 ? step : -step;
    }

    if (WeatherEnabled) {
        StepWeather();
        NoteParticleBoxes();
    }
}

// The boxes that particles cover change the frame outside the water rows as well.
void TWaveGenerator::NoteParticleBoxes() {
    for (const QRect& box : UnderParticles.Boxes())
        if (Band.isEmpty() || box.top() < Band.top() || box.bottom() > Band.bottom())
            Changes.push_back(box);
}
// Trigonometry runs twice per area per row, never per pixel.
std::array<TWaveGenerator::TShift, 4> TWaveGenerator::ComputeRowShifts(
    int y, std::array<double, 4>& amplitude, std::array<double, 4>& factor,
    const std::array<double, 4>& amplitudeStep, const std::array<double, 4>& factorStep) {
    const auto& params = *Params;
    std::array<TShift, 4> shift{};
    for (std::size_t i = 0; i < 4; ++i) {
        if (y < First[i] || y > Last[i])
            continue;
        const TWaveParam& p = params[i];
        if (p.Perspective) {
            amplitude[i] += amplitudeStep[i];
            factor[i] -= factorStep[i] / 10;
        }
        const std::int64_t phase =
            RoundEven(static_cast<double>(FrameHeight - y) * factor[i] * 360.0 / FrameHeight +
                      static_cast<double>(Phase[i]));
        const std::int64_t dy = RoundEven(amplitude[i] * CosDegrees(phase % p.Period));
        const std::int64_t dx = RoundEven(amplitude[i] * CosDegrees(phase % 360));
        shift[i].Dy = p.Vertical ? NarrowShift(dy, FrameHeight, MaxJitter[i]) : 0;
        shift[i].Dx = p.Horizontal ? static_cast<int>(NarrowShift(dx, FrameWidth, 0)) : 0;
    }
    return shift;
}

// Every pixel of row y writes at most one output pixel, and a row only writes rows at or
// above itself, so the runs of a row may go in any order; only the rows keep theirs.
void TWaveGenerator::DisplaceRow(int y, const std::array<TShift, 4>& shift) {
    const std::size_t end = RowRuns[static_cast<std::size_t>(y) + 1];
    for (std::size_t r = RowRuns[static_cast<std::size_t>(y)]; r < end; ++r) {
        const TRun& run = Runs[r];
        const TShift s = shift[static_cast<std::size_t>(run.Area)];
        if (MaxJitter[static_cast<std::size_t>(run.Area)] > 0)
            CopyJitteredRun(y, run, s);
        else
            CopySteadyRun(y, run, s);
    }
}

template <class Copy>
void TWaveGenerator::ForEachSharedSpan(int row1, int row2, int area, int from, int to,
                                       Copy copy) const {
    auto firstRun = [&](int row) {
        auto begin =
            Runs.begin() + static_cast<std::ptrdiff_t>(RowRuns[static_cast<std::size_t>(row)]);
        auto end =
            Runs.begin() + static_cast<std::ptrdiff_t>(RowRuns[static_cast<std::size_t>(row) + 1]);
        return std::pair{
            std::partition_point(begin, end, [from](const TRun& r) { return r.X1 <= from; }), end};
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
    const std::int8_t* targetAreas = Areas.data() + y * w;
    const std::int8_t* sourceAreas = Areas.data() + sy * w;
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
    const std::ptrdiff_t* offset = JitterOffset[area].data();
    const std::int8_t* areas = Areas.data();
    // Local copies: the compiler cannot know that the stores below leave the members alone.
    const std::uint32_t* picture = PicturePixels;
    std::uint32_t* output = OutputPixels;
    const std::ptrdiff_t rowStart = std::ptrdiff_t{y} * FrameWidth;
    const std::ptrdiff_t down = rowsInside ? dy * FrameWidth : 0;
    for (int x = middleFrom; x < middleTo; ++x) {
        const std::ptrdiff_t t = rowStart + x - offset[x];
        const std::ptrdiff_t s = t + down + dx;
        if (areas[t + dx] == a && areas[s] == a)
            output[t] = picture[s];
    }
    CopyJitteredClamped(y, std::max(middleTo, run.X0), run.X1, run.Area, shift);
}

void TWaveGenerator::CopyJitteredClamped(int y, int from, int to, int area, TShift shift) {
    const std::ptrdiff_t w = FrameWidth;
    const int lastRow = FrameHeight - 1;
    const int lastColumn = FrameWidth - 1;
    const std::int8_t a = static_cast<std::int8_t>(area);
    const int* jitter = Jitter[static_cast<std::size_t>(area)].data();
    for (int x = from; x < to; ++x) {
        const int t = y - jitter[x];
        const int ty = t < 0 ? 0 : t;
        const int sy = static_cast<int>(std::clamp<std::int64_t>(t + shift.Dy, 0, lastRow));
        const int sx = Clamp(x + shift.Dx, 0, lastColumn);
        if (Areas[static_cast<std::size_t>(ty * w + sx)] == a &&
            Areas[static_cast<std::size_t>(sy * w + sx)] == a)
            OutputPixels[ty * w + x] = PicturePixels[sy * w + sx];
    }
}

void TWaveGenerator::StepWeather() {
    const TWeatherParam& weather = Project->Weather;
    if (weather.Kind == 1 && SnowFall) {
        SnowFall->SpeedPercent = SpeedPercent;
        SnowFall->SpeedIndex = weather.SpeedIndex;
        SnowFall->Step();
    } else if (weather.Kind == 2 && RainFall) {
        RainFall->SpeedPercent = SpeedPercent;
        RainFall->SpeedIndex = weather.SpeedIndex;
        RainFall->Length = weather.Length;
        // Only the cosine of the angle matters; a wild value from a file that would overflow
        // is brought back by whole turns.
        std::int64_t angle = 180 - std::int64_t{weather.Angle};
        if (angle > std::numeric_limits<int>::max())
            angle %= 360;
        RainFall->DirectionAngle = static_cast<int>(angle);
        RainFall->Step();
    }
}

void TWaveGenerator::ResetOutput() {
    if (!Picture)
        return;
    UnderParticles.Forget();
    const int width = std::min(Out.Width(), Picture->Width());
    const int height = std::min(Out.Height(), Picture->Height());
    const TBitmap& picture = *Picture;
    for (int y = 0; y < height; ++y)
        std::memcpy(Out.ScanLine(y), picture.ScanLine(y),
                    static_cast<std::size_t>(width) * sizeof(std::uint32_t));
}

} // namespace ml
