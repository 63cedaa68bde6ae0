#pragma once
// Deterministic randomness for the demo content. Everything the demo makes must come out the
// same on every run and every machine, so nothing here touches the standard library's
// distributions (their results differ between library versions).

#include <cstdint>

namespace ml::demo {

// SplitMix64: tiny, fast, and good enough for scattering stars and raindrops.
class TDemoRandom {
public:
    explicit TDemoRandom(std::uint64_t seed) : State(seed) {}

    std::uint64_t Next();
    // Uniform in [0, 1).
    double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
    double Range(double low, double high) { return low + (high - low) * Uniform(); }
    // Uniform integer in 0..count-1; 0 when count is not positive.
    int Below(int count);
    // Roughly normal (sum of uniforms), mean 0 and deviation 1.
    double Gaussian();

private:
    std::uint64_t State;
};

// Value noise on an integer lattice, hashed rather than tabled so that it has no period the
// eye could catch across a 1280-pixel picture.
class TValueNoise {
public:
    explicit TValueNoise(std::uint32_t seed) : Seed(seed) {}

    // Smoothly interpolated noise in [0, 1].
    double At(double x, double y) const;
    // Fractal sum of octaves, normalised back to [0, 1].
    double Fbm(double x, double y, int octaves, double lacunarity = 2.0, double gain = 0.5) const;
    // Ridged variant (sharp crests), used for mountain flanks; in [0, 1].
    double Ridged(double x, double y, int octaves) const;

private:
    double Lattice(std::int32_t x, std::int32_t y) const;

    std::uint32_t Seed;
};

} // namespace ml::demo
