#include "art_copy.h"

#include <cmath>

#include "art_common.h"
#include "art_dialogs.h"
#include "bmp_writer.h"

namespace kavlo::skingen {

namespace {

constexpr double kFromX = 42; // the left folder's middle
constexpr double kToX = 238;  // the right one's
constexpr double kFolderW = 50;
constexpr double kBackTop = 12;
constexpr double kFrontTop = 23;
constexpr double kBottom = 49;
constexpr double kRestY = 38; // a sheet's middle inside a folder: wholly behind the front
constexpr double kArc = 27;   // how high a sheet climbs above that
constexpr double kSheetW = 16;
constexpr double kSheetH = 20;
constexpr double kFold = 5;

// The folders take the captions' side of the contrast: silver on the dark plate, graphite on the light.
struct Look {
    Paint back;
    Paint front;
    Rgba edge;
    Rgba rim; // the front's upper edge, catching the light
    Rgba accent;
};

Look LookOf(const Theme& theme) {
    if (theme.scheme == 0) {
        return {Vertical(8, kBottom, Hex(0xA7ADB3), Hex(0x737980)), SilverPaint(kFrontTop, kBottom),
                Hex(0x0C0D0E, 0.75f), Hex(0xFFFFFF, 0.8f), theme.glow};
    }
    return {Vertical(8, kBottom, Hex(0x25282B), Hex(0x141517)),
            Vertical(kFrontTop, kBottom, ink::kPlateTop, ink::kPlateBottom), Hex(0x0C0D0E, 0.85f),
            Hex(0xFFFFFF, 0.35f), theme.glow};
}

void Outline(Canvas& c, const Path& shape, Rgba colour, double width) {
    for (const auto& contour : shape.contours) {
        c.Fill(Stroke(contour, width, Cap::Round, true), Solid(colour));
    }
}

Path FolderBack(double cx) {
    Path back = RoundRect(cx - kFolderW / 2, kBackTop, kFolderW, kBottom - kBackTop, 3);
    back.Add(RoundRect(cx - kFolderW / 2 + 3, kBackTop - 4, 18, 7, 2));
    return back.Oriented();
}

// The front flap leans towards the reader: its upper edge is a little wider than the bottom.
Path FolderFront(double cx) {
    return Polygon({{cx - kFolderW / 2, kBottom},
                    {cx + kFolderW / 2, kBottom},
                    {cx + kFolderW / 2 + 2.5, kFrontTop},
                    {cx - kFolderW / 2 - 2.5, kFrontTop}});
}

// A sheet with a dog-eared corner and lines of text, centred on the origin.
struct Sheet {
    Path paper = Polygon({{-kSheetW / 2, -kSheetH / 2},
                          {kSheetW / 2 - kFold, -kSheetH / 2},
                          {kSheetW / 2, -kSheetH / 2 + kFold},
                          {kSheetW / 2, kSheetH / 2},
                          {-kSheetW / 2, kSheetH / 2}});
    Path fold = Polygon({{kSheetW / 2 - kFold, -kSheetH / 2},
                         {kSheetW / 2 - kFold, -kSheetH / 2 + kFold},
                         {kSheetW / 2, -kSheetH / 2 + kFold}});
    Path lines = [] {
        Path p = RectPath(-kSheetW / 2 + 3, -kSheetH / 2 + 3.5, kSheetW - 3 - kFold - 1.5, 1.1);
        for (double y = -kSheetH / 2 + 7.5; y < kSheetH / 2 - 2; y += 3.5) {
            p.Add(RectPath(-kSheetW / 2 + 3, y, kSheetW - 6, 1.1));
        }
        return p;
    }();
};

void DrawSheet(Canvas& c, const Sheet& sheet, const Affine& place, float shade) {
    const Path paper = sheet.paper.Transformed(place);
    const Path fold = sheet.fold.Transformed(place);
    const Vec2 top = place.Apply({0, -kSheetH / 2}), bottom = place.Apply({0, kSheetH / 2});
    c.Fill(paper, Linear(top, bottom, {{0, Shade(Hex(0xFAFBFC), shade)}, {1, Shade(Hex(0xD6DADF), shade)}}));
    c.Fill(sheet.lines.Transformed(place), Solid(Hex(0x7C848C, 0.9f)));
    c.Fill(fold, Solid(Shade(Hex(0xB4BAC1), shade)));
    Outline(c, paper, Hex(0x1A1C1E, 0.6f), 0.8);
}

// One frame: both folders, the paper standing in them, and two sheets in flight half a period apart.
Canvas CopyFrame(const Look& look, const Sheet& sheet, int frame) {
    const Box& box = kCopyClipBox;
    Canvas c(box.w, box.h);
    for (double cx : {kFromX, kToX}) {
        const Path back = FolderBack(cx);
        c.Fill(back, look.back);
        Outline(c, back, look.edge, 1);
        for (int k = 0; k < 2; ++k) {
            DrawSheet(c, sheet, Affine::Translate(cx - 5 + 9 * k, kFrontTop - 5 + 9 + 2 * k), 0.96f);
        }
    }
    for (int k = 0; k < 2; ++k) {
        const double t = std::fmod(static_cast<double>(frame) / kCopyFrames + 0.5 * k, 1.0);
        // Slow out of the folder and into the other, fastest at the top of the arc.
        const double along = t - 0.7 * std::sin(2 * kPi * t) / (2 * kPi);
        const Vec2 at{kFromX + (kToX - kFromX) * along, kRestY - kArc * std::sin(kPi * t)};
        // The sheet turns over once on its way: narrowest at the top, its back showing after it.
        const double face = std::cos(kPi * t);
        const double width = (0.4 + 0.6 * std::abs(face)) * (face >= 0 ? 1 : -1);
        const Affine place = Affine::Translate(at.x, at.y)
                                 .After(Affine::Rotate(30 * std::sin(2 * kPi * t)))
                                 .After(Affine::Scale(width, 1));
        DrawSheet(c, sheet, place, face >= 0 ? 1.0f : 0.88f);
    }
    for (double cx : {kFromX, kToX}) {
        const Path front = FolderFront(cx);
        c.Fill(front, look.front);
        Outline(c, front, look.edge, 1);
        c.Fill(
            Stroke({{cx - kFolderW / 2 - 1.5, kFrontTop + 1.2}, {cx + kFolderW / 2 + 1.5, kFrontTop + 1.2}},
                   0.9, Cap::Butt),
            Solid(look.rim));
        c.Fill(RoundRect(cx - 10, kBottom - 7, 20, 1.6, 0.8), Solid(WithAlpha(look.accent, 0.95f)));
    }
    return c;
}

} // namespace

std::string CopyClipName(int scheme) {
    return "FILECOPY" + std::to_string(scheme);
}

IndexedClip DrawCopyClip(int scheme) {
    const Theme theme = SchemeTheme(scheme);
    const Look look = LookOf(theme);
    const Sheet sheet;
    const Box& box = kCopyClipBox;
    // Pixels the drawing covers less than half are the key and show the dialog's own plate; the rest
    // are laid on the plate's colour there, so their soft edges match what lies around them.
    constexpr uint32_t kNone = 0xFFFFFFFF;
    std::vector<std::vector<uint32_t>> frames;
    std::vector<uint32_t> colours;
    for (int f = 0; f < kCopyFrames; ++f) {
        const Canvas drawn = CopyFrame(look, sheet, f);
        std::vector<uint32_t> rgb(static_cast<size_t>(box.w) * box.h, kNone);
        for (int y = 0; y < box.h; ++y) {
            for (int x = 0; x < box.w; ++x) {
                const Rgba px = drawn.At(x, y);
                if (px.a < 0.5f) {
                    continue;
                }
                const Rgba plate = ExtractPlateColour(theme, box.x + x + 0.5);
                const uint32_t colour = RgbOf(Mix(plate, {px.r, px.g, px.b, 1}, px.a));
                rgb[static_cast<size_t>(y) * box.w + x] = colour;
                colours.push_back(colour);
            }
        }
        frames.push_back(std::move(rgb));
    }
    std::vector<uint32_t> drawn_palette = MedianCutPalette(colours, 255);
    PaletteMapper mapper(drawn_palette);
    IndexedClip clip{box.w, box.h, {kCopyKey}, {}};
    clip.palette.insert(clip.palette.end(), drawn_palette.begin(), drawn_palette.end());
    for (const std::vector<uint32_t>& rgb : frames) {
        std::vector<uint8_t> indexes(rgb.size(), 0);
        for (int y = 0; y < box.h; ++y) {
            for (int x = 0; x < box.w; ++x) {
                const size_t at = static_cast<size_t>(y) * box.w + x;
                if (rgb[at] != kNone) {
                    indexes[at] = static_cast<uint8_t>(mapper.Map(rgb[at], x, y) + 1);
                }
            }
        }
        clip.frames.push_back(std::move(indexes));
    }
    return clip;
}

} // namespace kavlo::skingen
