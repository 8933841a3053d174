#include "effects.h"

#include <algorithm>
#include <cmath>

namespace kavlo::skingen {

namespace {

std::vector<float> GaussKernel(float sigma) {
    int radius = std::max(1, static_cast<int>(std::ceil(sigma * 3)));
    std::vector<float> k(2 * radius + 1);
    float sum = 0;
    for (int i = -radius; i <= radius; ++i) {
        k[i + radius] = std::exp(-(i * i) / (2 * sigma * sigma));
        sum += k[i + radius];
    }
    for (float& v : k) {
        v /= sum;
    }
    return k;
}

enum class Reach { First, Both, Either, All };

// f applied pixel by pixel over the box where the result can be non-zero.
template <typename F> Mask Combine(const Mask& a, const Mask& b, Reach reach, F f) {
    Mask out(a.Width(), a.Height());
    switch (reach) {
        case Reach::First:
            out.SetBox(a.X0(), a.Y0(), a.X1(), a.Y1());
            break;
        case Reach::Both:
            out.SetBox(std::max(a.X0(), b.X0()), std::max(a.Y0(), b.Y0()), std::min(a.X1(), b.X1()),
                       std::min(a.Y1(), b.Y1()));
            break;
        case Reach::Either:
            out.SetBox(std::min(a.X0(), b.X0()), std::min(a.Y0(), b.Y0()), std::max(a.X1(), b.X1()),
                       std::max(a.Y1(), b.Y1()));
            break;
        case Reach::All:
            out.SetAll();
            break;
    }
    for (int y = out.Y0(); y < out.Y1(); ++y) {
        const float* ra = a.Row(y);
        const float* rb = b.Row(y);
        float* ro = out.Row(y);
        for (int x = out.X0(); x < out.X1(); ++x) {
            ro[x] = std::clamp(f(ra[x], rb[x]), 0.0f, 1.0f);
        }
    }
    out.Trim();
    return out;
}

} // namespace

Mask Blur(const Mask& mask, float sigma) {
    if (sigma <= 0) {
        return mask;
    }
    std::vector<float> k = GaussKernel(sigma);
    int r = static_cast<int>(k.size() / 2);
    int w = mask.Width(), h = mask.Height();
    // Only the grown box of the shape can receive coverage.
    int x0 = std::max(mask.X0() - r, 0), x1 = std::min(mask.X1() + r, w);
    int y0 = std::max(mask.Y0() - r, 0), y1 = std::min(mask.Y1() + r, h);
    Mask tmp(w, h), out(w, h);
    for (int y = mask.Y0(); y < mask.Y1(); ++y) {
        const float* src = mask.Row(y);
        float* dst = tmp.Row(y);
        for (int x = x0; x < x1; ++x) {
            float s = 0;
            for (int i = -r; i <= r; ++i) {
                int sx = x + i;
                if (sx >= 0 && sx < w) {
                    s += src[sx] * k[i + r];
                }
            }
            dst[x] = s;
        }
    }
    out.SetBox(x0, y0, x1, y1);
    for (int y = y0; y < y1; ++y) {
        float* dst = out.Row(y);
        for (int i = -r; i <= r; ++i) {
            int sy = y + i;
            if (sy < mask.Y0() || sy >= mask.Y1()) {
                continue;
            }
            const float* src = tmp.Row(sy);
            float kv = k[i + r];
            for (int x = x0; x < x1; ++x) {
                dst[x] += src[x] * kv;
            }
        }
    }
    out.Trim();
    return out;
}

Mask Shifted(const Mask& mask, float dx, float dy) {
    Mask out(mask.Width(), mask.Height());
    int ix = static_cast<int>(std::floor(dx)), iy = static_cast<int>(std::floor(dy));
    float fx = dx - ix, fy = dy - iy;
    out.SetBox(mask.X0() + ix, mask.Y0() + iy, mask.X1() + ix + 1, mask.Y1() + iy + 1);
    for (int y = out.Y0(); y < out.Y1(); ++y) {
        float* ro = out.Row(y);
        for (int x = out.X0(); x < out.X1(); ++x) {
            int sx = x - ix, sy = y - iy;
            float v = mask.At(sx, sy) * (1 - fx) * (1 - fy) + mask.At(sx - 1, sy) * fx * (1 - fy) +
                      mask.At(sx, sy - 1) * (1 - fx) * fy + mask.At(sx - 1, sy - 1) * fx * fy;
            ro[x] = v;
        }
    }
    out.Trim();
    return out;
}

Mask Multiply(const Mask& a, const Mask& b) {
    return Combine(a, b, Reach::Both, [](float p, float q) { return p * q; });
}
Mask Subtract(const Mask& a, const Mask& b) {
    return Combine(a, b, Reach::First, [](float p, float q) { return p * (1 - q); });
}
Mask Union(const Mask& a, const Mask& b) {
    return Combine(a, b, Reach::Either, [](float p, float q) { return p + q - p * q; });
}
Mask Inverted(const Mask& a) {
    return Combine(a, a, Reach::All, [](float p, float) { return 1 - p; });
}
Mask Scaled(const Mask& a, float k) {
    return Combine(a, a, Reach::First, [k](float p, float) { return p * k; });
}

Mask EdgeBand(const Mask& shape, float dx, float dy) {
    return Subtract(shape, Shifted(shape, dx, dy));
}

void DropShadow(Canvas& canvas, const Mask& shape, float dx, float dy, float sigma, Rgba colour) {
    canvas.Composite(Blur(Shifted(shape, dx, dy), sigma), Solid(colour));
}

void InnerShadow(Canvas& canvas, const Mask& shape, float dx, float dy, float sigma, Rgba colour) {
    Mask outside = Shifted(Inverted(shape), dx, dy);
    canvas.Composite(Multiply(Blur(outside, sigma), shape), Solid(colour));
}

void Glow(Canvas& canvas, const Mask& shape, float sigma, Rgba colour, float strength) {
    canvas.Composite(Blur(shape, sigma), Solid(colour), strength, Blend::Screen);
}

void Bevel(Canvas& canvas, const Mask& shape, float width, Rgba light, Rgba dark, bool sunk) {
    Mask upper_left = EdgeBand(shape, width, width);
    Mask lower_right = EdgeBand(shape, -width, -width);
    canvas.Composite(sunk ? lower_right : upper_left, Solid(light));
    canvas.Composite(sunk ? upper_left : lower_right, Solid(dark));
}

} // namespace kavlo::skingen
