#include "effects/Random.h"

namespace ml {

// SplitMix64: one add and a few multiply-xorshifts per number. It passes the usual
// statistical batteries, any seed (0 included) is a good seed, and the sequence is the same
// on every platform, which stored renders rely on.
std::uint64_t TRandom::Next() {
    State += 0x9E3779B97F4A7C15ull;
    std::uint64_t z = State;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int TRandom::Random(int n) {
    if (n <= 0)
        return 0;
    // Scaling the top 32 bits by n instead of taking a remainder keeps the result unbiased to
    // within n / 2^32, far below anything a picture could show.
    std::uint64_t high = Next() >> 32;
    return static_cast<int>((high * static_cast<std::uint64_t>(n)) >> 32);
}

} // namespace ml
