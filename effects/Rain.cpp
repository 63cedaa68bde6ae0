#include "effects/Rain.h"

#include "effects/EffectMath.h"

#include <algorithm>

namespace ml {

namespace {

// i * d / n rounded to nearest (halves up), for n > 0. A streak from a damaged file may be
// billions of pixels long; its products need 128 bits, ordinary ones do not.
std::int64_t ScaledStep(std::int64_t i, std::int64_t d, std::int64_t n) {
    constexpr std::int64_t kSmall = std::int64_t{1} << 30;
    if (n < kSmall && d < kSmall && d > -kSmall) {
        const std::int64_t num = i * d * 2 + n;
        const std::int64_t den = n * 2;
        return num >= 0 ? num / den : -((-num + den - 1) / den);
    }
    __int128 num = static_cast<__int128>(i) * d * 2 + n;
    __int128 den = static_cast<__int128>(n) * 2;
    __int128 q = num / den;
    if ((num % den != 0) && (num < 0))
        --q; // floor division
    return static_cast<std::int64_t>(q);
}

// start + ScaledStep(i, d, n) for i = first, first + 1, ..., without a division per step:
// the quotient and remainder of (2 i d + n) / 2n move by 2d / 2n each step, and as |d| <= n
// one correction keeps the remainder in 0..2n-1. Wide holds 2 i d + n: 64 bits for every
// streak a picture can show, 128 for the endless ones of damaged files.
template <class Wide> struct TLineStep {
    TLineStep(std::int64_t start, std::int64_t d, std::int64_t n, std::int64_t first)
        : Value(start + ScaledStep(first, d, n)), Delta(Wide{d} * 2), Divisor(Wide{n} * 2) {
        Remainder = Wide{first} * Delta + n - Wide{Value - start} * Divisor;
    }
    void Next() {
        Remainder += Delta;
        if (Remainder >= Divisor) {
            Remainder -= Divisor;
            ++Value;
        } else if (Remainder < 0) {
            Remainder += Divisor;
            --Value;
        }
    }
    std::int64_t Value;
    Wide Delta;
    Wide Divisor;
    Wide Remainder;
};

// Sets the pixels of steps from..to-1 of the line, keeping what they covered.
template <class Wide>
void SetLinePixels(TBitmap& target, std::int64_t x0, std::int64_t y0, std::int64_t dx,
                   std::int64_t dy, std::int64_t n, std::int64_t from, std::int64_t to,
                   std::uint32_t colour, TSaveUnder* underneath) {
    // The rows of a bitmap lie one after another.
    std::uint32_t* pixels = target.ScanLine(0);
    const std::int64_t w = target.Width();
    TLineStep<Wide> x(x0, dx, n, from);
    TLineStep<Wide> y(y0, dy, n, from);
    for (std::int64_t i = from; i < to; ++i, x.Next(), y.Next()) {
        const std::size_t at = static_cast<std::size_t>(y.Value * w + x.Value);
        if (underneath)
            underneath->Keep(at, pixels[at]);
        pixels[at] = 0xFF000000u | colour;
    }
}

// The first i in [lo, hi) for which pred(i) holds, pred being false then true along the range.
template <class Pred> std::int64_t FirstWhere(std::int64_t lo, std::int64_t hi, Pred pred) {
    while (lo < hi) {
        std::int64_t mid = lo + (hi - lo) / 2;
        if (pred(mid))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

// Draws the line from (x0, y0) towards (x1, y1) without its end point, as the toolkit's line
// drawing does, so that a streak's second part starts exactly where the first one stopped and
// a line of no length draws nothing. Both coordinates move monotonically along the line, so
// the visible stretch is found by bisection and only visible pixels are visited.
void DrawLine(TBitmap& target, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
              std::uint32_t colour, TSaveUnder* underneath) {
    const std::int64_t dx = x1 - x0;
    const std::int64_t dy = y1 - y0;
    const std::int64_t n = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
    if (n == 0)
        return;
    auto px = [&](std::int64_t i) { return x0 + ScaledStep(i, dx, n); };
    auto py = [&](std::int64_t i) { return y0 + ScaledStep(i, dy, n); };
    const std::int64_t w = target.Width();
    const std::int64_t h = target.Height();
    // The stretch where a monotone coordinate c(i) lies in 0..limit-1.
    auto inside = [n](auto c, std::int64_t delta, std::int64_t limit, std::int64_t& from,
                      std::int64_t& to) {
        if (delta >= 0) {
            from = FirstWhere(0, n, [&](std::int64_t i) { return c(i) >= 0; });
            to = FirstWhere(0, n, [&](std::int64_t i) { return c(i) >= limit; });
        } else {
            from = FirstWhere(0, n, [&](std::int64_t i) { return c(i) < limit; });
            to = FirstWhere(0, n, [&](std::int64_t i) { return c(i) < 0; });
        }
    };
    std::int64_t from = 0;
    std::int64_t to = n;
    auto visible = [&](std::int64_t x, std::int64_t y) {
        return x >= 0 && x < w && y >= 0 && y < h;
    };
    if (!visible(x0, y0) || !visible(x1, y1)) {
        std::int64_t fromX, toX, fromY, toY;
        inside(px, dx, w, fromX, toX);
        inside(py, dy, h, fromY, toY);
        from = std::max(fromX, fromY);
        to = std::min(toX, toY);
    }
    if (from >= to)
        return;
    // |dx| and |dy| are at most n.
    if (n < std::int64_t{1} << 30)
        SetLinePixels<std::int64_t>(target, x0, y0, dx, dy, n, from, to, colour, underneath);
    else
        SetLinePixels<__int128>(target, x0, y0, dx, dy, n, from, to, colour, underneath);
}

std::uint32_t Grey(int level) {
    const auto v = static_cast<std::uint32_t>(std::clamp(level, 0, 255));
    return (v << 16) | (v << 8) | v;
}

} // namespace

void TRain::SetCount(int n) {
    DropCount = std::clamp(n, 0, kMaxCount);
}

void TRain::Seed() {
    const int width = Target ? Target->Width() : 0;
    const int height = Target ? Target->Height() : 0;
    Drops.resize(static_cast<std::size_t>(DropCount));
    for (Drop& d : Drops) {
        d.X = Rnd.Random(width);
        d.Y = Rnd.Random(height);
        d.Size = Rnd.Random(3) + 2;
        d.StreakFactor = Rnd.Random(4) + 1;
    }
}

void TRain::Step() {
    const double v = WeatherSpeed(SpeedIndex, SpeedPercent);
    const double slant = CosDegrees(DirectionAngle);
    const int width = Target ? Target->Width() : 0;
    const int height = Target ? Target->Height() : 0;
    for (Drop& d : Drops) {
        const double oldY = d.Y;
        d.Y += d.Size * v * 3;
        d.X += slant * (d.Y - oldY);
        if (d.X < -kMargin)
            d.X = width;
        if (d.X > width + kMargin)
            d.X = -kMargin;
        d.Size = std::clamp(d.Size, 2, 4);
        if (d.Y > height + kMargin)
            d.Y = -kMargin;
    }
    if (!Target || Target->Empty())
        return;
    for (const Drop& d : Drops)
        Draw(d, slant);
}

void TRain::Draw(const Drop& drop, double slant) {
    const std::int64_t x = RoundCoordinate(drop.X);
    const std::int64_t y = RoundCoordinate(drop.Y);
    const int s = std::clamp(drop.Size, 2, 4);
    // Heavier drops are brighter: 218, 227 and 255 for sizes 2, 3 and 4.
    const int b = 200 + 55 / (5 - s);
    const std::int64_t ye = RoundEven(y + s * drop.StreakFactor * (Length / 10.0));
    const std::int64_t xe = RoundEven(x + slant * static_cast<double>(ye - y));
    const std::int64_t xm = RoundEven(x + static_cast<double>(xe - x) * 2 / 3);
    const std::int64_t ym = RoundEven(y + static_cast<double>(ye - y) * 2 / 3);
    // Dark in its first two thirds, bright at the lower end.
    if (Underneath) {
        // Both parts lie within the box of the streak's ends.
        auto clamp = [](std::int64_t v, int high) {
            return static_cast<int>(std::clamp<std::int64_t>(v, -1, high));
        };
        const int w = Target->Width(), h = Target->Height();
        Underneath->Note(*Target,
                         QRect(QPoint(clamp(std::min(x, xe), w), clamp(std::min(y, ye), h)),
                               QPoint(clamp(std::max(x, xe), w), clamp(std::max(y, ye), h))));
    }
    DrawLine(*Target, x, y, xm, ym, Grey(b - 60), Underneath);
    DrawLine(*Target, xm, ym, xe, ye, Grey(b), Underneath);
}

} // namespace ml
