#include "pictograms.h"

#include "effects.h"
#include "glyphs.h"
#include "raster.h"

namespace kavlo::skingen {

namespace {

// Shapes on the design grid, rasterised through the placement.
struct Grid {
    int w;
    int h;
    const Affine& place;

    Mask Fill(const Path& p, FillRule rule = FillRule::NonZero) const {
        return Rasterize(p.Transformed(place), w, h, rule);
    }
    Mask Line(const std::vector<Vec2>& pts, double width, Cap cap = Cap::Round) const {
        return Fill(Stroke(pts, width, cap));
    }
    // A ring between two radii.
    Mask Ring(Vec2 c, double r, double width) const {
        Path p = Circle(c, r + width / 2);
        p.Add(Circle(c, r - width / 2));
        return Fill(p, FillRule::EvenOdd);
    }
};

Mask Gamepad(const Grid& g) {
    Path body = RoundRect(10, 16, 30, 15, 7);
    body.Add(Circle({15.5, 31}, 6.2)).Add(Circle({34.5, 31}, 6.2));
    Mask m = g.Fill(body.Oriented());
    Path dpad = RectPath(13, 22.6, 8, 2.8);
    dpad.Add(RectPath(15.6, 20, 2.8, 8));
    m = Subtract(m, g.Fill(dpad.Oriented()));
    Path buttons = Circle({31.5, 22}, 1.9);
    buttons.Add(Circle({35.5, 25.5}, 1.9)).Add(Circle({27.5, 25.5}, 1.3));
    return Subtract(m, g.Fill(buttons.Oriented()));
}

Mask Toolbox(const Grid& g) {
    Mask box = g.Fill(RoundRect(9, 19, 32, 21, 3));
    Mask handle = g.Fill(ArcBand({25, 19}, 6.5, 2.8, 180, 360));
    Mask seam = g.Fill(RectPath(9, 25.5, 32, 1.6));
    Mask latch = g.Fill(RoundRect(22, 23, 6, 5.5, 1.2));
    Mask out = Subtract(Union(box, handle), seam);
    out = Subtract(out, g.Fill(RoundRect(21, 22, 8, 7.5, 1.6)));
    return Union(out, latch);
}

Mask StarShape(const Grid& g) {
    Path star = Star({25, 26.5}, 16, 6.8, 5);
    Mask m = g.Fill(star);
    return Union(m, g.Fill(Stroke(star.contours[0], 2.2, Cap::Round, true)));
}

Mask Updates(const Grid& g) {
    Mask arc = g.Fill(ArcBand({25, 25}, 12.5, 3.6, -30, 235));
    // The head at the arc's open end, pointing on round the circle.
    Vec2 end = Polar({25, 25}, 12.5, 235);
    Mask m = Union(arc, g.Fill(Triangle(Polar(end, 1.2, 325), 6.2, 325)));
    // The patch: a small plaster across the middle.
    Path patch =
        RoundRect(-6, -3.2, 12, 6.4, 2.2).Transformed(Affine::Translate(25, 25).After(Affine::Rotate(-35)));
    Mask plaster = g.Fill(patch);
    Path dots = Circle({-2, 0}, 0.8);
    dots.Add(Circle({2, 0}, 0.8));
    Mask holes = g.Fill(dots.Transformed(Affine::Translate(25, 25).After(Affine::Rotate(-35))));
    return Union(m, Subtract(plaster, holes));
}

Mask Chip(const Grid& g) {
    Path pins;
    for (int i = 0; i < 4; ++i) {
        double t = 17.5 + i * 5;
        pins.Add(RoundRect(t - 1.1, 8, 2.2, 6, 0.8)).Add(RoundRect(t - 1.1, 36, 2.2, 6, 0.8));
        pins.Add(RoundRect(8, t - 1.1, 6, 2.2, 0.8)).Add(RoundRect(36, t - 1.1, 6, 2.2, 0.8));
    }
    Mask body = g.Fill(RoundRect(13, 13, 24, 24, 2.5));
    Mask inner = g.Fill(RoundRect(18, 18, 14, 14, 1.5));
    Mask die = g.Fill(RoundRect(20.2, 20.2, 9.6, 9.6, 1));
    Mask notch = g.Fill(Circle({17.3, 17.3}, 1.3));
    Mask m = Union(g.Fill(pins.Oriented()), Subtract(body, Subtract(inner, die)));
    return Subtract(m, notch);
}

Mask HardDisk(const Grid& g) {
    Mask body = g.Fill(RoundRect(9, 11, 32, 25, 3.5));
    Mask platter = g.Ring({21, 22}, 7, 1.8);
    Mask hub = g.Fill(Circle({21, 22}, 1.8));
    Mask arm = g.Line({{33.5, 14.5}, {24, 24}}, 1.8);
    Mask slot = g.Fill(RoundRect(12, 31, 12, 1.6, 0.8));
    Mask m = Subtract(body, Union(Union(platter, hub), Union(arm, slot)));
    // The tick in a round badge below right, cut free of the drive by a gap.
    Mask gap = g.Fill(Circle({34, 35}, 9));
    Mask badge = g.Fill(Circle({34, 35}, 7));
    Mask tick = g.Line({{30.4, 35.2}, {33, 37.8}, {37.6, 32.2}}, 2.0);
    return Union(Subtract(m, gap), Subtract(badge, tick));
}

Mask GameBox(const Grid& g) {
    Mask front = g.Fill(RoundRect(14, 8, 23, 34, 2.5));
    Mask spine = g.Fill(RectPath(17, 9, 1.4, 32));
    Mask disc = g.Ring({27.5, 22}, 5.6, 2.4);
    Mask hole = g.Fill(Circle({27.5, 22}, 1.4));
    Mask band = g.Fill(RectPath(20.5, 32, 14, 1.5));
    Mask band2 = g.Fill(RectPath(20.5, 35.5, 10, 1.5));
    Mask cuts = Union(Union(spine, disc), Union(hole, Union(band, band2)));
    Mask m = Subtract(front, cuts);
    Mask shell = Subtract(g.Fill(RoundRect(11, 10, 4, 30, 1.5)), g.Fill(RectPath(13.2, 10, 5, 30)));
    return Union(m, shell);
}

Mask Camera(const Grid& g) {
    Path body = RoundRect(8, 16, 34, 23, 4);
    body.Add(RoundRect(17.5, 11.5, 13, 7, 2));
    Mask m = g.Fill(body.Oriented());
    m = Subtract(m, g.Ring({25, 27.5}, 7.4, 2.2));
    m = Subtract(m, g.Fill(Circle({25, 27.5}, 3.6)));
    m = Union(m, g.Fill(Circle({23.8, 26.3}, 1.2)));
    return Subtract(m, g.Fill(RoundRect(34, 19.5, 5, 2.6, 1)));
}

Mask Pen(const Grid& g) {
    Affine tilt = Affine::Rotate(45, {25, 25});
    Path barrel = RoundRect(20.5, 3, 9, 22, 3.5).Transformed(tilt);
    Path nib = Polygon({{20.5, 27}, {29.5, 27}, {29.5, 31}, {25, 45}, {20.5, 31}}).Transformed(tilt);
    Mask m = Union(g.Fill(barrel), g.Fill(nib));
    Path ring = RectPath(20.5, 24.8, 9, 1.4).Transformed(tilt);
    Path slit = Stroke({{25, 33}, {25, 41}}, 1.1, Cap::Butt).Transformed(tilt);
    Path eye = Circle({25, 32.5}, 1.3).Transformed(tilt);
    m = Subtract(m, Union(g.Fill(ring), Union(g.Fill(slit), g.Fill(eye))));
    Path clip = RoundRect(29.5, 6, 2, 12, 1).Transformed(tilt);
    return Union(m, g.Fill(clip));
}

Mask FilmStrip(const Grid& g) {
    Affine tilt = Affine::Rotate(-14, {25, 25});
    Mask strip = g.Fill(RoundRect(14, 6, 22, 38, 2).Transformed(tilt));
    Path holes;
    for (int i = 0; i < 6; ++i) {
        double y = 8.6 + i * 6.2;
        holes.Add(RoundRect(15.6, y, 2.6, 3.2, 0.6)).Add(RoundRect(31.8, y, 2.6, 3.2, 0.6));
    }
    Path frames = RoundRect(20, 9, 10, 14.5, 1);
    frames.Add(RoundRect(20, 26.5, 10, 14.5, 1));
    return Subtract(strip, g.Fill(holes.Transformed(tilt).Add(frames.Transformed(tilt)).Oriented()));
}

Mask Globe(const Grid& g) {
    Mask outline = g.Ring({25, 25}, 14, 2.4);
    Mask disc = g.Fill(Circle({25, 25}, 13));
    Path lines = Stroke({{11, 25}, {39, 25}}, 1.6, Cap::Butt);
    lines.Add(Stroke({{14, 17.5}, {36, 17.5}}, 1.5, Cap::Butt))
        .Add(Stroke({{14, 32.5}, {36, 32.5}}, 1.5, Cap::Butt));
    lines.Add(Stroke({{25, 11}, {25, 39}}, 1.6, Cap::Butt));
    Path meridian = Ellipse({25, 25}, 6.5, 14);
    meridian.Add(Ellipse({25, 25}, 5.0, 12.8));
    Mask inner = Union(g.Fill(lines), g.Fill(meridian, FillRule::EvenOdd));
    return Union(outline, Multiply(inner, disc));
}

Mask Puzzle(const Grid& g) {
    Path piece = RoundRect(12, 15, 22, 22, 2.5);
    piece.Add(Circle({23, 13.5}, 4.6)).Add(Circle({35.5, 26}, 4.6));
    Mask m = g.Fill(piece.Oriented());
    Path bites = Circle({12, 26}, 4.2);
    bites.Add(Circle({23, 37.5}, 4.2));
    return Subtract(m, g.Fill(bites.Oriented()));
}

Mask Document(const Grid& g) {
    Mask page = g.Fill(Polygon({{13, 8}, {30, 8}, {37, 15}, {37, 42}, {13, 42}}));
    Mask fold = g.Fill(Polygon({{29, 8}, {29, 16}, {37, 16}}));
    Path lines;
    for (int i = 0; i < 4; ++i) {
        lines.Add(RectPath(17, 21 + i * 5, i == 3 ? 10 : 16, 1.8));
    }
    return Subtract(Subtract(page, g.Fill(lines)),
                    Subtract(fold, g.Fill(Polygon({{30, 9}, {30, 15}, {36, 15}}))));
}

} // namespace

Mask DrawPictogram(Pictogram kind, int width, int height, const Affine& place) {
    Grid g{width, height, place};
    switch (kind) {
        case Pictogram::Gamepad:
            return Gamepad(g);
        case Pictogram::Toolbox:
            return Toolbox(g);
        case Pictogram::Star:
            return StarShape(g);
        case Pictogram::Updates:
            return Updates(g);
        case Pictogram::Chip:
            return Chip(g);
        case Pictogram::HardDisk:
            return HardDisk(g);
        case Pictogram::GameBox:
            return GameBox(g);
        case Pictogram::Camera:
            return Camera(g);
        case Pictogram::Pen:
            return Pen(g);
        case Pictogram::FilmStrip:
            return FilmStrip(g);
        case Pictogram::Globe:
            return Globe(g);
        case Pictogram::Puzzle:
            return Puzzle(g);
        case Pictogram::Document:
            return Document(g);
        case Pictogram::Play:
            return g.Fill(Triangle({27, 25}, 14, 0));
        case Pictogram::Stop:
            return g.Fill(RoundRect(13, 13, 24, 24, 3));
        case Pictogram::Cross:
            return g.Fill(Stroke({{14, 14}, {36, 36}}, 5).Add(Stroke({{36, 14}, {14, 36}}, 5)).Oriented());
    }
    return Mask(width, height);
}

} // namespace kavlo::skingen
