#include "art_dialogs.h"

#include "art_common.h"
#include "pictograms.h"

namespace kavlo::skingen {

namespace {

constexpr uint64_t kSeedDialog = 0x5EED0401;

void Chassis(Canvas& c) {
    c.Fill(RectPath(0, 0, c.Width(), c.Height()), ChassisPaint(c.Height(), kSeedDialog));
    Mask all = ShapeMask(c, RectPath(0, 0, c.Width(), c.Height()));
    Bevel(c, all, 1, Hex(0xFFFFFF, 0.25f), Hex(0x000000, 0.7f));
}

void AccentLine(Canvas& c, const Theme& theme, double x, double y, double w) {
    Mask line = ShapeMask(c, RoundRect(x, y, w, 1.5, 0.75));
    c.Composite(line, Solid(WithAlpha(theme.glow, 0.9f)));
    Glow(c, line, 2.0f, theme.glow, 0.55f);
}

void Led(Canvas& c, const Theme& theme, Vec2 at) {
    Mask well = ShapeMask(c, Circle(at, 3.5));
    SunkPanel(c, well, Solid(ink::kGlass), 0.4f);
    Mask led = ShapeMask(c, Circle(at, 2.0));
    c.Composite(led, Solid(theme.glow));
    Glow(c, led, 2.0f, theme.glow, 0.9f);
}

} // namespace

Canvas TargetDialogBackground(const Theme& theme) {
    Canvas c(323, 199);
    Chassis(c);
    // The well round the path edit, the folder tree and the drive list.
    Mask well = ShapeMask(c, RoundRect(15, 14, 196, 175, 8));
    SunkPanel(c, well, PanelPaint({15, 14, 196, 175}, kSeedDialog + 1));
    // The button column and, below it, the folder sign lit by the accent.
    Mask column = ShapeMask(c, RoundRect(219, 24, 89, 108, 8));
    SunkPanel(c, column, Solid(Hex(0x1A1C1F)), 0.8f);
    Affine place =
        Affine::Translate(263, 160).After(Affine::Scale(0.9, 0.9).After(Affine::Translate(-25, -25)));
    Mask folder =
        ShapeMask(c, Polygon({{9, 13}, {20, 13}, {24, 17}, {41, 17}, {41, 38}, {9, 38}}).Transformed(place));
    Mask lid = ShapeMask(c, Polygon({{12, 22}, {44, 22}, {40, 38}, {9, 38}}).Transformed(place));
    Glow(c, folder, 3.0f, theme.glow, 0.5f);
    c.Composite(folder, Solid(Mix(theme.deep, theme.glow, 0.35f)));
    c.Composite(lid, Vertical(150, 175, Mix(Hex(0xFFFFFF), theme.glow, 0.35f), theme.glow));
    c.Composite(EdgeBand(lid, 0, 1), Solid(Hex(0xFFFFFF, 0.5f)));
    AccentLine(c, theme, 230, 14, 68);
    Led(c, theme, {302, 186});
    return c;
}

Rgba ExtractPlateColour(const Theme& theme, double x) {
    double t = std::min(std::abs(x - 213) / 230.0, 1.0);
    return Mix(theme.caption_plate, Shade(theme.caption_plate, 0.8f), static_cast<float>(t * t));
}

Canvas ExtractDialogBackground(const Theme& theme) {
    Canvas c(426, 166);
    Chassis(c);
    Mask plate = ShapeMask(c, RoundRect(10, 8, 406, 150, 10));
    Paint fill = Brushed([&theme](double x, double) { return ExtractPlateColour(theme, x); }, kSeedDialog + 2,
                         0.04f, true);
    SunkPanel(c, plate, fill);
    AccentLine(c, theme, 60, 148, 306);
    Led(c, theme, {28, 148.75});
    Led(c, theme, {398, 148.75});
    return c;
}

} // namespace kavlo::skingen
