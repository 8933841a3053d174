#include "art_clips.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "art_common.h"
#include "art_frame.h"

namespace kavlo::skingen {

namespace {

using namespace layout;

// The light is one pale green for both colour schemes: the clips do not change with the scheme, and a
// green status light sits well beside the night scheme's indigo too.
constexpr uint32_t kGlow = 0x7FD14A;
constexpr uint32_t kCore = 0xEAFFD9;

struct Rgb3 {
    float r = 0, g = 0, b = 0;
};

Rgb3 Of(uint32_t rgb) {
    return {float((rgb >> 16) & 0xFF) / 255.0f, float((rgb >> 8) & 0xFF) / 255.0f,
            float(rgb & 0xFF) / 255.0f};
}

double Gauss(double u) {
    return std::exp(-u * u);
}

// A light moving along a pipe (s grows with `dir` = +1, shrinks with -1): a bright head and a tail
// fading out behind it.
double Comet(double s, double head, double dir, double width, double tail) {
    double ahead = (s - head) * dir;
    return ahead >= 0 ? Gauss(ahead / width) : std::exp(ahead / tail);
}

struct Bounds {
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
    double Mx() const { return (x0 + x1) / 2; }
};

Bounds BoundsOf(const Path& path) {
    Bounds b;
    for (const auto& contour : path.contours) {
        for (Vec2 p : contour) {
            b.x0 = std::min(b.x0, p.x), b.y0 = std::min(b.y0, p.y);
            b.x1 = std::max(b.x1, p.x), b.y1 = std::max(b.y1, p.y);
        }
    }
    return b;
}

// Where a lens pixel lies: distance from the centre as a share of the radius, and its angle in degrees
// (clockwise from the right, as the screen turns).
struct Polar2 {
    double d, angle;
};

Polar2 LensPolar(const FrameGlass& g, double x, double y) {
    double dx = x - g.centre.x, dy = y - g.centre.y;
    return {std::hypot(dx, dy) / g.reach, std::atan2(dy, dx) * 180 / kPi};
}

// Degrees from `from` forward (clockwise) to `to`, 0 ... 360.
double Forward(double from, double to) {
    return std::fmod(std::fmod(to - from, 360.0) + 720.0, 360.0);
}

// How brightly glass `k` of window `window` glows at (x, y) (window coordinates) in frame f (1 ... 13
// of 0 ... 14, the ends being the frame at rest). Each window has its own motion.
double Light(size_t window, size_t k, const FrameGlass& g, int f, double x, double y) {
    const Bounds b = BoundsOf(g.shape);
    const double u = (f - 1) / 12.0;             // 0 ... 1 over the lit frames
    const double swell = std::sin(kPi * f / 14); // 0 at rest, 1 mid-clip
    switch (window) {
        case 0: { // Animate1: a light running down the pipe, from where Animate10 stops covering it
            double top = kClipWindows[9].Bottom();
            return Comet(y, top - 4 + (b.y1 - top + 42) * u, 1, 5, 30);
        }
        case 1: { // Animate2: a lamp beating twice
            Polar2 p = LensPolar(g, x, y);
            double beat =
                std::max({Gauss((f - 3) / 1.2), 0.85 * Gauss((f - 7) / 1.2), 0.35 * Gauss((f - 11) / 1.4)});
            return beat * (0.3 + 0.7 * std::max(0.0, 1 - p.d * p.d));
        }
        case 2: { // Animate3: a radar sweep with one echo
            Polar2 p = LensPolar(g, x, y);
            double beam = -90 + 400 * u;
            double trail = std::exp(-Forward(p.angle, beam) / 55);
            Vec2 echo = Polar(g.centre, g.reach * 0.55, 20);
            double echo_age = Forward(20, beam);
            double blip = (beam >= 20 ? std::exp(-echo_age / 140) : 0) *
                          Gauss(std::hypot(x - echo.x, y - echo.y) / 3.2);
            return std::sqrt(swell) * (trail * (0.2 + 0.8 * std::min(p.d, 1.0)) + blip);
        }
        case 3: // Animate4: a light running right to left
            return Comet(x, b.x1 + 4 - (b.x1 - b.x0 + 52) * u, -1, 6, 34);
        case 4: { // Animate5: lights rising in turn, middle, left, right
            static constexpr std::array<int, 3> kStart{1, 3, 5};
            double v = (f - kStart[k]) / 7.0;
            if (v < 0) {
                return 0;
            }
            return Comet(y, b.y1 + 3 - (b.y1 - b.y0 + 33) * v, -1, 5, 22);
        }
        case 5: { // Animate6: a scan line down the grille, the middle pipe keeping an afterglow
            double scan = b.y0 - 8 + (b.y1 - b.y0 + 16) * u;
            double line = Gauss((y - scan) / 3.5);
            double after = (k == 0 && y < scan) ? 0.3 * std::exp(-(scan - y) / 50) : 0;
            return std::max(line, after);
        }
        case 6: { // Animate7: a pulse from the middle outwards, then lights along the outer pipes
            if (k == 0) {
                double reach = (b.x1 - b.x0) / 2 + 30;
                return Comet(std::abs(x - b.Mx()), reach * u * 1.1, 1, 5, 24);
            }
            double v = (f - 3) / 9.0;
            if (v < 0) {
                return 0;
            }
            double len = b.x1 - b.x0 + 50;
            return k == 1 ? Comet(x, b.x0 - 10 + len * v, 1, 6, 26)
                          : Comet(x, b.x1 + 10 - len * v, -1, 6, 26);
        }
        case 7: { // Animate8: rings spreading from the centre
            Polar2 p = LensPolar(g, x, y);
            double light = 0.8 * Gauss(p.d / 0.3) * std::exp(-(f - 1) / 2.5);
            for (int start : {1, 4, 7}) {
                double r = 1.15 * (f - start) / 7.0;
                if (r >= 0 && r < 1.15) {
                    light = std::max(light, Gauss((p.d - r) * g.reach / 2.6) * (1 - r / 1.15));
                }
            }
            return light;
        }
        case 8: { // Animate9: a lamp blinking twice
            static constexpr std::array<double, 15> kOn{0, 0,   0.7, 1,    0.55, 0.15, 0, 0,
                                                        0, 0.7, 1,   0.55, 0.15, 0,    0};
            Polar2 p = LensPolar(g, x, y);
            return kOn[static_cast<size_t>(f)] * (1 - 0.5 * p.d * p.d);
        }
        case 9: { // Animate10: arcs turning round the big lens, level meters on the bars
            if (g.lens) {
                Polar2 p = LensPolar(g, x, y);
                double turn = 210 * u;
                double arcs = 0.5 + 0.5 * std::cos(Radians(2 * (p.angle - turn)));
                return swell * (0.2 * std::max(0.0, 1 - p.d) + Gauss((p.d - 0.8) / 0.1) * arcs * arcs);
            }
            double level = swell * (0.55 + 0.45 * std::sin(1.9 * f + 2.1 * double(k)));
            double along = (x - b.x0) / (b.x1 - b.x0);
            double segment = std::fmod(x - b.x0, 9.0) < 6.5 ? 1.0 : 0.15;
            return along <= level ? 0.75 * segment : 0;
        }
        default:
            return 0;
    }
}

struct ClipName {
    const char* name;
    size_t window;
};

// The resource names by the window they play in.
constexpr std::array<ClipName, 10> kClips{{{"AVI1", 2},
                                           {"AVI2", 8},
                                           {"AVI3", 3},
                                           {"AVI4", 0},
                                           {"AVI5", 1},
                                           {"AVI6", 5},
                                           {"AVI7", 4},
                                           {"AVI8", 9},
                                           {"AVI9", 6},
                                           {"AVI10", 7}}};

// How far (x, y) lies from the parts of `window` that a later window covers (a large number where none
// does). The later control is drawn over the earlier one, so light there would never be seen and would
// break off at the covering window's edge; kept out, both clips show the frame at rest there.
double Uncovered(size_t window, double x, double y) {
    double d = 1e9;
    const Box& a = kClipWindows[window];
    for (size_t later = window + 1; later < kClipWindows.size(); ++later) {
        const Box& b = kClipWindows[later];
        int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y), x1 = std::min(a.Right(), b.Right()),
            y1 = std::min(a.Bottom(), b.Bottom());
        if (x0 >= x1 || y0 >= y1) {
            continue;
        }
        double dx = std::max({x0 - x, x - x1, 0.0}), dy = std::max({y0 - y, y - y1, 0.0});
        d = std::min(d, std::hypot(dx, dy));
    }
    return d;
}

// The window's picture in frame f as 0xRRGGBB words, `rest` being its picture at rest (the first and
// last frame): the lit glass screened over it, the light's bloom spilling a little onto the metal, all
// of it fading out before the window's edge so that no seam shows against the frame around it.
std::vector<uint32_t> LitFrame(const std::vector<uint32_t>& rest, size_t window,
                               const std::vector<FrameGlass>& glass, const std::vector<Mask>& masks, int f) {
    const Box& box = kClipWindows[window];
    const int w = box.w, h = box.h;
    if (f <= 0 || f >= kClipFrames - 1) {
        return rest;
    }
    Mask light(w, h);
    std::vector<float> heat(static_cast<size_t>(w) * h, 0.0f);
    for (size_t k = 0; k < glass.size(); ++k) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                float cover = masks[k].At(x, y);
                if (cover <= 0) {
                    continue;
                }
                double i =
                    std::clamp(Light(window, k, glass[k], f, box.x + x + 0.5, box.y + y + 0.5), 0.0, 1.0);
                float& l = light.Row(y)[x];
                l = std::max(l, cover * static_cast<float>(i));
                float& hot = heat[static_cast<size_t>(y) * w + x];
                hot = std::max(hot, static_cast<float>(i));
            }
        }
    }
    light.SetAll();
    Mask bloom = Blur(light, 2.4f);
    const Rgb3 glow = Of(kGlow), core = Of(kCore);
    std::vector<uint32_t> out(rest.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            size_t at = static_cast<size_t>(y) * w + x;
            Rgb3 c = Of(rest[at]);
            float l = light.Row(y)[x], bl = bloom.Row(y)[x] * 0.6f;
            float hot = heat[at] * heat[at];
            auto screen = [&](float base, float g, float cr) {
                float lit = g + (cr - g) * hot;
                base = base + lit * l * (1 - base);
                return base + g * bl * (1 - base);
            };
            double edge = std::min({x + 0.5, y + 0.5, w - x - 0.5, h - y - 0.5,
                                    Uncovered(window, box.x + x + 0.5, box.y + y + 0.5)});
            float keep = static_cast<float>(std::clamp((edge - 1.0) / 5.0, 0.0, 1.0));
            Rgb3 lit{screen(c.r, glow.r, core.r), screen(c.g, glow.g, core.g), screen(c.b, glow.b, core.b)};
            out[at] = RgbOf(
                {c.r + (lit.r - c.r) * keep, c.g + (lit.g - c.g) * keep, c.b + (lit.b - c.b) * keep, 1});
        }
    }
    return out;
}

// One window's glass, ready to light.
struct Window {
    ClipName named;
    std::vector<FrameGlass> glass;
    std::vector<Mask> masks; // the glass's coverage in window coordinates

    explicit Window(const ClipName& n) : named(n), glass(ClipWindowGlass(n.window)) {
        const Box& box = kClipWindows[n.window];
        for (const FrameGlass& g : glass) {
            masks.push_back(Rasterize(g.shape.Transformed(Affine::Translate(-box.x, -box.y)), box.w, box.h));
        }
    }

    // The window's part of a picture given as 0xRRGGBB words.
    std::vector<uint32_t> Crop(const std::vector<uint32_t>& picture, int picture_width) const {
        const Box& box = kClipWindows[named.window];
        std::vector<uint32_t> out;
        out.reserve(static_cast<size_t>(box.w) * box.h);
        for (int y = box.y; y < box.Bottom(); ++y) {
            auto row = picture.begin() + static_cast<std::ptrdiff_t>(y) * picture_width;
            out.insert(out.end(), row + box.x, row + box.Right());
        }
        return out;
    }
};

} // namespace

BorderPictures DrawBorderPictures(const Canvas& frame) {
    const int fw = frame.Width(), fh = frame.Height();
    std::vector<uint32_t> drawn(static_cast<size_t>(fw) * fh);
    for (int y = 0; y < fh; ++y) {
        for (int x = 0; x < fw; ++x) {
            drawn[static_cast<size_t>(y) * fw + x] = RgbOf(frame.At(x, y));
        }
    }
    std::vector<Window> windows(kClips.begin(), kClips.end());

    // The palette: the drawing's colours and the colours its glass takes when lit.
    std::vector<uint32_t> colours = drawn;
    for (const Window& win : windows) {
        std::vector<uint32_t> rest = win.Crop(drawn, fw);
        for (int f = 1; f + 1 < kClipFrames; ++f) {
            std::vector<uint32_t> lit = LitFrame(rest, win.named.window, win.glass, win.masks, f);
            for (size_t i = 0; i < lit.size(); ++i) {
                if (lit[i] != rest[i]) {
                    colours.push_back(lit[i]);
                }
            }
        }
    }
    BorderPictures out;
    out.frame = {fw, fh, MedianCutPalette(colours, 256), std::vector<uint8_t>(drawn.size())};
    PaletteMapper mapper(out.frame.palette);
    std::vector<uint32_t> shown(drawn.size());
    for (int y = 0; y < fh; ++y) {
        for (int x = 0; x < fw; ++x) {
            size_t at = static_cast<size_t>(y) * fw + x;
            out.frame.indexes[at] = mapper.Map(drawn[at], x, y);
            shown[at] = out.frame.palette[out.frame.indexes[at]];
        }
    }

    // The clips light the picture as it is shown; what the light leaves alone keeps its index.
    for (const Window& win : windows) {
        const Box& box = kClipWindows[win.named.window];
        std::vector<uint32_t> rest = win.Crop(shown, fw);
        std::vector<uint8_t> rest_indexes;
        for (int y = box.y; y < box.Bottom(); ++y) {
            auto row = out.frame.indexes.begin() + static_cast<std::ptrdiff_t>(y) * fw;
            rest_indexes.insert(rest_indexes.end(), row + box.x, row + box.Right());
        }
        IndexedClip clip{box.w, box.h, out.frame.palette, {}};
        for (int f = 0; f < kClipFrames; ++f) {
            std::vector<uint32_t> lit = LitFrame(rest, win.named.window, win.glass, win.masks, f);
            std::vector<uint8_t> indexes = rest_indexes;
            for (int y = 0; y < box.h; ++y) {
                for (int x = 0; x < box.w; ++x) {
                    size_t at = static_cast<size_t>(y) * box.w + x;
                    if (lit[at] != rest[at]) {
                        indexes[at] = mapper.Map(lit[at], box.x + x, box.y + y);
                    }
                }
            }
            clip.frames.push_back(std::move(indexes));
        }
        out.clips.push_back({win.named.name, win.named.window, std::move(clip)});
    }
    return out;
}

} // namespace kavlo::skingen
