#include "art_extras.h"

#include "art_common.h"
#include "art_icons.h"
#include "glyphs.h"

namespace kavlo::skingen {

namespace {
constexpr uint64_t kSeedExtras = 0x5EED0201;
} // namespace

Canvas GalleryArrow(bool right) {
    constexpr int kW = 44, kH = 72;
    // Drawn over the chassis colour so that the edge pixels that stay blend into a dark surround.
    Canvas c(kW, kH, ink::kChassisBottom);
    Path plate = RoundRect(5, 4, 34, 63, 13);
    Mask m = ShapeMask(c, plate);
    c.Composite(m, Brushed(Vertical(4, 67, Hex(0x45494E), Hex(0x1E2023)), kSeedExtras, 0.06f));
    Bevel(c, m, 1, Hex(0xFFFFFF, 0.35f), Hex(0x000000, 0.6f));
    Mask inner = ShapeMask(c, RoundRect(8, 7, 28, 57, 10.5));
    c.Composite(Subtract(m, inner), Solid(Hex(0x000000, 0.25f)));
    Mask chevron = ShapeMask(c, Chevron({right ? 23.5 : 20.5, 35.5}, 11, right ? 0 : 180, 4.2));
    Glow(c, chevron, 3.0f, Hex(0xE8F0FF), 0.55f);
    c.Composite(chevron, SilverPaint(24, 48));
    KeyOut(c, m, Hex(kArrowKey));
    return c;
}

Canvas PictureFrame(const Theme& theme) {
    constexpr int kW = 638, kH = 482;
    Canvas c(kW, kH);
    Mask outer = ShapeMask(c, RectPath(0, 0, kW, kH));
    Mask opening = ShapeMask(c, RoundRect(14, 14, kW - 28, kH - 28, 10));
    Mask bezel = Subtract(outer, opening);
    c.Composite(bezel,
                Brushed(Vertical(0, kH, ink::kChassisTop, ink::kChassisBottom), kSeedExtras + 1, 0.08f));
    Bevel(c, outer, 1, Hex(0xFFFFFF, 0.25f), Hex(0x000000, 0.7f));
    // The bezel's inner lip and a thin accent line around the opening.
    Mask lip = Subtract(ShapeMask(c, RoundRect(11, 11, kW - 22, kH - 22, 12)), opening);
    c.Composite(lip, Solid(Hex(0x0C0D0E)));
    Mask accent = Subtract(ShapeMask(c, RoundRect(7.5, 7.5, kW - 15, kH - 15, 14)),
                           ShapeMask(c, RoundRect(8.7, 8.7, kW - 17.4, kH - 17.4, 13)));
    c.Composite(accent, Solid(WithAlpha(theme.glow, 0.85f)));
    // Shadow falling from the bezel onto the picture: black with alpha, the picture shows through.
    Mask fall = Multiply(opening, Blur(Shifted(Inverted(opening), 0, 2), 5.0f));
    c.Composite(fall, Solid(Hex(0x000000, 0.7f)));
    // The clear middle carries the key colour with alpha 0.
    Canvas out(kW, kH, Hex(kFrameKey, 0));
    out.Draw(c, 0, 0);
    return out;
}

Canvas NewBadge() {
    constexpr int kW = 36, kH = 16;
    Canvas c(kW, kH, ink::kChassisBottom);
    Theme green = SchemeTheme(0);
    Mask pill = ShapeMask(c, RoundRect(0.5, 0.5, kW - 1, kH - 1, 7.5));
    c.Composite(pill,
                Vertical(0, kH, Mix(green.glow, Hex(0xFFFFFF), 0.25f), Mix(green.glow, green.deep, 0.35f)));
    Bevel(c, pill, 1, Hex(0xFFFFFF, 0.45f), Hex(0x000000, 0.35f));
    double tw = TextWidth("NEW", 7);
    Mask text = ShapeMask(c, TextPath("NEW", {kW / 2.0 - tw / 2, 4.5}, 7, 1.5));
    c.Composite(text, Solid(Hex(0x16200F)));
    return c;
}

Canvas SponsorButton() {
    constexpr int kW = 110, kH = 24;
    Canvas c(kW, kH, ink::kChassisBottom);
    Mask pill = ShapeMask(c, RoundRect(1, 1, kW - 2, kH - 2, 11));
    c.Composite(pill, Brushed(Vertical(1, kH - 1, Hex(0x4B4F55), Hex(0x222427)), kSeedExtras + 2, 0.06f));
    Bevel(c, pill, 1, Hex(0xFFFFFF, 0.35f), Hex(0x000000, 0.6f));
    Mask ring = Subtract(ShapeMask(c, RoundRect(3, 3, kW - 6, kH - 6, 9)),
                         ShapeMask(c, RoundRect(4, 4, kW - 8, kH - 8, 8)));
    c.Composite(ring, Solid(Hex(0xB8BEC5, 0.5f)));
    // A small play mark and the word, centred: the narrower of the two buttons shows only the middle.
    double tw = TextWidth("PARTNER", 8);
    double x0 = kW / 2.0 - (tw + 12) / 2;
    Mask mark = ShapeMask(c, Triangle({x0 + 3.5, kH / 2.0}, 4.2, 0));
    Mask text = ShapeMask(c, TextPath("PARTNER", {x0 + 12, kH / 2.0 - 4}, 8, 1.5));
    Mask both = Union(mark, text);
    DropShadow(c, both, 0, 1, 0.5f, Hex(0x000000, 0.8f));
    // Never pure white inside the button: the key would cut it.
    c.Composite(both, Vertical(kH / 2.0 - 4, kH / 2.0 + 4, Hex(0xF4F6F8), Hex(0xB4BAC0)));
    KeyOut(c, pill, Hex(kWhiteKey));
    return c;
}

Canvas HomeButton(const Canvas& background) {
    Canvas c = background.Crop(584, 0, 25, 17);
    Mask key = ShapeMask(c, RoundRect(2.5, 1.5, 20, 13, 3));
    RaisedPlate(c, key, Vertical(1, 15, ink::kPlateTop, ink::kPlateBottom), 0.6f);
    Path house = Polygon({{12.5, 3.5}, {17.5, 8}, {16, 8}, {16, 12.5}, {9, 12.5}, {9, 8}, {7.5, 8}});
    Mask m = Subtract(ShapeMask(c, house), ShapeMask(c, RectPath(11.5, 9.5, 2, 3)));
    c.Composite(m, SilverPaint(3.5, 12.5));
    return c;
}

Canvas SparePlate(int size) {
    Canvas c(size, size, ink::kChassisBottom);
    c.Fill(RectPath(0, 0, size, size), ChassisPaint(size, kSeedExtras + 3));
    Mask plate = ShapeMask(c, RoundRect(1.5, 1.5, size - 3, size - 3, 3));
    RaisedPlate(c, plate, Vertical(1, size - 1, ink::kPlateTop, ink::kPlateBottom), 0.5f);
    return c;
}

} // namespace kavlo::skingen
