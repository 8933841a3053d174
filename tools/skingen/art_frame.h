#pragma once

#include <vector>

#include "canvas.h"

namespace kavlo::skingen {

// The border panel's skin picture (818 x 741) and its outline.
struct FrameArt {
    Canvas picture;            // opaque; black outside the outline
    std::vector<bool> outside; // width x height, rows from the top: true where the outline cuts away
};

FrameArt DrawFrame();

// Signed distance to the frame's outline (negative inside), in window pixels.
double FrameOutlineDistance(double x, double y);

} // namespace kavlo::skingen
