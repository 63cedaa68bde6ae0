#pragma once
// Small numeric rules the water and the weather share: angles are whole degrees, and every
// floating-point value becomes a pixel by rounding to the nearest integer with ties to even.

#include "project/SpeedTable.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace ml {

// cos of a whole number of degrees, computed as cos(x * pi / 180) so that a product exactly
// on a rounding tie (A x cos 120) falls the same way as it always has. Quarter turns are
// exact: rain at a right angle then never creeps sideways by rounding noise, and at whole
// and half turns the exact value is the one the plain formula gives anyway.
inline double ComputeCosDegrees(std::int64_t degrees) {
    if (degrees % 90 == 0) {
        const std::int64_t quarter = (degrees / 90 % 4 + 4) % 4;
        return quarter == 0 ? 1.0 : (quarter == 2 ? -1.0 : 0.0);
    }
    return std::cos(static_cast<double>(degrees) * std::numbers::pi / 180.0);
}

// The water asks for angles within one turn either way twice per row and area in every
// frame; those come from a table of the very same values.
inline double CosDegrees(std::int64_t degrees) {
    constexpr std::int64_t kTurn = 360;
    static const std::array<double, 2 * kTurn - 1> table = [] {
        std::array<double, 2 * kTurn - 1> values{};
        for (std::int64_t d = 1 - kTurn; d < kTurn; ++d)
            values[static_cast<std::size_t>(d + kTurn - 1)] = ComputeCosDegrees(d);
        return values;
    }();
    if (degrees > -kTurn && degrees < kTurn)
        return table[static_cast<std::size_t>(degrees + kTurn - 1)];
    return ComputeCosDegrees(degrees);
}

// Nearest integer, ties to even (std::nearbyint in the default rounding mode). Values beyond
// the range of a pixel coordinate saturate instead of overflowing.
inline std::int64_t RoundEven(double value) {
    constexpr double kLimit = 4.0e18;
    if (!(value > -kLimit)) // also catches NaN
        return value != value ? 0 : -static_cast<std::int64_t>(kLimit);
    if (value > kLimit)
        return static_cast<std::int64_t>(kLimit);
    return static_cast<std::int64_t>(std::nearbyint(value));
}

// A pixel coordinate from a particle position: rounded, and kept within a range that no
// picture reaches so that later integer sums cannot overflow.
inline int RoundCoordinate(double value) {
    return static_cast<int>(std::clamp<std::int64_t>(RoundEven(value), -1000000000, 1000000000));
}

// Per-frame speed of rain and snow: the weather's table speed scaled by the picture's speed
// percentage. An index outside the table takes its nearest end, so a damaged file still
// gives a sensible motion.
inline double WeatherSpeed(int speedIndex, int speedPercent) {
    int index = std::clamp(speedIndex, 0, static_cast<int>(SpeedTable.size()) - 1);
    return SpeedTable[static_cast<std::size_t>(index)] / 100.0 * speedPercent / 100.0;
}

} // namespace ml
