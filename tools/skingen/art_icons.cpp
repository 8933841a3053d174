#include "art_icons.h"

#include <algorithm>

#include "art_common.h"

namespace kavlo::skingen {

namespace {

constexpr uint64_t kSeedPlate = 0x5EED0101;

Affine Around(double cx, double cy, double scale) {
    return Affine::Translate(cx, cy).After(Affine::Scale(scale, scale).After(Affine::Translate(-25, -25)));
}

} // namespace

void PaintGlyph(Canvas& canvas, const Mask& glyph, const Theme& theme, bool lit, float glow_sigma) {
    double top = glyph.Y0(), bottom = glyph.Y1();
    if (!lit) {
        DropShadow(canvas, glyph, 0, 1, 0.7f, Hex(0x000000, 0.75f));
        canvas.Composite(glyph, SilverPaint(top, bottom));
        canvas.Composite(EdgeBand(glyph, 0, -1), Solid(Hex(0x000000, 0.22f)));
        return;
    }
    Glow(canvas, glyph, glow_sigma, theme.glow, 1.0f);
    Glow(canvas, glyph, glow_sigma * 0.4f, theme.glow, 0.6f);
    Paint lit_paint =
        Linear({0, top}, {0, bottom},
               {{0, Mix(Hex(0xFFFFFF), theme.glow, 0.15f)}, {1, Mix(Hex(0xFFFFFF), theme.glow, 0.65f)}});
    canvas.Composite(glyph, lit_paint);
}

Canvas SectionIcon(const Canvas& backdrop, const Theme& theme, Pictogram kind, bool lit) {
    Canvas c = backdrop;
    // The plate fills the box but for a margin of 3 pixels at the sides, 2.5 above and 3.5 below, where
    // its shadow falls.
    const double left = 3, top_y = 2.5;
    const double w = c.Width() - 2 * left, h = c.Height() - 2 * left - 0.5;
    const double cx = left + w / 2, cy = top_y + h / 2;
    Mask plate = ShapeMask(c, RoundRect(left, top_y, w, h, 10));
    Rgba top = lit ? Mix(ink::kPlateTop, theme.deep, 0.55f) : ink::kPlateTop;
    Rgba bottom = lit ? Mix(ink::kPlateBottom, theme.deep, 0.7f) : ink::kPlateBottom;
    RaisedPlate(c, plate, Brushed(Vertical(top_y, top_y + h, top, bottom), kSeedPlate, 0.05f), 1.2f);
    // A soft sheen over the upper half of the plate.
    Mask sheen = Multiply(plate, ShapeMask(c, Ellipse({cx, 6}, w * 0.68, 16)));
    c.Composite(sheen, Vertical(0, 22, Hex(0xFFFFFF, 0.12f), Hex(0xFFFFFF, 0.0f)));
    if (lit) {
        constexpr double kRing = 1.6;
        Mask ring = Subtract(plate, ShapeMask(c, RoundRect(left + kRing, top_y + kRing, w - 2 * kRing,
                                                           h - 2 * kRing, 10 - kRing)));
        c.Composite(ring, Solid(WithAlpha(theme.glow, 0.9f)));
        InnerShadow(c, plate, 0, 0, 4.0f, WithAlpha(theme.glow, 0.45f));
    }
    // The tallest pictogram (the film strip) spans 42 units of its grid; keep it 4 pixels off the rim.
    double scale = (std::min(w, h) - 8) / 42.0;
    Mask glyph = DrawPictogram(kind, c.Width(), c.Height(), Around(cx, cy, scale));
    PaintGlyph(c, glyph, theme, lit, 2.6f);
    return c;
}

Canvas LargeButton(int size, const Theme& theme, Pictogram kind, bool lit) {
    Canvas c(size, size, ink::kChassisBottom);
    c.Fill(RectPath(0, 0, size, size), ChassisPaint(size, kSeedPlate));
    double r = size / 2.0 - 2.5;
    Vec2 centre{size / 2.0, size / 2.0 - 0.5};
    Mask face = ShapeMask(c, Circle(centre, r));
    Rgba top = lit ? Mix(ink::kPlateTop, theme.deep, 0.55f) : ink::kPlateTop;
    RaisedPlate(
        c, face,
        Radial({centre.x - r * 0.3, centre.y - r * 0.4}, r * 1.4, {{0, top}, {1, ink::kPlateBottom}}));
    if (lit) {
        Mask ring = Subtract(face, ShapeMask(c, Circle(centre, r - 1.6)));
        c.Composite(ring, Solid(WithAlpha(theme.glow, 0.9f)));
    }
    Mask glyph = DrawPictogram(kind, size, size, Around(centre.x, centre.y, size * 0.55 / 40.0));
    PaintGlyph(c, glyph, theme, lit, size / 18.0f);
    return c;
}

} // namespace kavlo::skingen
