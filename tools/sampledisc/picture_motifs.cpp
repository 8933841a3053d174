#include <algorithm>

#include "sampledisc/picture_art.h"
#include "skingen/effects.h"
#include "skingen/glyphs.h"
#include "skingen/noise.h"
#include "skingen/raster.h"

namespace kavlo::sample {

using namespace skingen;

namespace {

// Shapes are designed on a 100 x 100 grid whose bottom edge (y = 100) is the ground line.
struct Pen {
    Canvas& c;
    Affine place;
    double unit; // pixels per grid unit
    Rgba body;
    Rgba light;

    Mask Shape(const Path& p, FillRule rule = FillRule::NonZero) const {
        return Rasterize(p.Transformed(place), c.Width(), c.Height(), rule);
    }
    Mask Line(const std::vector<Vec2>& points, double width, Cap cap = Cap::Round) const {
        return Shape(Stroke(points, width, cap));
    }
    void Shaded(const Mask& m, Rgba colour) const {
        c.Composite(m, Linear({0, static_cast<double>(m.Y0())}, {0, static_cast<double>(m.Y1())},
                              {{0, Mix(colour, Hex(0xFFFFFF), 0.3f)}, {1, Shade(colour, 0.55f)}}));
    }
    void Body(const Mask& m) const { Shaded(m, body); }
    void Dark(const Mask& m) const { Shaded(m, Shade(body, 0.35f)); }
    // Something that gives light: a halo, then the lit shape.
    void Lamp(const Mask& m, double halo) const {
        Glow(c, m, static_cast<float>(halo * unit), light, 0.9f);
        c.Composite(m, Solid(Mix(light, Hex(0xFFFFFF), 0.4f)));
    }
    Vec2 At(Vec2 p) const { return place.Apply(p); }
};

void Car(const Pen& p) {
    Path shell = RoundRect(8, 62, 84, 20, 7);
    shell.Add(Polygon({{26, 63}, {36, 46}, {66, 46}, {78, 63}}));
    Path windows = Polygon({{33, 61}, {40, 50}, {50, 50}, {50, 61}});
    windows.Add(Polygon({{54, 61}, {54, 50}, {64, 50}, {72, 61}}));
    Mask glass = p.Shape(windows);
    Mask body = Subtract(p.Shape(shell.Oriented()), glass);
    p.Body(body);
    p.c.Composite(Multiply(body, p.Shape(RectPath(8, 70, 84, 3))), Solid(WithAlpha(p.light, 0.8f)));
    p.c.Composite(glass, Solid(Hex(0x1A2230, 0.85f)));
    Path wheels = Circle({27, 84}, 10);
    wheels.Add(Circle({73, 84}, 10));
    p.Dark(p.Shape(wheels));
    Path hubs = Circle({27, 84}, 4);
    hubs.Add(Circle({73, 84}, 4));
    p.c.Composite(p.Shape(hubs), Solid(Hex(0xC8CCD0)));
    p.Lamp(p.Shape(RoundRect(88, 65, 5, 5, 2)), 3);
}

void Biplane(const Pen& p) {
    Path hull = Ellipse({50, 55}, 34, 7);
    hull.Add(Polygon({{16, 55}, {8, 38}, {15, 38}, {28, 52}}));
    p.Dark(p.Line({{40, 41}, {40, 65}}, 1.6));
    p.Dark(p.Line({{62, 41}, {62, 65}}, 1.6));
    p.Dark(p.Line({{50, 60}, {50, 76}}, 1.6));
    p.Dark(p.Shape(Circle({50, 77}, 4)));
    p.Body(p.Shape(hull.Oriented()));
    p.Body(p.Shape(RoundRect(30, 37, 42, 4.5, 2)));
    p.Body(p.Shape(RoundRect(28, 63, 46, 4.5, 2)));
    p.c.Composite(p.Shape(Ellipse({86, 55}, 2, 13)), Solid(Hex(0x202020, 0.6f)));
    p.Lamp(p.Shape(Circle({74, 52}, 2.5)), 1.5);
}

void PaperPlane(const Pen& p) {
    Path trail;
    for (int i = 0; i < 9; ++i) {
        const double t = i / 8.0;
        trail.Add(Circle({4 + t * 34, 78 - 22 * t - 10 * t * (1 - t) * 4}, 1.3));
    }
    p.c.Composite(p.Shape(trail), Solid(WithAlpha(p.light, 0.7f)));
    p.Body(p.Shape(Polygon({{36, 56}, {94, 34}, {52, 66}})));
    p.Shaded(p.Shape(Polygon({{52, 66}, {94, 34}, {56, 76}})), Shade(p.body, 0.7f));
    p.Dark(p.Line({{52, 66}, {94, 34}}, 1));
}

void Ship(const Pen& p) {
    p.Dark(p.Line({{30, 62}, {30, 34}}, 1.5));
    p.Body(p.Shape(RectPath(22, 60, 54, 14)));
    p.Body(p.Shape(RectPath(46, 48, 24, 12)));
    p.Shaded(p.Shape(RectPath(56, 34, 8, 14)), Hex(0xB03A2E));
    p.Dark(p.Shape(Polygon({{4, 72}, {96, 72}, {86, 92}, {14, 92}})));
    Path windows;
    for (int i = 0; i < 7; ++i) {
        windows.Add(RectPath(25 + i * 7, 64, 3.5, 4));
    }
    windows.Add(RectPath(49, 52, 4, 4)).Add(RectPath(57, 52, 4, 4)).Add(RectPath(65, 52, 3, 4));
    p.Lamp(p.Shape(windows), 2);
    p.Lamp(p.Shape(Circle({30, 33}, 1.8)), 3);
}

void Submarine(const Pen& p) {
    Path bubbles;
    for (int i = 0; i < 5; ++i) {
        bubbles.Add(Circle({58 + (i % 2) * 4.0, 36 - i * 7.0}, 1.2 + i * 0.4));
    }
    p.c.Composite(p.Shape(bubbles), Solid(WithAlpha(p.light, 0.5f)));
    p.Dark(p.Line({{52, 44}, {52, 32}, {58, 32}}, 2));
    Path hull = Ellipse({50, 62}, 42, 12);
    hull.Add(RoundRect(40, 42, 16, 18, 4));
    p.Body(p.Shape(hull.Oriented()));
    p.Dark(p.Shape(Ellipse({7, 62}, 2.5, 8)));
    Path ports;
    for (int i = 0; i < 4; ++i) {
        ports.Add(Circle({30 + i * 14.0, 63}, 2.6));
    }
    p.Lamp(p.Shape(ports), 2.5);
    p.Lamp(p.Shape(Polygon({{92, 60}, {140, 48}, {140, 76}})), 1);
}

void Train(const Pen& p) {
    Path smoke;
    for (int i = 0; i < 5; ++i) {
        smoke.Add(Circle({28 - i * 9.0, 34 - i * 5.0}, 4 + i * 1.5));
    }
    p.c.Composite(Blur(p.Shape(smoke.Oriented()), static_cast<float>(p.unit * 1.5)),
                  Solid(Hex(0xD8D8D8, 0.7f)));
    Path engine = RoundRect(18, 56, 46, 22, 9);
    engine.Add(RectPath(60, 44, 24, 34)).Add(Polygon({{26, 57}, {24, 40}, {34, 40}, {32, 57}}));
    engine.Add(Circle({44, 56}, 5)).Add(Polygon({{18, 72}, {6, 92}, {18, 92}}));
    p.Body(p.Shape(engine.Oriented()));
    p.Dark(p.Shape(RoundRect(57, 40, 30, 5, 2)));
    Path wheels = Circle({30, 85}, 8);
    wheels.Add(Circle({48, 85}, 8)).Add(Circle({72, 85}, 8));
    p.Dark(p.Shape(wheels));
    p.Dark(p.Line({{30, 85}, {72, 85}}, 2));
    p.Lamp(p.Shape(RectPath(66, 50, 12, 10)), 2);
    p.Lamp(p.Shape(Circle({14, 62}, 3)), 4);
}

void Lighthouse(const Pen& p) {
    p.c.Composite(p.Shape(Polygon({{50, 19}, {-80, 2}, {-80, 36}})), Solid(WithAlpha(p.light, 0.28f)), 1,
                  Blend::Add);
    p.c.Composite(p.Shape(Polygon({{50, 19}, {180, 6}, {180, 32}})), Solid(WithAlpha(p.light, 0.22f)), 1,
                  Blend::Add);
    Mask tower = p.Shape(Polygon({{40, 100}, {60, 100}, {56, 28}, {44, 28}}));
    p.Body(tower);
    Path stripes = RectPath(30, 44, 40, 9);
    stripes.Add(RectPath(30, 70, 40, 9));
    p.c.Composite(Multiply(tower, p.Shape(stripes)), Solid(Hex(0xB83A30, 0.9f)));
    p.Dark(p.Shape(RectPath(40, 24, 20, 4)));
    p.Lamp(p.Shape(RectPath(44, 14, 12, 10)), 4);
    p.Dark(p.Shape(Polygon({{42, 14}, {50, 5}, {58, 14}})));
}

void Castle(const Pen& p) {
    Path walls = RectPath(22, 56, 56, 44);
    walls.Add(RectPath(10, 34, 22, 66)).Add(RectPath(68, 34, 22, 66));
    Path notches;
    for (double x : {12.5, 23.5, 70.5, 81.5}) {
        notches.Add(RectPath(x, 30, 4, 8));
    }
    for (double x : {36.0, 46.0, 56.0}) {
        notches.Add(RectPath(x, 52, 5, 8));
    }
    Mask stone = Subtract(p.Shape(walls.Oriented()), p.Shape(notches));
    p.Body(stone);
    p.c.Composite(p.Shape(RoundRect(42, 74, 16, 28, 8)), Solid(Hex(0x0C0A08)));
    Path slits = RectPath(19, 46, 3, 9);
    slits.Add(RectPath(77, 46, 3, 9)).Add(RectPath(19, 66, 3, 9)).Add(RectPath(77, 66, 3, 9));
    p.Lamp(p.Shape(slits), 2);
    p.Dark(p.Line({{21, 34}, {21, 14}}, 1.2));
    p.Shaded(p.Shape(Polygon({{21.5, 14}, {34, 18}, {21.5, 22}})), p.light);
}

// Rows of towers across the whole picture, from the ground line up to `tall` pixels.
void Skyline(Canvas& c, const Pen& p, Vec2 base, double tall, uint64_t seed, bool chimneys) {
    Rng rng(seed);
    Path blocks, windows, stacks;
    for (double x = -4; x < c.Width();) {
        const double w = tall * (0.22 + 0.25 * rng.Unit());
        const double h = tall * (chimneys ? 0.3 + 0.25 * rng.Unit() : 0.45 + 0.55 * rng.Unit());
        blocks.Add(RectPath(x, base.y - h, w - 1, h + 2));
        if (chimneys && rng.Unit() < 0.6) {
            stacks.Add(RectPath(x + w * 0.3, base.y - h - tall * 0.35, tall * 0.06, tall * 0.36));
        }
        const double cell = std::max(3.0, tall * 0.07);
        for (double wy = base.y - h + cell; wy < base.y - cell; wy += cell * 1.6) {
            for (double wx = x + cell * 0.6; wx < x + w - cell * 1.4; wx += cell * 1.4) {
                if (rng.Unit() < (chimneys ? 0.25 : 0.45)) {
                    windows.Add(RectPath(wx, wy, cell * 0.7, cell * 0.8));
                }
            }
        }
        x += w;
    }
    const auto mask = [&c](const Path& path) { return Rasterize(path, c.Width(), c.Height()); };
    if (chimneys) {
        const Mask tops = mask(stacks);
        Path smoke;
        for (const auto& contour : stacks.contours) {
            const Vec2 top = contour.front();
            smoke.Add(Circle({top.x + tall * 0.1, top.y - tall * 0.12}, tall * 0.1));
        }
        c.Composite(Blur(mask(smoke.Oriented()), static_cast<float>(tall * 0.05)),
                    Solid(Hex(0xBFB8AA, 0.6f)));
        p.Dark(tops);
    }
    p.Dark(mask(blocks.Oriented()));
    p.Lamp(mask(windows), 0.6);
}

void Planet(const Pen& p) {
    const Vec2 centre = p.At({50, 52});
    const double r = 30 * p.unit;
    p.c.Composite(
        p.Shape(Circle({50, 52}, 30)),
        Radial({centre.x - r * 0.35, centre.y - r * 0.4}, r * 1.4,
               {{0, Mix(p.body, Hex(0xFFFFFF), 0.45f)}, {0.6f, p.body}, {1, Shade(p.body, 0.25f)}}));
    Path ring = Ellipse({50, 52}, 50, 11);
    ring.Add(Ellipse({50, 52}, 41, 7.5));
    const Affine tilt = Affine::Rotate(-16, {50, 52});
    p.c.Composite(p.Shape(ring.Transformed(tilt), FillRule::EvenOdd), Solid(WithAlpha(p.light, 0.75f)));
    p.Lamp(p.Shape(Circle({88, 24}, 4.5)), 2);
}

void Marbles(const Pen& p) {
    const struct {
        double x, y, r;
        float tint;
    } marbles[] = {{28, 84, 15, 0}, {58, 88, 11, 0.5f}, {82, 82, 13, 0.25f}, {44, 62, 9, 0.75f}};
    for (const auto& m : marbles) {
        const Vec2 c = p.At({m.x, m.y});
        const double r = m.r * p.unit;
        const Rgba colour = Mix(p.body, p.light, m.tint);
        p.c.Composite(p.Shape(Circle({m.x, m.y}, m.r)),
                      Radial({c.x - r * 0.35, c.y - r * 0.45}, r * 1.3,
                             {{0, Hex(0xFFFFFF)}, {0.2f, colour}, {1, Shade(colour, 0.3f)}}));
    }
}

void Gem(const Pen& p) {
    Mask stone = p.Shape(Polygon({{30, 30}, {70, 30}, {88, 50}, {50, 98}, {12, 50}}));
    Glow(p.c, stone, static_cast<float>(8 * p.unit), p.light, 0.7f);
    p.Body(stone);
    const Mask facets = p.Shape(Stroke({{12, 50}, {88, 50}}, 1.4)
                                    .Add(Stroke({{30, 30}, {40, 50}, {50, 98}, {60, 50}, {70, 30}}, 1.4)));
    p.c.Composite(facets, Solid(WithAlpha(p.light, 0.8f)));
    p.c.Composite(p.Shape(Star({38, 40}, 7, 1.5, 4, 0)), Solid(Hex(0xFFFFFF)));
}

void Flame(const Pen& p) {
    p.Shaded(p.Line({{14, 98}, {86, 26}}, 3.5, Cap::Butt), Hex(0xC8CCD0));
    p.Dark(p.Line({{18, 82}, {30, 94}}, 4));
    Mask fire = p.Shape(
        Polygon({{50, 16}, {62, 40}, {72, 60}, {68, 84}, {50, 98}, {32, 84}, {28, 62}, {38, 44}, {44, 58}}));
    Glow(p.c, fire, static_cast<float>(10 * p.unit), p.light, 1.0f);
    p.Body(fire);
    p.Lamp(p.Shape(Polygon({{50, 50}, {58, 68}, {56, 86}, {50, 92}, {44, 86}, {42, 70}})), 2);
}

void Moth(const Pen& p) {
    p.Dark(p.Line({{70, 28}, {70, 50}}, 1.2));
    p.Dark(p.Shape(RoundRect(62, 48, 16, 4, 1.5)));
    p.Lamp(p.Shape(RoundRect(63, 52, 14, 22, 3)), 10);
    p.Dark(p.Shape(RoundRect(62, 74, 16, 4, 1.5)));
    const Vec2 body{32, 44};
    Path wings;
    wings.Add(Ellipse({24, 36}, 12, 7).Transformed(Affine::Rotate(-30, body)));
    wings.Add(Ellipse({40, 36}, 12, 7).Transformed(Affine::Rotate(30, body)));
    wings.Add(Ellipse({26, 50}, 8, 5).Transformed(Affine::Rotate(25, body)));
    wings.Add(Ellipse({38, 50}, 8, 5).Transformed(Affine::Rotate(-25, body)));
    p.Body(p.Shape(wings.Oriented()));
    p.Dark(p.Shape(Ellipse(body, 2.5, 9)));
}

void Horseshoe(const Pen& p) {
    Mask shoe = p.Shape(ArcBand({50, 58}, 32, 15, -12, 192));
    Path nails;
    for (double degrees : {8.0, 40.0, 72.0, 108.0, 140.0, 172.0}) {
        nails.Add(Circle(Polar({50, 58}, 32, degrees), 2.2));
    }
    Glow(p.c, shoe, static_cast<float>(5 * p.unit), p.light, 0.5f);
    p.Body(Subtract(shoe, p.Shape(nails)));
    Path sparks = Star({22, 30}, 6, 1.4, 4, 0);
    sparks.Add(Star({80, 36}, 4, 1, 4, 0)).Add(Star({66, 20}, 3, 0.8, 4, 0));
    p.c.Composite(p.Shape(sparks), Solid(Hex(0xFFFFFF)));
}

void Crown(const Pen& p) {
    Path crown = Polygon({{22, 78}, {16, 40}, {35, 58}, {50, 28}, {65, 58}, {84, 40}, {78, 78}});
    crown.Add(Circle({16, 40}, 4)).Add(Circle({50, 28}, 4)).Add(Circle({84, 40}, 4));
    crown.Add(RoundRect(20, 74, 60, 14, 2));
    Mask gold = p.Shape(crown.Oriented());
    Glow(p.c, gold, static_cast<float>(6 * p.unit), p.light, 0.45f);
    p.Body(gold);
    Path jewels = Circle({50, 81}, 3.5);
    jewels.Add(Circle({34, 81}, 2.5)).Add(Circle({66, 81}, 2.5));
    p.Shaded(p.Shape(jewels), Hex(0xD03040));
}

void Pawn(const Pen& p) {
    Path piece = Circle({50, 40}, 10);
    piece.Add(Ellipse({50, 53}, 11, 3)).Add(Polygon({{43, 54}, {57, 54}, {66, 86}, {34, 86}}));
    piece.Add(RoundRect(28, 85, 44, 11, 3));
    p.Body(p.Shape(piece.Oriented()));
    p.c.Composite(p.Shape(Ellipse({46, 36}, 3, 4)), Solid(Hex(0xFFFFFF, 0.5f)));
}

// Stalks across the whole picture in front of the ground line.
void Reeds(Canvas& c, const Pen& p, Vec2 base, double tall, uint64_t seed) {
    Rng rng(seed);
    Path stalks, heads;
    for (int i = 0; i < 40; ++i) {
        const double x = rng.Unit() * c.Width();
        const double h = tall * (0.4 + 0.6 * rng.Unit());
        const double lean = (rng.Unit() - 0.5) * tall * 0.3;
        const Vec2 top{x + lean, base.y - h};
        stalks.Add(
            Stroke({{x, base.y + 4}, {x + lean * 0.4, base.y - h * 0.5}, top}, std::max(1.0, tall * 0.018)));
        if (rng.Unit() < 0.4) {
            heads.Add(Ellipse({top.x, top.y + tall * 0.06}, tall * 0.025, tall * 0.07));
        }
    }
    p.c.Composite(Rasterize(stalks.Oriented(), c.Width(), c.Height()),
                  Linear({0, base.y - tall}, {0, base.y},
                         {{0, Mix(p.body, Hex(0xFFFFFF), 0.2f)}, {1, Shade(p.body, 0.4f)}}));
    p.Dark(Rasterize(heads.Oriented(), c.Width(), c.Height()));
}

void Wave(const Pen& p) {
    Mask water = p.Shape(Polygon({{-30, 100},
                                  {0, 90},
                                  {20, 72},
                                  {35, 50},
                                  {48, 32},
                                  {60, 22},
                                  {72, 20},
                                  {82, 26},
                                  {86, 36},
                                  {80, 40},
                                  {72, 34},
                                  {64, 38},
                                  {60, 50},
                                  {64, 70},
                                  {76, 88},
                                  {94, 100}}));
    p.Body(water);
    p.c.Composite(p.Line({{36, 50}, {48, 32}, {60, 22}, {72, 20}, {82, 26}, {86, 36}}, 3),
                  Solid(WithAlpha(p.light, 0.9f)));
    p.Shaded(p.Shape(Ellipse({44, 62}, 12, 2.5).Transformed(Affine::Rotate(-32, {44, 62}))), Hex(0xF2C14E));
    p.Dark(p.Line({{44, 58}, {46, 48}}, 2.5));
    p.Dark(p.Shape(Circle({47, 45}, 3)));
}

void Gears(const Pen& p) {
    const Mask big = GearGlyph(p.c.Width(), p.c.Height(), p.At({36, 66}), 30 * p.unit);
    const Mask small = GearGlyph(p.c.Width(), p.c.Height(), p.At({76, 40}), 18 * p.unit);
    p.Body(big);
    p.Shaded(small, Mix(p.body, p.light, 0.4f));
}

void Emblem(const Pen& p, Pictogram kind) {
    const Mask window = p.Shape(RoundRect(-34, 8, 168, 90, 6));
    DropShadow(p.c, window, 0, static_cast<float>(2 * p.unit), static_cast<float>(3 * p.unit),
               Hex(0x000000, 0.5f));
    p.c.Composite(window, Solid(Hex(0x1C1F23, 0.92f)));
    p.Shaded(p.Shape(RoundRect(-34, 8, 168, 12, 6)), p.body);
    Path dots = Circle({120, 14}, 2);
    dots.Add(Circle({113, 14}, 2)).Add(Circle({106, 14}, 2));
    p.c.Composite(p.Shape(dots), Solid(Hex(0xFFFFFF, 0.7f)));
    // The pictogram's 50-unit grid, its tallest shape 42 units, fills most of the window.
    const double scale = 68.0 / 42.0;
    const Affine grid = p.place.After(
        Affine::Translate(50, 59).After(Affine::Scale(scale, scale).After(Affine::Translate(-25, -25))));
    const Mask glyph = DrawPictogram(kind, p.c.Width(), p.c.Height(), grid);
    Glow(p.c, glyph, static_cast<float>(4 * p.unit), p.light, 0.8f);
    p.Shaded(glyph, Mix(p.light, Hex(0xFFFFFF), 0.5f));
}

} // namespace

void DrawMotif(Canvas& canvas, const SceneLook& look, Vec2 base, double size, uint64_t seed) {
    const double unit = size / 100;
    const Affine place = Affine::Translate(base.x, base.y)
                             .After(Affine::Scale(unit, unit).After(Affine::Translate(-50, -100)));
    const Pen pen{canvas, place, unit, Hex(look.colours.body), Hex(look.colours.light)};
    switch (look.motif) {
        case Motif::Car:
            return Car(pen);
        case Motif::Biplane:
            return Biplane(pen);
        case Motif::PaperPlane:
            return PaperPlane(pen);
        case Motif::Ship:
            return Ship(pen);
        case Motif::Submarine:
            return Submarine(pen);
        case Motif::Train:
            return Train(pen);
        case Motif::Lighthouse:
            return Lighthouse(pen);
        case Motif::Castle:
            return Castle(pen);
        case Motif::Skyline:
            return Skyline(canvas, pen, base, size, seed, false);
        case Motif::Factory:
            return Skyline(canvas, pen, base, size, seed, true);
        case Motif::Planet:
            return Planet(pen);
        case Motif::Marbles:
            return Marbles(pen);
        case Motif::Gem:
            return Gem(pen);
        case Motif::Flame:
            return Flame(pen);
        case Motif::Moth:
            return Moth(pen);
        case Motif::Horseshoe:
            return Horseshoe(pen);
        case Motif::Crown:
            return Crown(pen);
        case Motif::Pawn:
            return Pawn(pen);
        case Motif::Reeds:
            return Reeds(canvas, pen, base, size, seed);
        case Motif::Wave:
            return Wave(pen);
        case Motif::Gears:
            return Gears(pen);
        case Motif::Emblem:
            return Emblem(pen, look.emblem);
    }
}

} // namespace kavlo::sample
