#include "art_frame.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "art_common.h"

namespace kavlo::skingen {

namespace {

using namespace layout;

constexpr uint64_t kSeedFrame = 0x5EED0301;

struct RoundBox {
    double x0, y0, x1, y1, r;
};

// The outline: a body round the content area with a pod for every animation window.
constexpr std::array<RoundBox, 9> kOutline{{{38, 92, 792, 704, 30},
                                            {0, 0, 322, 182, 34},
                                            {358, 46, 628, 182, 24},
                                            {628, 66, 790, 182, 24},
                                            {0, 436, 92, 542, 22},
                                            {712, 216, 818, 446, 24},
                                            {712, 484, 818, 696, 24},
                                            {56, 640, 176, 741, 22},
                                            {506, 660, 566, 741, 16}}};
constexpr double kBlend = 24; // fillet where pods meet the body

double BoxDistance(const RoundBox& b, double x, double y) {
    double hx = (b.x1 - b.x0) / 2, hy = (b.y1 - b.y0) / 2;
    double qx = std::abs(x - (b.x0 + hx)) - hx + b.r;
    double qy = std::abs(y - (b.y0 + hy)) - hy + b.r;
    double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - b.r;
}

double SmoothMin(double a, double b, double k) {
    double h = std::max(k - std::abs(a - b), 0.0) / k;
    return std::min(a, b) - h * h * k / 4;
}

// Distance to the content area, which sits a step down in the metal.
double RecessDistance(double x, double y) {
    const Box& b = kContentInFrame;
    return BoxDistance({double(b.x), double(b.y), double(b.Right()), double(b.Bottom()), 0}, x, y);
}

Vec2 Gradient(double (*f)(double, double), double x, double y) {
    constexpr double h = 0.5;
    Vec2 g{f(x + h, y) - f(x - h, y), f(x, y + h) - f(x, y - h)};
    double len = g.Length();
    return len > 1e-9 ? g * (1 / len) : Vec2{};
}

constexpr Vec2 kLight{-0.6, -0.8}; // light from the upper left

double Ramp(double v) {
    return std::clamp(v, 0.0, 1.0);
}

// The metal with its lighting: a bevel on the outline, a panel line following it inside, the chamfer
// down into the recesses.
Paint FrameMetal() {
    Paint base = Brushed(
        [](double x, double y) {
            Rgba c = Mix(Hex(0x41454A), Hex(0x1D1F22), static_cast<float>(y / kFrameHeight));
            double lit = Ramp(1 - std::hypot(x - 160, y - 120) / 700);
            return Mix(c, Hex(0x5A5F65), static_cast<float>(lit * lit * 0.5));
        },
        kSeedFrame, 0.09f);
    return [base](double x, double y) {
        Rgba c = base(x, y);
        double d = FrameOutlineDistance(x, y);
        Vec2 n = Gradient(FrameOutlineDistance, x, y);
        double facing = n.x * kLight.x + n.y * kLight.y;
        double edge = Ramp(1 + d / 7);
        c = Mix(c, facing > 0 ? Hex(0xD8DCE0) : Hex(0x000000),
                static_cast<float>(edge * edge * std::abs(facing) * 0.6));
        double groove = Ramp(1 - std::abs(d + 12) / 0.8);
        double ridge = Ramp(1 - std::abs(d + 13.4) / 0.8);
        c = Mix(c, Hex(0x000000), static_cast<float>(groove * 0.55));
        c = Mix(c, Hex(0xFFFFFF), static_cast<float>(ridge * 0.16));
        double r = RecessDistance(x, y);
        if (r > 0 && r < 6) {
            Vec2 m = Gradient(RecessDistance, x, y);
            double sunk = -(m.x * kLight.x + m.y * kLight.y);
            double k = Ramp(1 - r / 6);
            c = Mix(c, sunk > 0 ? Hex(0xC8CDD2) : Hex(0x000000),
                    static_cast<float>(k * std::abs(sunk) * 0.55));
        }
        return c;
    };
}

// Glass set into the metal: a dim pipe or lens that the clip of the window lights up.
void DrawGlass(Canvas& c, const FrameGlass& glass) {
    const Vec2 centre = glass.centre;
    const double reach = glass.reach;
    if (glass.lens) {
        Mask bezel = ShapeMask(c, Circle(centre, reach + 5));
        RaisedPlate(c, bezel,
                    Radial({centre.x - reach * 0.4, centre.y - reach * 0.5}, reach * 1.8,
                           {{0, Hex(0x70767C)}, {1, Hex(0x25282C)}}),
                    1.2f);
    }
    Mask m = ShapeMask(c, glass.shape);
    SunkPanel(c, m, Radial(centre, reach, {{0, Hex(0x26313A)}, {0.6f, Hex(0x11161A)}, {1, Hex(0x07090A)}}),
              1.0f);
    Mask core = Multiply(m, Blur(m, float(reach) * 0.25f));
    c.Composite(core, Radial(centre, reach, {{0, Hex(0xA8B8C6, 0.28f)}, {1, Hex(0xA8B8C6, 0)}}), 1,
                Blend::Screen);
    Mask sheen = Multiply(m, ShapeMask(c, Ellipse({centre.x - reach * 0.3, centre.y - reach * 0.45},
                                                  reach * 0.6, reach * 0.25)));
    c.Composite(sheen, Solid(Hex(0xFFFFFF, 0.10f)));
}

// The content area sits a step down in the metal.
void DrawContentStep(Canvas& c) {
    Mask content = ShapeMask(c, BoxPath(kContentInFrame));
    c.Composite(content, Solid(Hex(0x0B0C0E)));
    Mask lip = Subtract(ShapeMask(c, BoxPath(kContentInFrame, 0, 2)), content);
    c.Composite(lip, Solid(Hex(0x000000, 0.8f)));
}

void DrawScrew(Canvas& c, Vec2 s) {
    Mask well = ShapeMask(c, Circle(s, 5.2));
    SunkPanel(c, well, Solid(Hex(0x15171A)), 0.5f);
    Mask head = ShapeMask(c, Circle(s, 3.8));
    RaisedPlate(c, head, Radial({s.x - 1.2, s.y - 1.5}, 5, {{0, Hex(0x9AA0A6)}, {1, Hex(0x3C4045)}}), 0.5f);
    c.Fill(Stroke({{s.x - 2.4, s.y + 1.4}, {s.x + 2.4, s.y - 1.4}}, 1.0), Solid(Hex(0x000000, 0.7f)));
}

// Vents in the strip below the content area and beside it.
void DrawVents(Canvas& c) {
    Path slots;
    for (int i = 0; i < 26; ++i) {
        slots.Add(RoundRect(196 + i * 11.5, 671, 4, 18, 2));
    }
    for (int i = 0; i < 8; ++i) {
        slots.Add(RoundRect(50, 326 + i * 13, 22, 4, 2));
    }
    Mask m = ShapeMask(c, slots);
    SunkPanel(c, m, Solid(Hex(0x0A0B0C)), 0.6f);
}

} // namespace

double FrameOutlineDistance(double x, double y) {
    double d = BoxDistance(kOutline[0], x, y);
    for (size_t i = 1; i < kOutline.size(); ++i) {
        d = SmoothMin(d, BoxDistance(kOutline[i], x, y), kBlend);
    }
    return d;
}

std::vector<FrameGlass> ClipWindowGlass(size_t window) {
    const Box& b = kClipWindows.at(window);
    Vec2 mid{b.x + b.w / 2.0, b.y + b.h / 2.0};
    std::vector<FrameGlass> glass;
    auto pipe = [&](double x, double y, double w, double h, Vec2 centre, double reach) {
        glass.push_back({RoundRect(x, y, w, h, std::min(w, h) / 2), centre, reach, false});
    };
    auto lens = [&](Vec2 centre, double r) { glass.push_back({Circle(centre, r), centre, r, true}); };
    if (window == 9) {
        lens({112, 92}, 52);
        for (int k = 0; k < 3; ++k) {
            double y = 62 + k * 24;
            pipe(186, y, 108 - k * 18, 10, {240, y + 5}, 60);
        }
    } else if (b.w > b.h * 1.8) {
        pipe(b.x + 10, mid.y - 6, b.w - 20, 12, mid, b.w / 2.0);
        if (b.h > 80) {
            pipe(b.x + 30, mid.y - 34, b.w - 60, 9, {mid.x, mid.y - 30}, b.w / 2.5);
            pipe(b.x + 30, mid.y + 25, b.w - 60, 9, {mid.x, mid.y + 29}, b.w / 2.5);
        }
    } else if (b.h > b.w * 1.8) {
        double w = std::min(14.0, b.w - 16.0);
        pipe(mid.x - w / 2, b.y + 10, w, b.h - 20, mid, b.h / 2.0);
        if (b.w > 60) {
            pipe(mid.x - 26, b.y + 28, 8, b.h - 56, {mid.x - 22, mid.y}, b.h / 3.0);
            pipe(mid.x + 18, b.y + 28, 8, b.h - 56, {mid.x + 22, mid.y}, b.h / 3.0);
        }
    } else {
        lens(mid, std::min(b.w, b.h) / 2.0 - 12);
    }
    return glass;
}

FrameArt DrawFrame() {
    Canvas c(kFrameWidth, kFrameHeight, Hex(0x000000));
    Mask shape = SdfMask(kFrameWidth, kFrameHeight, FrameOutlineDistance);
    c.Composite(shape, FrameMetal());
    DrawContentStep(c);
    for (size_t i = 0; i < kClipWindows.size(); ++i) {
        for (const FrameGlass& glass : ClipWindowGlass(i)) {
            DrawGlass(c, glass);
        }
    }
    DrawVents(c);
    for (Vec2 s : {Vec2{62, 560}, Vec2{62, 620}, Vec2{186, 690}, Vec2{498, 690}, Vec2{590, 690},
                   Vec2{770, 466}, Vec2{338, 120}, Vec2{338, 160}}) {
        DrawScrew(c, s);
    }
    FrameArt art{std::move(c), std::vector<bool>(static_cast<size_t>(kFrameWidth) * kFrameHeight)};
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            art.outside[static_cast<size_t>(y) * kFrameWidth + x] =
                FrameOutlineDistance(x + 0.5, y + 0.5) >= 0;
        }
    }
    return art;
}

} // namespace kavlo::skingen
