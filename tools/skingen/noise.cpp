#include "noise.h"

#include <cmath>

namespace kavlo::skingen {

uint64_t Rng::Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

namespace {

double Lattice(int64_t ix, int64_t iy, uint64_t seed) {
    Rng rng(seed ^ (static_cast<uint64_t>(ix) * 0x632BE59BD9B4E019ull) ^
            (static_cast<uint64_t>(iy) * 0x85157AF5ull));
    return rng.Unit() * 2 - 1;
}

double Ease(double t) {
    return t * t * (3 - 2 * t);
}

} // namespace

double ValueNoise(double x, double y, uint64_t seed) {
    double fx = std::floor(x), fy = std::floor(y);
    auto ix = static_cast<int64_t>(fx), iy = static_cast<int64_t>(fy);
    double tx = Ease(x - fx), ty = Ease(y - fy);
    double a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
    double c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
    double top = a + (b - a) * tx;
    double bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

Paint Brushed(Paint base, uint64_t seed, float strength, bool vertical) {
    return [=](double x, double y) {
        double along = vertical ? 0 : x;
        double across = vertical ? x : y;
        // Fine hairlines, slow variation of their strength along the stroke, a faint broad sheen.
        double n = 0.55 * ValueNoise(along / 90.0, across / 0.9, seed) +
                   0.30 * ValueNoise(along / 240.0, across / 3.1, seed + 1) +
                   0.15 * ValueNoise(along / 400.0, across / 17.0, seed + 2);
        Rgba c = base(x, y);
        float k = static_cast<float>(1 + strength * n);
        return Shade(c, k);
    };
}

} // namespace kavlo::skingen
