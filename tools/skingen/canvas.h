#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "geometry.h"

namespace kavlo::skingen {

// A straight (not premultiplied) colour, every channel 0..1.
struct Rgba {
    float r = 0;
    float g = 0;
    float b = 0;
    float a = 0;

    bool operator==(const Rgba&) const = default;
};

// 0xRRGGBB as written in a paint program.
Rgba Hex(uint32_t rrggbb, float alpha = 1);
Rgba Mix(Rgba from, Rgba to, float t);
// Channels times k (alpha kept): k < 1 darkens, k > 1 lightens.
Rgba Shade(Rgba c, float k);
Rgba WithAlpha(Rgba c, float alpha);

// Coverage 0..1 per pixel, with the box that holds every non-zero value.
class Mask {
public:
    Mask() = default;
    Mask(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    float At(int x, int y) const;
    float* Row(int y) { return cov_.data() + static_cast<size_t>(y) * width_; }
    const float* Row(int y) const { return cov_.data() + static_cast<size_t>(y) * width_; }
    // The rows and columns that may hold coverage. Whoever writes coverage widens the box first
    // (SetBox, SetAll); Trim() then shrinks it to the pixels that hold coverage.
    int X0() const { return x0_; }
    int Y0() const { return y0_; }
    int X1() const { return x1_; }
    int Y1() const { return y1_; }
    void Trim();
    void SetAll() { x0_ = 0, y0_ = 0, x1_ = width_, y1_ = height_; }
    // The box clipped to the mask.
    void SetBox(int x0, int y0, int x1, int y1);

private:
    int width_ = 0;
    int height_ = 0;
    int x0_ = 0, y0_ = 0, x1_ = 0, y1_ = 0;
    std::vector<float> cov_;
};

// What a fill puts down at a pixel centre (straight colour).
using Paint = std::function<Rgba(double x, double y)>;

struct Stop {
    float at = 0;
    Rgba colour;
};

Paint Solid(Rgba colour);
// Colour along the line from p0 to p1, constant across it.
Paint Linear(Vec2 p0, Vec2 p1, std::vector<Stop> stops);
// Colour by distance from `centre`, reaching the last stop at `radius`; `squash` scales y first.
Paint Radial(Vec2 centre, double radius, std::vector<Stop> stops, double squash = 1);
Rgba StopColour(const std::vector<Stop>& stops, double t);

enum class Blend {
    Over,     // the paint laid on top
    Add,      // light added: glows
    Screen,   // lightens, never past white
    Multiply, // darkens by the paint's colour
};

class Canvas {
public:
    Canvas() = default;
    Canvas(int width, int height, Rgba fill = {});

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgba At(int x, int y) const;

    // The paint through the mask's coverage, times `opacity`.
    void Composite(const Mask& mask, const Paint& paint, float opacity = 1, Blend blend = Blend::Over);
    void Fill(const Path& path, const Paint& paint, FillRule rule = FillRule::NonZero, float opacity = 1,
              Blend blend = Blend::Over);
    // Another canvas laid on top with its top-left corner at (x, y).
    void Draw(const Canvas& src, int x, int y, float opacity = 1);
    Canvas Crop(int x, int y, int width, int height) const;
    // Alpha of every pixel multiplied by the mask (pixels outside the shape fade out).
    void ClipTo(const Mask& mask);

    // 0xAARRGGBB words (blue, green, red, alpha bytes on little-endian), rows from the top.
    std::vector<uint32_t> TopDown() const;
    // The same words with the bottom row first, as the menu stores surfaces.
    std::vector<uint32_t> BottomUp() const;

private:
    struct Px {
        float r, g, b, a; // premultiplied
    };
    int width_ = 0;
    int height_ = 0;
    std::vector<Px> px_;
};

uint8_t ToByte(float v);

} // namespace kavlo::skingen
