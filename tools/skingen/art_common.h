#pragma once

#include "canvas.h"
#include "effects.h"
#include "layout.h"
#include "noise.h"
#include "raster.h"
#include "theme.h"

namespace kavlo::skingen {

inline Mask ShapeMask(const Canvas& canvas, const Path& path, FillRule rule = FillRule::NonZero) {
    return Rasterize(path, canvas.Width(), canvas.Height(), rule);
}
inline Path BoxPath(const Box& b, double radius = 0, double grow = 0) {
    return RoundRect(b.x - grow, b.y - grow, b.w + 2 * grow, b.h + 2 * grow, radius);
}
inline Paint Vertical(double y0, double y1, Rgba top, Rgba bottom) {
    return Linear({0, y0}, {0, y1}, {{0, top}, {1, bottom}});
}

// Dark graphite brushed along x.
Paint ChassisPaint(int height, uint64_t seed);
// Light aluminium brushed along y whose colour depends on x alone.
Paint PanelPaint(const Box& panel, uint64_t seed);

// A recess: fill, the shadow its upper rim casts inside, a dark upper-left and light lower-right rim.
void SunkPanel(Canvas& canvas, const Mask& shape, const Paint& fill, float depth = 1);
// A raised plate: a soft shadow below it, its fill, a light upper-left and dark lower-right rim.
void RaisedPlate(Canvas& canvas, const Mask& shape, const Paint& fill, float height = 1);
// Light metal for pictograms: a cool silver gradient with a bright upper edge.
Paint SilverPaint(double y0, double y1);

// Pixels whose coverage is below one half become `key`, the rest keep their colour: a colour-key
// image has no place for partial pixels.
void KeyOut(Canvas& canvas, const Mask& shape, Rgba key);

} // namespace kavlo::skingen
