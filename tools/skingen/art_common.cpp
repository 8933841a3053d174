#include "art_common.h"

#include <cmath>

namespace kavlo::skingen {

Paint ChassisPaint(int height, uint64_t seed) {
    return Brushed(Vertical(0, height, ink::kChassisTop, ink::kChassisBottom), seed, 0.10f);
}

Paint PanelPaint(const Box& panel, uint64_t seed) {
    double cx = panel.x + panel.w * 0.42;
    double half = panel.w * 0.62;
    Paint base = [=](double x, double) {
        double t = std::min(std::abs(x - cx) / half, 1.0);
        return Mix(ink::kPanelMid, ink::kPanelEdge, static_cast<float>(t * t));
    };
    return Brushed(base, seed, 0.035f, true);
}

void SunkPanel(Canvas& canvas, const Mask& shape, const Paint& fill, float depth) {
    canvas.Composite(shape, fill);
    InnerShadow(canvas, shape, 0, 2.0f * depth, 2.5f * depth, Hex(0x000000, 0.55f));
    Bevel(canvas, shape, 1, Hex(0xFFFFFF, 0.22f), Hex(0x000000, 0.55f), true);
    // A crisp dark line just outside the recess, where the chassis folds down into it.
    Mask rim = Subtract(Blur(shape, 0.6f), shape);
    canvas.Composite(rim, Solid(Hex(0x000000, 0.5f)));
}

void RaisedPlate(Canvas& canvas, const Mask& shape, const Paint& fill, float height) {
    DropShadow(canvas, shape, 0, 1.5f * height, 1.6f * height, Hex(0x000000, 0.55f));
    canvas.Composite(shape, fill);
    Bevel(canvas, shape, 1, Hex(0xFFFFFF, 0.30f), Hex(0x000000, 0.45f));
}

Paint SilverPaint(double y0, double y1) {
    return Linear({0, y0}, {0, y1},
                  {{0, Hex(0xFAFBFC)}, {0.45f, Hex(0xD5D9DE)}, {0.55f, Hex(0xB9BEC4)}, {1, Hex(0xE2E5E8)}});
}

void KeyOut(Canvas& canvas, const Mask& shape, Rgba key) {
    Mask outside(canvas.Width(), canvas.Height());
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            outside.Row(y)[x] = shape.At(x, y) < 0.5f ? 1.0f : 0.0f;
        }
    }
    outside.SetAll();
    outside.Trim();
    canvas.Composite(outside, Solid(key));
}

} // namespace kavlo::skingen
