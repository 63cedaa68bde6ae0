#include "effects/Snow.h"

#include "effects/EffectMath.h"

#include <algorithm>

namespace ml {

namespace {

constexpr std::uint32_t kOutline = 0xE1E1E1; // RGB(225, 225, 225)
constexpr std::uint32_t kFill = 0xFFFFFF;

// The pixels of an ellipse with a one-pixel outline in a Size x Size box, as the toolkit
// draws them at these tiny sizes: 2 is all outline, 3 a plus with a filled centre, 4 a ring
// of twelve around a filled 2 x 2 core. ' ' = untouched, 'o' = outline, 'f' = fill.
const char* const kDiscs[3] = {"oo"
                               "oo",
                               " o "
                               "ofo"
                               " o ",
                               " oo "
                               "offo"
                               "offo"
                               " oo "};

} // namespace

void TSnow::SetCount(int n) {
    FlakeCount = std::clamp(n, 0, kMaxCount);
}

void TSnow::Seed() {
    const int width = Target ? Target->Width() : 0;
    const int height = Target ? Target->Height() : 0;
    Flakes.resize(static_cast<std::size_t>(FlakeCount));
    for (Flake& f : Flakes) {
        f.X = Rnd.Random(width);
        f.Y = Rnd.Random(height);
        f.Drift = 1 - Rnd.Random(3);
        f.Size = Rnd.Random(3) + 2;
    }
}

void TSnow::Step() {
    const double v = WeatherSpeed(SpeedIndex, SpeedPercent);
    const int width = Target ? Target->Width() : 0;
    const int height = Target ? Target->Height() : 0;
    for (Flake& f : Flakes) {
        f.Y += f.Size * v;
        f.X += f.Drift * v;
        // Flakes swell and shrink now and then, even when the wind stands still.
        if (Rnd.Random(20) == 0)
            f.Size += Rnd.Random(3) - 1;
        if (f.X < 0)
            f.X = width;
        if (f.X > width)
            f.X = 0;
        f.Size = std::clamp(f.Size, 2, 4);
        if (f.Y > height - 1)
            f.Y = 0;
    }
    if (!Target || Target->Empty())
        return;
    for (const Flake& f : Flakes)
        Draw(f);
}

void TSnow::Draw(const Flake& flake) {
    const int x0 = RoundCoordinate(flake.X);
    const int y0 = RoundCoordinate(flake.Y);
    const int size = std::clamp(flake.Size, 2, 4);
    const char* disc = kDiscs[size - 2];
    if (Underneath)
        Underneath->Note(*Target, QRect(x0, y0, size, size));
    const int width = Target->Width();
    for (int dy = 0; dy < size; ++dy) {
        const int y = y0 + dy;
        if (y < 0 || y >= Target->Height())
            continue;
        std::uint32_t* row = Target->ScanLine(y);
        for (int dx = 0; dx < size; ++dx) {
            const int x = x0 + dx;
            const char c = disc[dy * size + dx];
            if (c == ' ' || x < 0 || x >= width)
                continue;
            if (Underneath)
                Underneath->Keep(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                     static_cast<std::size_t>(x),
                                 row[x]);
            row[x] = 0xFF000000u | (c == 'o' ? kOutline : kFill);
        }
    }
}

} // namespace ml
