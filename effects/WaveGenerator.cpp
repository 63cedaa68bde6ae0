#include "effects/WaveGenerator.h"

#include "effects/EffectMath.h"
#include "platform/Clock.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <cmath>
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
    if (FrameStorage && FrameWidth > 0 &&
        (Out.Width() != FrameWidth || Out.Height() != FrameHeight))
        if (QImage image = FrameStorage(FrameWidth, FrameHeight); !image.isNull())
            Out = TBitmap(std::move(image));
    Out.SetSize(FrameWidth, FrameHeight);
    Rnd.Seed(FixedSeed ? *FixedSeed : Clock().GetTickCount());
    Phase = {};
    LastShiftsKnown = false;
    BuildJitter();
    LayoutPending = true;
    // The first frame would be replaced by the picture at once: only its step of the waves
    // is taken, so that the frames that follow are the same.
    Changes.clear();
    if (Moving())
        StepPhases();
    ResetOutput();
}

int TWaveGenerator::AreaIndex(int x, int y) const {
    if (x < 0 || y < 0 || x >= FrameWidth || y >= FrameHeight)
        return -1;
    return Layout().Areas()[static_cast<std::size_t>(y) * FrameWidth + x];
}

const TAreaRuns& TWaveGenerator::Layout() const {
    if (LayoutPending)
        LayOutWater();
    return Water;
}

// The one reading of the area map for the frames of an Initialize; the map may go after it.
void TWaveGenerator::LayOutWater() const {
    LayoutPending = false;
    Water.Build(*AreaMap, FrameWidth, FrameHeight);
    PlanRuns();
    Band = QRect();
    for (std::size_t i = 0; i < kAreaCount; ++i) {
        const int first = Water.First(i);
        const int last = Water.Last(i);
        if (first <= last)
            Band |= QRect(0, std::max(first - MaxJitter[i], 0), FrameWidth,
                          last - std::max(first - MaxJitter[i], 0) + 1);
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
        JitterBase[i].resize(jitter.size());
        for (std::size_t x = 0; x < jitter.size(); ++x)
            JitterBase[i][x] =
                static_cast<std::ptrdiff_t>(x) - std::ptrdiff_t{jitter[x]} * FrameWidth;
        MaxJitter[i] = jitter.empty() ? 0 : *std::max_element(jitter.begin(), jitter.end());
    }
}

// The run plan is made for the largest shift each area's rows can get: a row's shift is its
// amplitude times a cosine, rounded, so it never exceeds the rounded amplitude, which
// perspective grows row by row just as the frames do. A frame whose shifts go further (the
// record changed since) takes the checked way.
void TWaveGenerator::PlanRuns() const {
    for (std::size_t i = 0; i < kAreaCount; ++i) {
        const TWaveParam& p = (*Params)[i];
        std::int64_t reach = RoundEven(std::abs(static_cast<double>(p.Amplitude)));
        if (p.Perspective && Water.First(i) <= Water.Last(i)) {
            const int rows = Water.Last(i) - Water.First(i);
            const double step = rows != 0 ? static_cast<double>(p.Amplitude) / rows : p.Amplitude;
            double amplitude = 0;
            reach = 0;
            for (int y = Water.First(i); y <= Water.Last(i); ++y) {
                amplitude += step;
                reach = std::max(reach, RoundEven(std::abs(amplitude)));
            }
        }
        Reach.Jitter[i] = &Jitter[i];
        Reach.MaxJitter[i] = MaxJitter[i];
        Reach.Rows[i] = p.Vertical ? reach : 0;
        Reach.Columns[i] = p.Horizontal ? reach : 0;
    }
    Water.Plan(Reach);
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
    if (!Project || !Moving())
        return;
    Layout();

    // The particles come off before the water moves: where the water keeps what the output
    // held, that must be the water, or the particles would leave trails.
    const std::vector<QRect> oldBoxes = UnderParticles.Boxes();
    UnderParticles.Restore(Out);
    Touched.assign(static_cast<std::size_t>(FrameHeight), 0);
    if (FrameWidth > 0) {
        FetchPixels();
        // Owned output pixels have one writer each, so their rows can be filled after the
        // rest, as long as every shift stays within the plan's reach.
        const bool byOutputRows = ComputeShifts() && Water.HasOutputRows();
        for (int y = 0; y < FrameHeight; ++y)
            DisplaceRow(y, byOutputRows);
        if (byOutputRows)
            for (int r = 0; r < FrameHeight; ++r)
                for (const TRun& run : Water.OutputRow(r))
                    if (WritersMoved(r, run.Area)) {
                        FillOutputRow(r, run);
                        Touched[static_cast<std::size_t>(r)] = 1;
                    }
        LastShifts.swap(Shifts);
        LastShiftsKnown = true;
    }
    NoteTouchedRows();
    NoteParticleBoxes(oldBoxes);

    StepPhases();
    if (WeatherEnabled) {
        StepWeather();
        NoteParticleBoxes(UnderParticles.Boxes());
    }
}

bool TWaveGenerator::Moving() const {
    // A period of 0 describes no wave at all; the water stands still, and so does the
    // weather, until a picture with a real period comes.
    return std::none_of(Params->begin(), Params->end(),
                        [](const TWaveParam& p) { return p.Period == 0; });
}

void TWaveGenerator::StepPhases() {
    const auto& params = *Params;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::int64_t step = RoundEven(params[i].PhaseStep * (SpeedPercent / 100.0));
        Phase[i] += params[i].Direction != 0 ? step : -step;
    }
}

// An output row's owned pixels hold what their writers read with the shifts of the rows the
// area's jitter reaches. When none of those moved since they were last filled, filling the
// row again would write the very same values: it is left as it is, and so is the screen.
bool TWaveGenerator::WritersMoved(int r, int area) const {
    if (!LastShiftsKnown)
        return true;
    const std::size_t a = static_cast<std::size_t>(area);
    for (int k = 0; k <= MaxJitter[a]; ++k) {
        const std::size_t row = static_cast<std::size_t>(r + k);
        if (!(Shifts[row][a] == LastShifts[row][a]))
            return true;
    }
    return false;
}

// The rows the water wrote, in whole-width stretches.
void TWaveGenerator::NoteTouchedRows() {
    for (int y = 0; y < FrameHeight;) {
        if (!Touched[static_cast<std::size_t>(y)]) {
            ++y;
            continue;
        }
        const int top = y;
        while (y < FrameHeight && Touched[static_cast<std::size_t>(y)])
            ++y;
        Changes.push_back(QRect(0, top, FrameWidth, y - top));
    }
}

// The boxes that particles cover change the frame outside the rows the water wrote as well.
void TWaveGenerator::NoteParticleBoxes(const std::vector<QRect>& boxes) {
    for (const QRect& box : boxes) {
        bool inside = true;
        for (int y = box.top(); y <= box.bottom() && inside; ++y)
            inside = Touched[static_cast<std::size_t>(y)] != 0;
        if (!inside)
            Changes.push_back(box);
    }
}
// Trigonometry runs twice per area per row, never per pixel. Returns whether every shift
// stays within the reach the run plan was made for.
bool TWaveGenerator::ComputeShifts() {
    const auto& params = *Params;
    std::array<double, kAreaCount> amplitude{}, factor{}, amplitudeStep{}, factorStep{};
    for (std::size_t i = 0; i < kAreaCount; ++i) {
        amplitude[i] = params[i].Amplitude;
        factor[i] = params[i].WaveCount / (360.0 / params[i].Period);
        // Perspective: the amplitude grows from 0 at the area's first row to the full value
        // at its last, and the wave count shrinks by a tenth on the way down.
        if (!params[i].Perspective)
            continue;
        amplitude[i] = 0;
        const int rows = Water.Last(i) - Water.First(i);
        amplitudeStep[i] =
            rows != 0 ? static_cast<double>(params[i].Amplitude) / rows : params[i].Amplitude;
        factorStep[i] = rows != 0 ? factor[i] / rows : factor[i];
    }
    Shifts.assign(static_cast<std::size_t>(FrameHeight), TRowShifts{});
    bool withinReach = true;
    for (int y = 0; y < FrameHeight; ++y) {
        TRowShifts& shift = Shifts[static_cast<std::size_t>(y)];
        for (std::size_t i = 0; i < kAreaCount; ++i) {
            if (y < Water.First(i) || y > Water.Last(i))
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
            withinReach = withinReach && std::abs(shift[i].Dy) <= Reach.Rows[i] &&
                          std::abs(std::int64_t{shift[i].Dx}) <= Reach.Columns[i];
        }
    }
    return withinReach;
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
    // Every output row is filled afresh with the next frame.
    LastShiftsKnown = false;
    const int width = std::min(Out.Width(), Picture->Width());
    const int height = std::min(Out.Height(), Picture->Height());
    const TBitmap& picture = *Picture;
    for (int y = 0; y < height; ++y)
        std::memcpy(Out.ScanLine(y), picture.ScanLine(y),
                    static_cast<std::size_t>(width) * sizeof(std::uint32_t));
}

} // namespace ml
