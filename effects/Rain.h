#pragma once
// Falling rain over the animated picture: a fixed set of drops with floating-point
// positions, moved once per frame and drawn as short two-tone streaks on the target bitmap.

#include "effects/Random.h"
#include "effects/SaveUnder.h"
#include "platform/Bitmap.h"

#include <vector>

namespace ml {

struct Drop {
    double X = 0;
    double Y = 0;
    int Size = 2;         // fall speed factor, brightness and length, 2..4
    int StreakFactor = 1; // length multiplier, 1..4
};

class TRain {
public:
    static constexpr int kMaxCount = 1000;
    // Drops may leave the picture by this many pixels before they re-enter, so that a streak
    // slides out of view instead of vanishing at the edge.
    static constexpr int kMargin = 20;

    // Positions are drawn from random (not owned).
    explicit TRain(TRandom& random) : Rnd(random) {}

    // The number of drops the next Seed makes: at most 1000, never negative.
    void SetCount(int n);
    int Count() const { return DropCount; }
    // Places Count drops at random on Target.
    void Seed();
    // Moves every drop once, then draws them all on Target.
    void Step();

    TBitmap* Target = nullptr; // not owned
    // When set (not owned), keeps what each of the drops covers before it is drawn.
    TSaveUnder* Underneath = nullptr;
    std::vector<Drop> Drops;
    int SpeedIndex = 2;
    int DirectionAngle = 90; // degrees; 90 falls straight down
    int SpeedPercent = 100;
    int Length = 10; // streak length factor in tenths

private:
    void Draw(const Drop& drop, double slant);

    TRandom& Rnd;
    int DropCount = 0;
};

} // namespace ml
