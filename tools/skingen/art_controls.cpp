#include "art_controls.h"

#include "art_background.h"
#include "art_common.h"
#include "art_icons.h"
#include "glyphs.h"

namespace kavlo::skingen {

namespace {

using namespace layout;

Canvas Cut(const Canvas& background, const Box& b) {
    return background.Crop(b.x, b.y, b.w, b.h);
}

// A small graphite key cap.
void KeyCap(Canvas& c, const Path& shape, const Theme& theme, bool lit) {
    Mask m = ShapeMask(c, shape);
    Rgba top = lit ? Mix(ink::kPlateTop, theme.deep, 0.5f) : ink::kPlateTop;
    Rgba bottom = lit ? Mix(ink::kPlateBottom, theme.deep, 0.6f) : ink::kPlateBottom;
    double y0 = m.Y0(), y1 = m.Y1();
    RaisedPlate(c, m, Vertical(y0, y1, Shade(top, 1.1f), bottom), 0.6f);
}

} // namespace

Canvas HighlightBar(const Canvas& background, const Theme& theme) {
    Canvas c = Cut(background, kBar);
    Path shape = RoundRect(1, 2, kBar.w - 2, kBar.h - 4, 6);
    Mask bar = ShapeMask(c, shape);
    DropShadow(c, bar, 0, 1, 1.2f, Hex(0x000000, 0.45f));
    c.Composite(bar, Vertical(2, kBar.h - 2, theme.bar_top, theme.bar_bottom));
    Mask upper = Multiply(bar, ShapeMask(c, RoundRect(2, 3, kBar.w - 4, 10, 5)));
    c.Composite(upper, Vertical(3, 13, Hex(0xFFFFFF, 0.20f), Hex(0xFFFFFF, 0.04f)));
    InnerShadow(c, bar, 0, 0, 2.5f, WithAlpha(theme.glow, 0.45f));
    Bevel(c, bar, 1, Hex(0xFFFFFF, 0.35f), Hex(0x000000, 0.35f));
    // The lit edge along the bottom and a marker at the left end.
    Mask line = ShapeMask(c, RoundRect(10, kBar.h - 4.5, kBar.w - 20, 1.2, 0.6));
    c.Composite(line, Solid(WithAlpha(theme.glow, 0.95f)));
    Glow(c, line, 1.5f, theme.glow, 0.6f);
    Mask marker = ShapeMask(c, RoundRect(3.5, 8, 2, 12, 1));
    c.Composite(marker, Solid(theme.glow));
    Glow(c, marker, 1.8f, theme.glow, 0.8f);
    return c;
}

Canvas QuickRunButton(const Canvas& background, const Theme& theme, bool lit) {
    Canvas c = Cut(background, kPlay);
    KeyCap(c, RoundRect(1.5, 4.5, 13, 19, 4), theme, lit);
    Mask tri = ShapeMask(c, Triangle({8.6, 14}, 4.6, 0));
    PaintGlyph(c, tri, theme, lit, 1.6f);
    return c;
}

Canvas SettingsSwitch(const Canvas& background, const Theme& theme, bool on, bool lit) {
    Canvas c = Cut(background, kPlay);
    Mask track = ShapeMask(c, RoundRect(3.5, 2.5, 9, 23, 4.5));
    SunkPanel(c, track, Solid(on ? Mix(ink::kGlass, theme.deep, 0.9f) : ink::kGlass), 0.6f);
    if (on) {
        InnerShadow(c, track, 0, 0, 2.0f, WithAlpha(theme.glow, 0.7f));
    }
    Vec2 knob{8, on ? 8.5 : 19.5};
    Mask face = ShapeMask(c, Circle(knob, 4.6));
    RaisedPlate(c, face, Radial({knob.x - 1.5, knob.y - 2}, 6, {{0, Hex(0xF2F4F6)}, {1, Hex(0x8C9298)}}),
                0.7f);
    if (lit) {
        Mask ring = Subtract(ShapeMask(c, Circle(knob, 5.4)), ShapeMask(c, Circle(knob, 4.4)));
        c.Composite(ring, Solid(theme.glow));
        Glow(c, ring, 1.4f, theme.glow, 0.8f);
    }
    Mask led = ShapeMask(c, Circle(knob, 1.5));
    c.Composite(led, Solid(on ? theme.glow : Hex(0x4A4F55)));
    if (on) {
        Glow(c, led, 1.5f, theme.glow, 1.0f);
    }
    return c;
}

Canvas ScrollArrow(const Canvas& background, const Theme& theme, bool up, bool lit) {
    Canvas c = Cut(background, up ? kScrollArrows[0] : kScrollArrows[1]);
    KeyCap(c, RoundRect(0.5, 0.5, 17, 10, 3), theme, lit);
    Mask chevron = ShapeMask(c, Chevron({9, up ? 5.9 : 5.1}, 4.2, up ? -90 : 90, 1.7));
    PaintGlyph(c, chevron, theme, lit, 1.2f);
    return c;
}

Canvas TrackingArrow(const Canvas& background, const Theme& theme, bool upper) {
    int h = upper ? 18 : 17;
    Canvas c = Cut(background, {kArrowX, upper ? kLowerRail.y + 40 : kUpperRail.y + 80, 10, h});
    Mask tri = ShapeMask(c, Triangle({4.6, h / 2.0}, 4.4, 0));
    Glow(c, tri, 2.0f, theme.glow, 0.9f);
    c.Composite(tri, Linear({0, h / 2.0 - 4}, {0, h / 2.0 + 4},
                            {{0, Mix(Hex(0xFFFFFF), theme.glow, 0.3f)}, {1, theme.glow}}));
    return c;
}

namespace {

Mask FlagSymbol(Flag flag, int w, int h) {
    switch (flag) {
        case Flag::Playable:
            return Rasterize(Stroke({{9.5, 16.5}, {14, 21}, {22.5, 11.5}}, 3.0), w, h);
        case Flag::Unplayable:
            return Rasterize(
                Stroke({{11, 11}, {21, 21}}, 2.8).Add(Stroke({{21, 11}, {11, 21}}, 2.8)).Oriented(), w, h);
        case Flag::Czech: {
            double tw = TextWidth("CZ", 9);
            return Rasterize(TextPath("CZ", {16 - tw / 2, 11.5}, 9, 1.9), w, h);
        }
        case Flag::ThreeD: {
            double tw = TextWidth("3D", 9);
            return Rasterize(TextPath("3D", {16 - tw / 2, 11.5}, 9, 1.9), w, h);
        }
        case Flag::Network: {
            Path p = Stroke({{16, 10.5}, {10.5, 20.5}, {21.5, 20.5}}, 1.6, Cap::Round, true);
            p.Add(Circle({16, 10.5}, 3)).Add(Circle({10.5, 20.5}, 3)).Add(Circle({21.5, 20.5}, 3));
            return Rasterize(p.Oriented(), w, h);
        }
        case Flag::Empty:
            break;
    }
    return Mask(w, h);
}

} // namespace

Canvas FlagBadge(const Canvas& background, const Theme& theme, Flag flag) {
    int x = kFlagX[0];
    switch (flag) {
        case Flag::Playable:
            x = kFlagX[0];
            break;
        case Flag::Unplayable:
            x = kFlagX[1];
            break;
        case Flag::Czech:
        case Flag::Empty:
            x = kFlagX[2];
            break;
        case Flag::Network:
            x = kFlagX[3];
            break;
        case Flag::ThreeD:
            x = kFlagX[4];
            break;
    }
    Canvas c = Cut(background, {x, kFlagY, kFlagSize, kFlagSize});
    Vec2 centre{16, 15.5};
    Mask disc = ShapeMask(c, Circle(centre, 13.5));
    bool empty = flag == Flag::Empty;
    RaisedPlate(c, disc,
                Radial({centre.x - 4, centre.y - 6}, 20, {{0, ink::kPlateTop}, {1, ink::kPlateBottom}}),
                1.0f);
    Mask ring = Subtract(disc, ShapeMask(c, Circle(centre, 12.0)));
    c.Composite(ring, Solid(empty ? Hex(0x5A5F66) : WithAlpha(theme.glow, 0.85f)));
    if (empty) {
        Mask dot = ShapeMask(c, Circle(centre, 2.2));
        SunkPanel(c, dot, Solid(ink::kGlass), 0.4f);
        return c;
    }
    Mask symbol = FlagSymbol(flag, c.Width(), c.Height());
    PaintGlyph(c, symbol, theme, flag != Flag::Unplayable, 1.6f);
    return c;
}

Canvas CornerIndicator(const Canvas& background, const Theme& theme, int n) {
    Canvas c = Cut(background, {kCornerX[n], kCornerY, kIndicator, kIndicator});
    Mask symbol = CornerSymbol(n, kIndicator, kIndicator, {-double(kCornerX[n]), -double(kCornerY)});
    Glow(c, symbol, 1.6f, theme.glow, 1.0f);
    c.Composite(symbol, Solid(Mix(Hex(0xFFFFFF), theme.glow, 0.45f)));
    return c;
}

namespace {

// The action symbols drawn for 14 x 13 on whole pixels: the section pictograms blur at this size.
Mask ActionGlyph(Pictogram kind, int w, int h) {
    switch (kind) {
        case Pictogram::Document: {
            Mask page = Rasterize(Polygon({{4, 2}, {8.5, 2}, {10.5, 4}, {10.5, 11}, {4, 11}}), w, h);
            Path lines = RectPath(5.5, 5, 3.5, 1);
            lines.Add(RectPath(5.5, 7, 3.5, 1)).Add(RectPath(5.5, 9, 2.5, 1));
            return Subtract(page, Rasterize(lines, w, h));
        }
        case Pictogram::Globe: {
            Path ring = Circle({7, 6.5}, 4.6);
            ring.Add(Circle({7, 6.5}, 3.5));
            Mask m = Rasterize(ring, w, h, FillRule::EvenOdd);
            Path inner = Ellipse({7, 6.5}, 2.0, 4.0);
            inner.Add(Ellipse({7, 6.5}, 1.0, 3.4));
            m = Union(m, Rasterize(inner, w, h, FillRule::EvenOdd));
            return Union(m, Rasterize(RectPath(2.8, 6, 8.4, 1), w, h));
        }
        case Pictogram::Play:
            return Rasterize(Polygon({{5, 2.5}, {10.5, 6.5}, {5, 10.5}}), w, h);
        case Pictogram::Cross:
            return Rasterize(
                Stroke({{4.2, 3.7}, {9.8, 9.3}}, 1.6).Add(Stroke({{9.8, 3.7}, {4.2, 9.3}}, 1.6)).Oriented(),
                w, h);
        default:
            return Mask(w, h);
    }
}

} // namespace

Canvas ActionButton(const Canvas& background, const Theme& theme, Pictogram kind, bool lit, bool blank) {
    int x = kActionX[0];
    switch (kind) {
        case Pictogram::Document:
            x = kActionX[1];
            break;
        case Pictogram::Globe:
            x = kActionX[2];
            break;
        case Pictogram::Play:
            x = kActionX[3];
            break;
        case Pictogram::Cross:
            x = kActionX[4];
            break;
        default:
            break;
    }
    Canvas c = Cut(background, {blank ? kActionX[0] : x, kActionY, 14, 13});
    if (blank) {
        return c;
    }
    KeyCap(c, RoundRect(0.5, 0.5, 13, 12, 2.5), theme, lit);
    Mask glyph = ActionGlyph(kind, c.Width(), c.Height());
    if (lit) {
        Glow(c, glyph, 1.0f, theme.glow, 0.8f);
        c.Composite(glyph, Solid(Mix(Hex(0xFFFFFF), theme.glow, 0.5f)));
    } else {
        c.Composite(glyph, Solid(Hex(0xD4D8DC)));
    }
    return c;
}

} // namespace kavlo::skingen
