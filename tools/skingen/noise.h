#pragma once

#include <cstdint>

#include "canvas.h"

namespace kavlo::skingen {

// SplitMix64: a small seeded generator whose sequence is the same on every machine.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

private:
    uint64_t state_;
};

// Smooth value noise in [-1, 1]: lattice values from a hash of (cell, seed), eased between cells.
double ValueNoise(double x, double y, uint64_t seed);

// Brushed metal over a base paint: fine streaks along x (horizontal brushing) or, with `vertical`,
// along y, where every streak is a function of x alone (so any row of the panel looks alike).
Paint Brushed(Paint base, uint64_t seed, float strength, bool vertical = false);

} // namespace kavlo::skingen
