#pragma once

#include <cstdint>
#include <random>

namespace kx {

// Seeded random numbers that are the same with every standard library: the engine's sequence
// is fixed by the standard, and ranges are cut here by rejection instead of by a distribution,
// whose algorithm each library chooses for itself.
class RandomSource {
  public:
    explicit RandomSource(uint64_t seed) : engine_(seed) {}

    // Uniform in [0, n); 0 when n is 0.
    uint64_t below(uint64_t n) {
        if (n == 0)
            return 0;
        const uint64_t threshold = (0 - n) % n; // 2^64 mod n: the biased low values
        for (;;) {
            const uint64_t r = engine_();
            if (r >= threshold)
                return r % n;
        }
    }
    // Uniform in [0, n) for a positive count.
    int pick(int n) { return n > 0 ? static_cast<int>(below(static_cast<uint64_t>(n))) : 0; }
    // Uniform in [low, high].
    int between(int low, int high) { return low + pick(high - low + 1); }
    bool chance(int percent) { return below(100) < static_cast<uint64_t>(percent); }

  private:
    std::mt19937_64 engine_;
};

} // namespace kx
