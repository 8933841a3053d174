#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "raster.h"

namespace kavlo::skingen {

Rgba Hex(uint32_t rrggbb, float alpha) {
    return {((rrggbb >> 16) & 0xFF) / 255.0f, ((rrggbb >> 8) & 0xFF) / 255.0f, (rrggbb & 0xFF) / 255.0f,
            alpha};
}

Rgba Mix(Rgba from, Rgba to, float t) {
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
            from.a + (to.a - from.a) * t};
}

Rgba Shade(Rgba c, float k) {
    return {std::clamp(c.r * k, 0.0f, 1.0f), std::clamp(c.g * k, 0.0f, 1.0f), std::clamp(c.b * k, 0.0f, 1.0f),
            c.a};
}

Rgba WithAlpha(Rgba c, float alpha) {
    return {c.r, c.g, c.b, alpha};
}

uint8_t ToByte(float v) {
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

Mask::Mask(int width, int height)
    : width_(width), height_(height), cov_(static_cast<size_t>(width) * height, 0.0f) {}

float Mask::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    return cov_[static_cast<size_t>(y) * width_ + x];
}

void Mask::SetBox(int x0, int y0, int x1, int y1) {
    x0_ = std::clamp(x0, 0, width_), x1_ = std::clamp(x1, x0_, width_);
    y0_ = std::clamp(y0, 0, height_), y1_ = std::clamp(y1, y0_, height_);
}

void Mask::Trim() {
    int bx0 = x1_, by0 = y1_, bx1 = x0_, by1 = y0_;
    for (int y = y0_; y < y1_; ++y) {
        const float* row = Row(y);
        for (int x = x0_; x < x1_; ++x) {
            if (row[x] > 0) {
                bx0 = std::min(bx0, x), bx1 = std::max(bx1, x + 1);
                by0 = std::min(by0, y), by1 = std::max(by1, y + 1);
            }
        }
    }
    if (bx1 <= bx0) {
        bx0 = by0 = bx1 = by1 = 0;
    }
    x0_ = bx0, y0_ = by0, x1_ = bx1, y1_ = by1;
}

Paint Solid(Rgba colour) {
    return [colour](double, double) { return colour; };
}

Rgba StopColour(const std::vector<Stop>& stops, double t) {
    if (stops.empty()) {
        return {};
    }
    if (t <= stops.front().at) {
        return stops.front().colour;
    }
    for (size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].at) {
            float span = stops[i].at - stops[i - 1].at;
            float k = span > 0 ? static_cast<float>((t - stops[i - 1].at) / span) : 1.0f;
            return Mix(stops[i - 1].colour, stops[i].colour, k);
        }
    }
    return stops.back().colour;
}

Paint Linear(Vec2 p0, Vec2 p1, std::vector<Stop> stops) {
    Vec2 d = p1 - p0;
    double len2 = d.x * d.x + d.y * d.y;
    return [=](double x, double y) {
        double t = len2 > 0 ? ((x - p0.x) * d.x + (y - p0.y) * d.y) / len2 : 0;
        return StopColour(stops, t);
    };
}

Paint Radial(Vec2 centre, double radius, std::vector<Stop> stops, double squash) {
    return [=](double x, double y) {
        double t = std::hypot(x - centre.x, (y - centre.y) / squash) / radius;
        return StopColour(stops, t);
    };
}

Canvas::Canvas(int width, int height, Rgba fill)
    : width_(width), height_(height), px_(static_cast<size_t>(width) * height,
                                          Px{fill.r * fill.a, fill.g * fill.a, fill.b * fill.a, fill.a}) {}

Rgba Canvas::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return {};
    }
    const Px& p = px_[static_cast<size_t>(y) * width_ + x];
    if (p.a <= 0) {
        return {};
    }
    return {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

namespace {

void BlendPixel(float& dr, float& dg, float& db, float& da, Rgba s, float k, Blend blend) {
    float a = s.a * k;
    if (a <= 0) {
        return;
    }
    switch (blend) {
        case Blend::Over:
            dr = s.r * a + dr * (1 - a);
            dg = s.g * a + dg * (1 - a);
            db = s.b * a + db * (1 - a);
            da = a + da * (1 - a);
            break;
        case Blend::Add:
            dr = std::min(dr + s.r * a, da > 0 ? da : 1.0f);
            dg = std::min(dg + s.g * a, da > 0 ? da : 1.0f);
            db = std::min(db + s.b * a, da > 0 ? da : 1.0f);
            break;
        case Blend::Screen:
            dr = dr + s.r * a * (da - dr);
            dg = dg + s.g * a * (da - dg);
            db = db + s.b * a * (da - db);
            break;
        case Blend::Multiply:
            dr = dr * (1 - a + a * s.r);
            dg = dg * (1 - a + a * s.g);
            db = db * (1 - a + a * s.b);
            break;
    }
}

} // namespace

void Canvas::Composite(const Mask& mask, const Paint& paint, float opacity, Blend blend) {
    int x0 = std::max(mask.X0(), 0), x1 = std::min(mask.X1(), width_);
    int y0 = std::max(mask.Y0(), 0), y1 = std::min(mask.Y1(), height_);
    for (int y = y0; y < y1; ++y) {
        const float* cov = mask.Row(y);
        Px* row = px_.data() + static_cast<size_t>(y) * width_;
        for (int x = x0; x < x1; ++x) {
            float k = cov[x] * opacity;
            if (k <= 0) {
                continue;
            }
            Px& d = row[x];
            BlendPixel(d.r, d.g, d.b, d.a, paint(x + 0.5, y + 0.5), std::min(k, 1.0f), blend);
        }
    }
}

void Canvas::Fill(const Path& path, const Paint& paint, FillRule rule, float opacity, Blend blend) {
    Composite(Rasterize(path, width_, height_, rule), paint, opacity, blend);
}

void Canvas::Draw(const Canvas& src, int x, int y, float opacity) {
    for (int sy = 0; sy < src.height_; ++sy) {
        int dy = y + sy;
        if (dy < 0 || dy >= height_) {
            continue;
        }
        for (int sx = 0; sx < src.width_; ++sx) {
            int dx = x + sx;
            if (dx < 0 || dx >= width_) {
                continue;
            }
            const Px& s = src.px_[static_cast<size_t>(sy) * src.width_ + sx];
            Px& d = px_[static_cast<size_t>(dy) * width_ + dx];
            float a = s.a * opacity;
            d.r = s.r * opacity + d.r * (1 - a);
            d.g = s.g * opacity + d.g * (1 - a);
            d.b = s.b * opacity + d.b * (1 - a);
            d.a = a + d.a * (1 - a);
        }
    }
}

Canvas Canvas::Crop(int x, int y, int width, int height) const {
    Canvas out(width, height);
    for (int cy = 0; cy < height; ++cy) {
        for (int cx = 0; cx < width; ++cx) {
            int sx = std::clamp(x + cx, 0, width_ - 1);
            int sy = std::clamp(y + cy, 0, height_ - 1);
            out.px_[static_cast<size_t>(cy) * width + cx] = px_[static_cast<size_t>(sy) * width_ + sx];
        }
    }
    return out;
}

void Canvas::ClipTo(const Mask& mask) {
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            float k = mask.At(x, y);
            Px& p = px_[static_cast<size_t>(y) * width_ + x];
            p = {p.r * k, p.g * k, p.b * k, p.a * k};
        }
    }
}

std::vector<uint32_t> Canvas::TopDown() const {
    std::vector<uint32_t> out(px_.size());
    for (size_t i = 0; i < px_.size(); ++i) {
        const Px& p = px_[i];
        float inv = p.a > 0 ? 1 / p.a : 0;
        uint32_t a = ToByte(p.a);
        out[i] = (a << 24) | (uint32_t{ToByte(p.r * inv)} << 16) | (uint32_t{ToByte(p.g * inv)} << 8) |
                 ToByte(p.b * inv);
    }
    return out;
}

std::vector<uint32_t> Canvas::BottomUp() const {
    std::vector<uint32_t> top = TopDown();
    std::vector<uint32_t> out(top.size());
    for (int y = 0; y < height_; ++y) {
        std::copy_n(top.begin() + static_cast<std::ptrdiff_t>(y) * width_, width_,
                    out.begin() + static_cast<std::ptrdiff_t>(height_ - 1 - y) * width_);
    }
    return out;
}

} // namespace kavlo::skingen
