#pragma once
// Animation speeds in percent, indexed by the user's speed position and by the weather's
// speed index. Position 10 is normal speed.

#include <array>

namespace ml {

inline constexpr std::array<int, 21> SpeedTable = {
    10, 20, 30, 45, 50, 60, 70, 75, 80, 90, 100, 120, 140, 160, 180, 200, 220, 240, 360, 480, 500};

} // namespace ml
