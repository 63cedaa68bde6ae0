#pragma once
// The one uniform random source of the water effects. The wave generator draws its column
// jitter from it and hands it to the rain or snow it owns, so a single seed fixes everything
// a rendered frame depends on. The show seeds it from the clock; renders and tests give a
// seed of their own so that frames repeat exactly.

#include <cstdint>

namespace ml {

class TRandom {
public:
    explicit TRandom(std::uint64_t seed = 0) { Seed(seed); }

    void Seed(std::uint64_t seed) { State = seed; }
    // A uniform integer in 0..n-1; 0 when n is 0 or negative, as a picture without rows or
    // columns asks for a position in an empty range.
    int Random(int n);

private:
    std::uint64_t Next();

    std::uint64_t State = 0;
};

} // namespace ml
