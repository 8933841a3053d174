#include "glyphs.h"

#include <map>

#include "effects.h"
#include "raster.h"

namespace kavlo::skingen {

Mask PowerGlyph(int width, int height, Vec2 c, double r) {
    double w = r * 0.32;
    Path p = ArcBand(c, r - w / 2, w, -58, 238);
    p.Add(Stroke({{c.x, c.y - r * 1.02}, {c.x, c.y - r * 0.25}}, w));
    return Rasterize(p.Oriented(), width, height);
}

Mask GearGlyph(int width, int height, Vec2 c, double r) {
    constexpr int kTeeth = 8;
    std::vector<Vec2> pts;
    for (int i = 0; i < kTeeth; ++i) {
        double a = 360.0 * i / kTeeth;
        pts.push_back(Polar(c, r * 0.74, a - 22.5));
        pts.push_back(Polar(c, r, a - 11));
        pts.push_back(Polar(c, r, a + 11));
        pts.push_back(Polar(c, r * 0.74, a + 22.5));
    }
    Path gear = Polygon(pts);
    gear.Add(Circle(c, r * 0.34));
    return Rasterize(gear, width, height, FillRule::EvenOdd);
}

Mask MoonGlyph(int width, int height, Vec2 c, double r) {
    Mask disc = Rasterize(Circle(c, r), width, height);
    Mask bite = Rasterize(Circle({c.x + r * 0.55, c.y - r * 0.35}, r * 0.82), width, height);
    return Subtract(disc, bite);
}

Path Chevron(Vec2 c, double r, double degrees, double width) {
    std::vector<Vec2> pts{Polar(c, r * 0.9, degrees + 135), Polar(c, r, degrees),
                          Polar(c, r * 0.9, degrees - 135)};
    Vec2 shift = Polar({0, 0}, r * 0.3, degrees + 180);
    for (auto& p : pts) {
        p = p + shift;
    }
    return Stroke(pts, width, Cap::Round);
}

Path Triangle(Vec2 c, double r, double degrees) {
    return Polygon({Polar(c, r, degrees), Polar(c, r, degrees + 120), Polar(c, r, degrees + 240)});
}

namespace {

using Strokes = std::vector<std::vector<Vec2>>;

// Capitals are 6 units tall and at most 4 wide.
const std::map<char, Strokes>& StrokeFont() {
    static const std::map<char, Strokes> font{
        {'A', {{{0, 6}, {0, 2}, {2, 0}, {4, 2}, {4, 6}}, {{0, 3.5}, {4, 3.5}}}},
        {'C', {{{4, 0.8}, {3.2, 0}, {0.8, 0}, {0, 0.8}, {0, 5.2}, {0.8, 6}, {3.2, 6}, {4, 5.2}}}},
        {'D', {{{0, 0}, {0, 6}, {2.6, 6}, {4, 4.6}, {4, 1.4}, {2.6, 0}, {0, 0}}}},
        {'E', {{{4, 0}, {0, 0}, {0, 6}, {4, 6}}, {{0, 3}, {3, 3}}}},
        {'N', {{{0, 6}, {0, 0}, {4, 6}, {4, 0}}}},
        {'P', {{{0, 6}, {0, 0}, {3.2, 0}, {4, 0.8}, {4, 2.4}, {3.2, 3.2}, {0, 3.2}}}},
        {'R', {{{0, 6}, {0, 0}, {3.2, 0}, {4, 0.8}, {4, 2.4}, {3.2, 3.2}, {0, 3.2}}, {{2, 3.2}, {4, 6}}}},
        {'T', {{{0, 0}, {4, 0}}, {{2, 0}, {2, 6}}}},
        {'W', {{{0, 0}, {0.8, 6}, {2, 2.5}, {3.2, 6}, {4, 0}}}},
        {'Z', {{{0, 0}, {4, 0}, {0, 6}, {4, 6}}}},
        {'3',
         {{{0, 0.8}, {0.8, 0}, {3.2, 0}, {4, 0.8}, {4, 2.2}, {3.2, 3}, {1.4, 3}},
          {{3.2, 3}, {4, 3.8}, {4, 5.2}, {3.2, 6}, {0.8, 6}, {0, 5.2}}}},
    };
    return font;
}

constexpr double kAdvance = 5.4; // units per letter, gap included

} // namespace

double TextWidth(std::string_view text, double height) {
    if (text.empty()) {
        return 0;
    }
    return (text.size() * kAdvance - (kAdvance - 4)) * height / 6;
}

Path TextPath(std::string_view text, Vec2 origin, double height, double stroke) {
    Path out;
    double unit = height / 6;
    for (size_t i = 0; i < text.size(); ++i) {
        auto it = StrokeFont().find(text[i]);
        if (it == StrokeFont().end()) {
            continue;
        }
        for (const auto& line : it->second) {
            std::vector<Vec2> pts;
            for (Vec2 p : line) {
                pts.push_back({origin.x + (i * kAdvance + p.x) * unit, origin.y + p.y * unit});
            }
            out.Add(Stroke(pts, stroke, Cap::Round));
        }
    }
    return out.Oriented();
}

} // namespace kavlo::skingen
