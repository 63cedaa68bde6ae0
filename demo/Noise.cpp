#include "demo/Noise.h"

#include <cmath>

namespace ml::demo {

std::uint64_t TDemoRandom::Next() {
    State += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = State;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int TDemoRandom::Below(int count) {
    if (count <= 0) {
        return 0;
    }
    return static_cast<int>(Next() % static_cast<std::uint64_t>(count));
}

double TDemoRandom::Gaussian() {
    double sum = 0.0;
    for (int i = 0; i < 6; ++i) {
        sum += Uniform();
    }
    return (sum - 3.0) * std::sqrt(2.0); // six uniforms have variance 1/2
}

double TValueNoise::Lattice(std::int32_t x, std::int32_t y) const {
    std::uint32_t h = Seed * 0x27D4EB2Du;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return static_cast<double>(h) / 4294967295.0;
}

double TValueNoise::At(double x, double y) const {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const auto ix = static_cast<std::int32_t>(fx);
    const auto iy = static_cast<std::int32_t>(fy);
    const double tx = x - fx;
    const double ty = y - fy;
    // Quintic fade: no visible creases along the lattice lines.
    const double sx = tx * tx * tx * (tx * (tx * 6.0 - 15.0) + 10.0);
    const double sy = ty * ty * ty * (ty * (ty * 6.0 - 15.0) + 10.0);
    const double a = Lattice(ix, iy);
    const double b = Lattice(ix + 1, iy);
    const double c = Lattice(ix, iy + 1);
    const double d = Lattice(ix + 1, iy + 1);
    const double top = a + (b - a) * sx;
    const double bottom = c + (d - c) * sx;
    return top + (bottom - top) * sy;
}

double TValueNoise::Fbm(double x, double y, int octaves, double lacunarity, double gain) const {
    double sum = 0.0;
    double weight = 1.0;
    double total = 0.0;
    for (int i = 0; i < octaves; ++i) {
        // Each octave is offset so that the lattice points of the octaves do not line up.
        sum += weight * At(x + i * 17.31, y - i * 9.17);
        total += weight;
        x *= lacunarity;
        y *= lacunarity;
        weight *= gain;
    }
    return total > 0.0 ? sum / total : 0.0;
}

double TValueNoise::Ridged(double x, double y, int octaves) const {
    double sum = 0.0;
    double weight = 1.0;
    double total = 0.0;
    for (int i = 0; i < octaves; ++i) {
        const double n = 1.0 - std::fabs(At(x + i * 5.7, y + i * 3.3) * 2.0 - 1.0);
        sum += weight * n * n;
        total += weight;
        x *= 2.0;
        y *= 2.0;
        weight *= 0.5;
    }
    return total > 0.0 ? sum / total : 0.0;
}

} // namespace ml::demo
