#pragma once

#include <functional>

#include "canvas.h"
#include "geometry.h"

namespace kavlo::skingen {

// Coverage of a path on a width x height grid: exact across each row, 16 samples down each pixel.
Mask Rasterize(const Path& path, int width, int height, FillRule rule = FillRule::NonZero);

// Coverage from a signed distance (negative inside), sampled at pixel centres: a one-pixel ramp.
Mask SdfMask(int width, int height, const std::function<double(double x, double y)>& distance);

} // namespace kavlo::skingen
