#pragma once
// Falling snow over the animated picture: a fixed set of flakes with floating-point
// positions, moved once per frame and drawn as small white discs on the target bitmap.

#include "effects/Random.h"
#include "effects/SaveUnder.h"
#include "platform/Bitmap.h"

#include <vector>

namespace ml {

struct Flake {
    double X = 0;
    double Y = 0;
    int Size = 2;  // diameter in pixels and fall speed factor, 2..4
    int Drift = 0; // horizontal direction: -1, 0 or 1
};

class TSnow {
public:
    static constexpr int kMaxCount = 1000;

    // Positions and size changes are drawn from random (not owned).
    explicit TSnow(TRandom& random) : Rnd(random) {}

    // The number of flakes the next Seed makes: at most 1000, never negative.
    void SetCount(int n);
    int Count() const { return FlakeCount; }
    // Places Count flakes at random on Target.
    void Seed();
    // Moves every flake once, then draws them all on Target.
    void Step();

    TBitmap* Target = nullptr; // not owned
    // When set (not owned), keeps what each of the flakes covers before it is drawn.
    TSaveUnder* Underneath = nullptr;
    std::vector<Flake> Flakes;
    int SpeedIndex = 2;
    int SpeedPercent = 100;

private:
    void Draw(const Flake& flake);

    TRandom& Rnd;
    int FlakeCount = 0;
};

} // namespace ml
