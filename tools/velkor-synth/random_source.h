// The generator's source of randomness: a fixed 64-bit Mersenne Twister with its own simple
// distributions, so that one seed gives the same session with every standard library (the
// standard distributions differ between implementations).
#pragma once

#include <cmath>
#include <cstdint>
#include <random>

namespace velkor::synth {

class RandomSource {
public:
    explicit RandomSource(uint64_t seed) : engine_(seed) {}

    // Uniform in [0, 1), 53 random bits.
    double uniform() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
    // Uniform in [lo, hi).
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    // Uniform integer in [lo, hi] (hi - lo far below 2^53, so the bias is negligible).
    int64_t integer(int64_t lo, int64_t hi) {
        return lo + static_cast<int64_t>(uniform() * static_cast<double>(hi - lo + 1));
    }
    bool chance(double p) { return uniform() < p; }
    // Exponentially distributed with the given mean: the gap between events of a steady rate.
    double exponential(double mean) { return -mean * std::log1p(-uniform()); }
    // Symmetric variation: value * (1 + r), r uniform in [-spread, spread).
    double vary(double value, double spread) { return value * (1.0 + uniform(-spread, spread)); }

private:
    std::mt19937_64 engine_;
};

}  // namespace velkor::synth
