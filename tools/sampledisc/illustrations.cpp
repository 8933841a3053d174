#include "sampledisc/illustrations.h"

#include <functional>

#include "skingen/art_common.h"
#include "skingen/art_icons.h"
#include "skingen/bmp_writer.h"
#include "skingen/glyphs.h"

namespace kavlo::sample {

using namespace skingen;

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 150;
constexpr uint64_t kSeedIllustration = 0x5EED0301;

// A pictogram's coverage, given the placement of its 50-unit design grid on the canvas.
using Glyph = std::function<Mask(int width, int height, const Affine& place)>;

Glyph Pictured(Pictogram kind) {
    return [kind](int width, int height, const Affine& place) {
        return DrawPictogram(kind, width, height, place);
    };
}

// The settings gear is the skin's corner glyph, drawn at the pictograms' size.
Mask Gear(int width, int height, const Affine& place) {
    const Vec2 centre = place.Apply({25, 25});
    const double radius = (place.Apply({42, 25}) - centre).Length();
    return GearGlyph(width, height, centre, radius);
}

// Accent traces that run in from both edges to the plate, as on a circuit board.
void Traces(Canvas& c, const Theme& theme) {
    Path lines, pads;
    const double rows[] = {30, 52, 98, 120};
    for (int i = 0; i < 4; ++i) {
        const double y = rows[i];
        const double bend = i < 2 ? 12 : -12;
        lines.Add(Stroke({{-2, y}, {34, y}, {46, y + bend}, {62, y + bend}}, 1.2));
        lines.Add(Stroke(
            {{kWidth + 2.0, y}, {kWidth - 34.0, y}, {kWidth - 46.0, y + bend}, {kWidth - 62.0, y + bend}},
            1.2));
        pads.Add(Circle({62, y + bend}, 2.2)).Add(Circle({kWidth - 62.0, y + bend}, 2.2));
    }
    const Mask traces = Union(ShapeMask(c, lines.Oriented()), ShapeMask(c, pads.Oriented()));
    Glow(c, traces, 2.5f, theme.glow, 0.5f);
    c.Composite(traces, Solid(WithAlpha(Mix(theme.glow, Hex(0x000000), 0.35f), 0.9f)));
}

// The brushed chassis with its traces, shared by every illustration of one accent.
Canvas Backdrop(const Theme& theme) {
    Canvas c(kWidth, kHeight, ink::kChassisBottom);
    c.Fill(RectPath(0, 0, kWidth, kHeight), ChassisPaint(kHeight, kSeedIllustration));
    Traces(c, theme);
    return c;
}

// The pictogram lit by the accent on a round plate ringed with the accent's glow.
Canvas Illustration(const Canvas& backdrop, const Theme& theme, const Glyph& glyph) {
    Canvas c = backdrop;
    const Vec2 centre{kWidth / 2.0, kHeight / 2.0};
    const double r = 60;
    const Mask plate = ShapeMask(c, Circle(centre, r));
    RaisedPlate(c, plate,
                Radial({centre.x - r * 0.3, centre.y - r * 0.4}, r * 1.4,
                       {{0, Mix(ink::kPlateTop, theme.deep, 0.5f)}, {1, ink::kPlateBottom}}),
                1.5f);
    const Mask ring = Subtract(plate, ShapeMask(c, Circle(centre, r - 2)));
    Glow(c, ring, 3.0f, theme.glow, 0.8f);
    c.Composite(ring, Solid(WithAlpha(theme.glow, 0.9f)));
    // The accent's light spilling inward from the ring.
    c.Composite(plate,
                Radial(centre, r, {{0.7f, WithAlpha(theme.glow, 0)}, {1, WithAlpha(theme.glow, 0.35f)}}));
    // The pictograms' tallest shape spans 42 units of their grid; here it spans 84 pixels.
    const double scale = 84.0 / 42.0;
    const Affine place = Affine::Translate(centre.x, centre.y)
                             .After(Affine::Scale(scale, scale).After(Affine::Translate(-25, -25)));
    PaintGlyph(c, glyph(kWidth, kHeight, place), theme, true, 5.0f);
    return c;
}

void WriteBoth(DiscWriter& disc, const std::string& name, const Glyph& glyph, const Canvas& green,
               const Canvas& indigo) {
    disc.Write("KAVLO\\Small\\" + name + "_GR.bmp", Bmp24(Illustration(green, SchemeTheme(0), glyph)));
    disc.Write("KAVLO\\Small\\" + name + "_IND.bmp", Bmp24(Illustration(indigo, SchemeTheme(1), glyph)));
}

} // namespace

void WriteIllustrations(DiscWriter& disc) {
    const Canvas green = Backdrop(SchemeTheme(0));
    const Canvas indigo = Backdrop(SchemeTheme(1));
    WriteBoth(disc, "iko01", Pictured(Pictogram::Chip), green, indigo);
    WriteBoth(disc, "iko02", Pictured(Pictogram::Updates), green, indigo);
    WriteBoth(disc, "iko04", Pictured(Pictogram::Toolbox), green, indigo);
    WriteBoth(disc, "iko06", Pictured(Pictogram::Pen), green, indigo);
    WriteBoth(disc, "iko08", Pictured(Pictogram::HardDisk), green, indigo);
    WriteBoth(disc, "ikoUNI", Gear, green, indigo);
    // The partner page keeps one picture in both schemes, so it glows in a warm colour of its own.
    Theme partner = SchemeTheme(0);
    partner.glow = Hex(0xFFB347);
    partner.deep = Hex(0x3A2A14);
    disc.Write("KAVLO\\Small\\DOVUDIZ.bmp",
               Bmp24(Illustration(Backdrop(partner), partner, Pictured(Pictogram::Globe))));
}

} // namespace kavlo::sample
