#include "art_background.h"

#include "art_common.h"
#include "glyphs.h"

namespace kavlo::skingen {

namespace {

using namespace layout;

constexpr uint64_t kSeedChassis = 0x5EED0001;
constexpr uint64_t kSeedList = 0x5EED0002;
constexpr uint64_t kSeedDetail = 0x5EED0003;
constexpr uint64_t kSeedColumn = 0x5EED0004;

void DrawListPanel(Canvas& c) {
    Mask panel = ShapeMask(c, BoxPath(kListPanel, 9));
    SunkPanel(c, panel, PanelPaint(kListPanel, kSeedList));
    // Engraved lines in the gaps between the bar positions of rows 1-10, and one above the info lines.
    for (int k = 0; k < 9; ++k) {
        double y = kBarTop + kBarPitch * k + 29;
        c.Fill(RectPath(kListPanel.x + 7, y, kListPanel.w - 14, 1), Solid(Hex(0x000000, 0.16f)));
        c.Fill(RectPath(kListPanel.x + 7, y + 1, kListPanel.w - 14, 1), Solid(Hex(0xFFFFFF, 0.35f)));
    }
    double info_y = kPositionLabel.y - 5;
    c.Fill(RectPath(kListPanel.x + 7, info_y, kListPanel.w - 14, 1), Solid(Hex(0x000000, 0.22f)));
    c.Fill(RectPath(kListPanel.x + 7, info_y + 1, kListPanel.w - 14, 1), Solid(Hex(0xFFFFFF, 0.4f)));
}

// A slot of dark glass whose colour depends on x alone, so the tracking arrows match it anywhere.
void DrawRail(Canvas& c, const Box& rail) {
    Mask slot = ShapeMask(c, BoxPath(rail, 3));
    double cx = rail.x + rail.w / 2.0;
    Paint glass = [cx](double x, double) {
        double t = std::min(std::abs(x - cx) / 7.0, 1.0);
        return Mix(Hex(0x1B1E21), Hex(0x0B0C0D), static_cast<float>(t));
    };
    c.Composite(slot, glass);
    Bevel(c, slot, 1, Hex(0xFFFFFF, 0.45f), Hex(0x000000, 0.55f), true);
}

void DrawPictureWell(Canvas& c, const Theme& theme) {
    Mask well = ShapeMask(c, BoxPath(kPictureWell, 4));
    Paint glass = Linear({0, double(kPictureWell.y)}, {0, double(kPictureWell.Bottom())},
                         {{0, Hex(0x202428)}, {0.5f, Hex(0x121416)}, {1, Hex(0x0A0B0C)}});
    SunkPanel(c, well, glass, 1.2f);
    // A faint sheen across the glass and the accent's thin line below it.
    Path sheen = Polygon({{226, 64}, {380, 64}, {300, 140}, {226, 140}});
    c.Fill(sheen, Linear({226, 64}, {300, 140}, {{0, Hex(0xFFFFFF, 0.07f)}, {1, Hex(0xFFFFFF, 0)}}));
    Mask line =
        ShapeMask(c, RoundRect(kPictureWell.x + 30, kPictureWell.y - 3.5, kPictureWell.w - 60, 1.5, 0.75));
    c.Composite(line, Solid(WithAlpha(theme.glow, 0.85f)));
    Glow(c, line, 2.0f, theme.glow, 0.5f);
}

void DrawDetailPanel(Canvas& c, const Theme& theme) {
    Mask panel = ShapeMask(c, BoxPath(kDetailPanel, 9));
    SunkPanel(c, panel, PanelPaint(kDetailPanel, kSeedDetail));
    DrawPictureWell(c, theme);
    DrawRail(c, kUpperRail);
    DrawRail(c, kLowerRail);
}

void DrawColumn(Canvas& c, const Theme& theme) {
    const Box& w = kColumnWell;
    Mask well = ShapeMask(c, BoxPath(w, 6));
    double cx = w.x + w.w / 2.0;
    Paint base = [=](double x, double) {
        double t = std::min(std::abs(x - cx) / (w.w / 2.0), 1.0);
        return Mix(theme.well_mid, theme.well_edge, static_cast<float>(t * t * t));
    };
    c.Composite(well, Brushed(base, kSeedColumn, 0.04f, true));
    // Side walls only: the covers close the column at both ends.
    Mask left = Subtract(well, Shifted(well, 3, 0));
    Mask right = Subtract(well, Shifted(well, -2, 0));
    c.Composite(Blur(left, 1.5f), Solid(Hex(0x000000, 0.5f)));
    c.Composite(Subtract(well, Shifted(well, 1, 0)), Solid(Hex(0x000000, 0.6f)));
    c.Composite(Subtract(well, Shifted(well, -1, 0)), Solid(Hex(0xFFFFFF, 0.18f)));
    c.Composite(Blur(right, 1.0f), Solid(Hex(0x000000, 0.25f)));
}

// The plates that close the icon column above and below; the cover images are cut from here.
Path UpperPlate() {
    return RoundRect(kUpperCover.x - 2, -12, kUpperCover.w + 14, kUpperCover.h + 12, 10);
}
Path LowerPlate() {
    return RoundRect(kLowerCover.x + 12, kLowerCover.y, kLowerCover.w, kLowerCover.h + 12, 10);
}

void DrawCovers(Canvas& c, const Theme& theme, bool framed) {
    Path upper = UpperPlate();
    Path lower = LowerPlate();
    Paint plate = ChassisPaint(kHeight, kSeedChassis);
    Mask plates = Union(ShapeMask(c, upper), ShapeMask(c, lower));
    for (const Path* p : {&upper, &lower}) {
        // No shadow falls out onto the column: icons scroll under the plates and take their backdrop
        // from the column's middle, so the column must look alike all the way. The plate shades its
        // own rim instead.
        Mask m = ShapeMask(c, *p);
        c.Composite(m, plate);
        InnerShadow(c, m, 0, 0, 2.5f, Hex(0x000000, 0.5f));
        Bevel(c, m, 1, Hex(0xFFFFFF, 0.30f), Hex(0x000000, 0.6f));
    }
    // A lit seam along the column's ends; its glow stays on the plates, off the column.
    Mask seam =
        ShapeMask(c, RoundRect(kColumnWell.x + 12, kUpperCover.Bottom() - 3, kColumnWell.w - 24, 1.2, 0.6));
    seam = Union(
        seam, ShapeMask(c, RoundRect(kColumnWell.x + 12, kLowerCover.y + 2, kColumnWell.w - 24, 1.2, 0.6)));
    c.Composite(seam, Solid(WithAlpha(theme.glow, 0.55f)));
    c.Composite(Multiply(Blur(seam, 1.8f), plates), Solid(theme.glow), 0.35f, Blend::Screen);
    if (!framed) {
        // Screws on the simple window's lower plate, the partner button sits between them.
        for (Vec2 s :
             {Vec2{kLowerCover.x + 24.0, kHeight - 14.0}, Vec2{kWidth - 10.0, kLowerCover.y + 20.0}}) {
            Mask head = ShapeMask(c, Circle(s, 3.2));
            RaisedPlate(c, head, Radial({s.x - 1, s.y - 1}, 4, {{0, Hex(0x6A6F75)}, {1, Hex(0x2E3135)}}),
                        0.6f);
            c.Fill(Stroke({{s.x - 2, s.y + 1.5}, {s.x + 2, s.y - 1.5}}, 0.9), Solid(Hex(0x000000, 0.6f)));
        }
    }
}

void DrawSockets(Canvas& c) {
    Mask plates = Union(ShapeMask(c, UpperPlate()), ShapeMask(c, LowerPlate()));
    for (const Box& arrow : kScrollArrows) {
        Box s = ArrowSocket(arrow);
        Mask m = ShapeMask(c, BoxPath(s, 3));
        if (arrow.x < kColumnWell.x) {
            SunkPanel(c, m, Solid(ink::kSocket), 0.6f);
            continue;
        }
        // The column's sockets sit on the plates' edges: their rim must not reach the column.
        Canvas layer = c;
        SunkPanel(layer, m, Solid(ink::kSocket), 0.6f);
        c.Composite(plates, [&layer](double x, double y) { return layer.At(int(x), int(y)); });
    }
}

// A level meter over the list and a grille beside it: the chassis is not bare metal.
void DrawChassisDetails(Canvas& c, const Theme& theme) {
    Mask strip = ShapeMask(c, RoundRect(kListPanel.x + 6, 12, kListPanel.w - 12, 18, 9));
    SunkPanel(c, strip, Solid(ink::kGlass), 0.8f);
    constexpr int kSegments = 18;
    for (int i = 0; i < kSegments; ++i) {
        double x = kListPanel.x + 16 + i * 8.0;
        Mask seg = ShapeMask(c, RoundRect(x, 17, 5, 8, 1.5));
        float level = 1.0f - float(i) / kSegments;
        c.Composite(seg, Solid(Mix(Hex(0x1C2024), theme.glow, 0.15f + 0.85f * level * level)));
        if (i < 6) {
            Glow(c, seg, 1.6f, theme.glow, 0.35f * level);
        }
    }
    Path slots;
    for (int i = 0; i < 12; ++i) {
        slots.Add(RoundRect(14, 120 + i * 14, 20, 4, 2));
    }
    SunkPanel(c, ShapeMask(c, slots), Solid(Hex(0x0B0C0D)), 0.5f);
    for (Vec2 s : {Vec2{24, 100}, Vec2{24, 300}}) {
        Mask head = ShapeMask(c, Circle(s, 3.4));
        RaisedPlate(c, head, Radial({s.x - 1, s.y - 1}, 4, {{0, Hex(0x7A8086)}, {1, Hex(0x2E3135)}}), 0.6f);
        c.Fill(Stroke({{s.x - 2, s.y + 1.2}, {s.x + 2, s.y - 1.2}}, 0.9), Solid(Hex(0x000000, 0.6f)));
    }
}

void DrawCornerButtons(Canvas& c, const Theme& theme) {
    Mask tray = ShapeMask(c, RoundRect(73, 439, 100, 31, 15.5));
    SunkPanel(c, tray, Solid(Hex(0x15171A)), 0.8f);
    for (int n = 0; n < 3; ++n) {
        Vec2 centre = CornerButtonCentre(n);
        Mask face = ShapeMask(c, Circle(centre, 11.5));
        RaisedPlate(c, face,
                    Radial({centre.x - 3, centre.y - 4}, 14, {{0, Hex(0x50555B)}, {1, Hex(0x25282C)}}), 0.8f);
        Mask symbol = CornerSymbol(n, c.Width(), c.Height(), {0, 0});
        c.Composite(symbol, Solid(Mix(Hex(0x7C828A), theme.glow, 0.25f)));
    }
}

void DrawOuterRim(Canvas& c, bool framed) {
    Mask all = ShapeMask(c, RectPath(0, 0, kWidth, kHeight));
    if (framed) {
        // The frame's own bevel surrounds this area; a soft shade under its edge is enough.
        InnerShadow(c, all, 0, 0, 3.0f, Hex(0x000000, 0.7f));
        return;
    }
    Bevel(c, all, 1, Hex(0xFFFFFF, 0.28f), Hex(0x000000, 0.8f));
    Mask inner = ShapeMask(c, RectPath(3, 3, kWidth - 6, kHeight - 6));
    Mask groove = Subtract(ShapeMask(c, RectPath(2, 2, kWidth - 4, kHeight - 4)), inner);
    c.Composite(groove, Solid(Hex(0x000000, 0.7f)));
}

} // namespace

Vec2 CornerButtonCentre(int n) {
    return {kCornerX[n] + 6.0, kCornerY + 6.0};
}

Box ArrowSocket(const Box& arrow) {
    bool upper_end = arrow.y < 100;
    return {arrow.x - 2, arrow.y - (upper_end ? 2 : 1), arrow.w + 4, arrow.h + 3};
}

Mask CornerSymbol(int n, int width, int height, Vec2 origin) {
    Vec2 c = CornerButtonCentre(n) + origin;
    switch (n) {
        case 0:
            return PowerGlyph(width, height, c, 5.0);
        case 1:
            return GearGlyph(width, height, c, 5.4);
        default:
            return MoonGlyph(width, height, {c.x - 0.5, c.y + 0.3}, 5.0);
    }
}

Canvas DrawBackground(const Theme& theme, bool framed) {
    Canvas c(kWidth, kHeight);
    c.Fill(RectPath(0, 0, kWidth, kHeight), ChassisPaint(kHeight, kSeedChassis));
    // The shade under the border panel first: the panels' opaque fills then keep their edges free of
    // it, so the small images cut from any place of a panel match every other place.
    if (framed) {
        DrawOuterRim(c, true);
    }
    DrawColumn(c, theme);
    DrawCovers(c, theme, framed);
    DrawChassisDetails(c, theme);
    DrawListPanel(c);
    DrawDetailPanel(c, theme);
    DrawSockets(c);
    DrawCornerButtons(c, theme);
    if (!framed) {
        DrawOuterRim(c, false);
    }
    return c;
}

} // namespace kavlo::skingen
