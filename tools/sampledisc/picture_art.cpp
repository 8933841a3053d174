#include "sampledisc/picture_art.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "sampledisc/stroke_letters.h"
#include "skingen/effects.h"
#include "skingen/noise.h"
#include "skingen/raster.h"

namespace kavlo::sample {

using namespace skingen;

namespace {

Mask ShapeOf(const Canvas& c, const Path& path) {
    return Rasterize(path, c.Width(), c.Height());
}

// A line of hills: value noise along x, `octaves` of it, lifting the line up to `amp` above `y0`. The
// shape reaches down to `bottom`.
Path Ridge(const Canvas& c, double y0, double amp, double period, int octaves, double bottom, uint64_t seed) {
    std::vector<Vec2> points;
    for (double x = -2; x <= c.Width() + 4; x += 3) {
        double n = 0, weight = 1, total = 0;
        for (int o = 0; o < octaves; ++o) {
            n += weight * ValueNoise(x / (period / (1 << o)), 0.5, seed + o);
            total += weight;
            weight *= 0.45;
        }
        points.push_back({x, y0 - amp * (0.5 + 0.5 * n / total)});
    }
    points.push_back({c.Width() + 4.0, bottom});
    points.push_back({-2, bottom});
    return Polygon(std::move(points));
}

// Only the part above the horizon: the ground covers the rest.
void Sky(Canvas& c, const Palette& k, double horizon) {
    c.Fill(RectPath(0, 0, c.Width(), horizon + 1),
           Linear({0, 0}, {0, horizon}, {{0, Hex(k.sky_top)}, {1, Hex(k.sky_bottom)}}));
}

void Light(Canvas& c, const Palette& k, Vec2 at) {
    const double h = c.Height();
    c.Fill(Circle(at, h * 0.35), Radial(at, h * 0.35, {{0, Hex(k.light, 0.45f)}, {1, Hex(k.light, 0)}}),
           FillRule::NonZero, 1, Blend::Screen);
    c.Fill(Circle(at, h * 0.07), Solid(Mix(Hex(k.light), Hex(0xFFFFFF), 0.5f)));
}

void Stars(Canvas& c, const Palette& k, uint64_t seed) {
    Rng rng(seed);
    Path stars;
    for (int i = 0; i < c.Width() * c.Height() / 500; ++i) {
        stars.Add(Circle({rng.Unit() * c.Width(), rng.Unit() * c.Height()}, 0.4 + rng.Unit() * 0.9));
    }
    c.Composite(ShapeOf(c, stars), Solid(Mix(Hex(k.light), Hex(0xFFFFFF), 0.6f)));
}

void Water(Canvas& c, const Palette& k, double horizon, double light_x, uint64_t seed) {
    const double w = c.Width(), h = c.Height();
    c.Fill(Ridge(c, horizon + 1, h * 0.04, w / 4, 2, horizon + 1, seed), Solid(Hex(k.far)));
    c.Fill(RectPath(0, horizon, w, h - horizon),
           Linear({0, horizon}, {0, h},
                  {{0, Mix(Hex(k.sky_bottom), Hex(k.near), 0.5f)}, {1, Shade(Hex(k.near), 0.5f)}}));
    // The light's path on the water: short glints, wider towards the viewer.
    Rng rng(seed);
    Path glints;
    for (double y = horizon + 2; y < h; y += 2.5 + (y - horizon) * 0.06) {
        const double spread = 4 + (y - horizon) * 0.5;
        const double x = light_x + (rng.Unit() - 0.5) * spread;
        glints.Add(RoundRect(x - spread * 0.25, y, spread * (0.2 + 0.3 * rng.Unit()), 1.2, 0.6));
    }
    c.Composite(ShapeOf(c, glints.Oriented()), Solid(Hex(k.light, 0.6f)), 1, Blend::Screen);
}

// A floor in perspective: its grid runs to a vanishing point on the horizon.
void Floor(Canvas& c, const Palette& k, double horizon, double vanish_x) {
    const double w = c.Width(), h = c.Height();
    c.Fill(RectPath(0, horizon, w, h - horizon),
           Linear({0, horizon}, {0, h}, {{0, Hex(k.near)}, {1, Shade(Hex(k.near), 0.45f)}}));
    Path grid;
    for (int i = -8; i <= 8; ++i) {
        grid.Add(Stroke({{vanish_x, horizon}, {vanish_x + i * w * 0.22, h}}, 1, Cap::Butt));
    }
    for (double t = 0.12; t < 1; t += t * 0.5) {
        const double y = horizon + (h - horizon) * t;
        grid.Add(RectPath(0, y, w, 1));
    }
    c.Composite(ShapeOf(c, grid.Oriented()), Solid(Hex(k.far, 0.55f)));
}

void DrawGround(Canvas& c, const SceneLook& look, double horizon, double light_x, uint64_t seed) {
    const Palette& k = look.colours;
    const double w = c.Width(), h = c.Height();
    const auto hills = [&](int octaves, double period) {
        // The far hills need reach only under the top of the near ones.
        c.Fill(Ridge(c, horizon, h * 0.14, period, octaves, horizon + h * 0.09, seed),
               Linear({0, horizon - h * 0.14}, {0, horizon},
                      {{0, Hex(k.far)}, {1, Mix(Hex(k.far), Hex(k.sky_bottom), 0.4f)}}));
        c.Fill(Ridge(c, horizon + h * 0.08, h * 0.07, period * 0.7, octaves, h + 2, seed + 7),
               Linear({0, horizon}, {0, h}, {{0, Hex(k.near)}, {1, Shade(Hex(k.near), 0.5f)}}));
    };
    switch (look.ground) {
        case Ground::Hills:
            return hills(3, w / 2.5);
        case Ground::Dunes:
            return hills(1, w / 1.5);
        case Ground::Water:
            return Water(c, k, horizon, light_x, seed);
        case Ground::Floor:
            return Floor(c, k, horizon, light_x);
        case Ground::Space:
            return Stars(c, k, seed);
        case Ground::Desk: {
            // Soft rounds of light on the wallpaper behind the program's window.
            Rng rng(seed);
            Path rounds;
            for (int i = 0; i < 7; ++i) {
                rounds.Add(Circle({rng.Unit() * w, rng.Unit() * h}, h * (0.08 + 0.12 * rng.Unit())));
            }
            c.Composite(ShapeOf(c, rounds), Solid(Hex(k.light, 0.12f)), 1, Blend::Screen);
            return;
        }
    }
}

// The game's own display: the title's initials top-left, a gauge top-right, the picture's number.
void Hud(Canvas& c, const Palette& k, std::string_view initials, int shot, int shots, double fill) {
    const double w = c.Width(), h = c.Height();
    const double tall = std::max(8.0, h * 0.08);
    const double stroke = std::max(1.3, tall * 0.17);
    const double tw = LetterWidth(initials, tall);
    c.Fill(RoundRect(5, 5, tw + tall, tall * 1.9, tall * 0.4), Solid(Hex(0x000000, 0.45f)));
    const Mask letters = ShapeOf(c, LetterPath(initials, {5 + tall * 0.5, 5 + tall * 0.45}, tall, stroke));
    Glow(c, letters, static_cast<float>(tall * 0.25), Hex(k.light), 0.6f);
    c.Composite(letters, Solid(Mix(Hex(k.light), Hex(0xFFFFFF), 0.6f)));
    const double gauge_w = w * 0.28, gauge_h = tall * 0.55;
    const double gx = w - gauge_w - 7, gy = 5 + tall * 0.7;
    c.Fill(RoundRect(gx - 1.5, gy - 1.5, gauge_w + 3, gauge_h + 3, 2), Solid(Hex(0x000000, 0.5f)));
    c.Fill(RoundRect(gx, gy, gauge_w * fill, gauge_h, 1.5),
           Linear({gx, 0}, {gx + gauge_w, 0}, {{0, Hex(k.body)}, {1, Hex(k.light)}}));
    if (shots > 0) {
        const auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
        const std::string number = two(shot) + "/" + two(shots);
        const double nw = LetterWidth(number, tall);
        c.Fill(RoundRect(w - nw - tall - 5, h - tall * 1.9 - 5, nw + tall, tall * 1.9, tall * 0.4),
               Solid(Hex(0x000000, 0.45f)));
        c.Fill(LetterPath(number, {w - nw - tall * 0.5 - 5, h - tall * 1.45 - 5}, tall, stroke),
               Solid(Hex(0xFFFFFF, 0.9f)));
    }
}

bool SpansWidth(Motif motif) {
    return motif == Motif::Skyline || motif == Motif::Factory || motif == Motif::Reeds;
}

} // namespace

Canvas DrawScene(const SceneLook& look, std::string_view initials, int width, int height, int shot, int shots,
                 uint64_t seed) {
    const Palette& k = look.colours;
    const double w = width, h = height;
    Canvas c(width, height, Hex(k.sky_top));
    // Shot 0 keeps the motif in the middle; the gallery's shots move the view about, each its own way.
    Rng rng(seed ^ (0x9E37u * static_cast<uint64_t>(shot + 1)));
    const bool composed = shot == 0;
    const Vec2 light{w * (0.12 + 0.76 * rng.Unit()), h * (0.17 + 0.13 * rng.Unit())};
    const double pan = composed ? 0.5 : 0.25 + 0.5 * rng.Unit();
    const double horizon = look.ground == Ground::Space || look.ground == Ground::Desk
                               ? h
                               : h * (composed ? 0.6 : 0.5 + 0.16 * rng.Unit());
    const double zoom = composed ? 1 : 0.8 + 0.4 * rng.Unit();
    const double fill = 0.3 + 0.65 * rng.Unit();
    Sky(c, k, horizon);
    Light(c, k, light);
    const uint64_t view_seed = seed + static_cast<uint64_t>(shot) * 101;
    DrawGround(c, look, horizon, light.x, view_seed);
    Vec2 base{w * pan, horizon + (h - horizon) * 0.55};
    double size = h * 0.52 * zoom;
    if (look.ground == Ground::Space || look.ground == Ground::Desk) {
        base.y = h * 0.95;
        size = h * 0.78 * zoom;
    } else if (SpansWidth(look.motif)) {
        base.y = horizon + (h - horizon) * 0.35;
        size = h * 0.42 * zoom;
    }
    DrawMotif(c, look, base, size, view_seed);
    Hud(c, k, initials, shot, shots, fill);
    return c;
}

} // namespace kavlo::sample
