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

// Glass set into an animation window of the frame: a pipe (a rounded bar) or a lens in a raised bezel,
// shaded from `centre` out to `reach` (a lens's radius). The window's clip lights it up.
struct FrameGlass {
    Path shape;
    Vec2 centre;
    double reach = 0;
    bool lens = false;
};

// The glass of window `window` (an index into layout::kClipWindows), kept clear of the window's edges
// so that a clip made from the frame's picture plays without a seam.
std::vector<FrameGlass> ClipWindowGlass(size_t window);

// Signed distance to the frame's outline (negative inside), in window pixels.
double FrameOutlineDistance(double x, double y);

} // namespace kavlo::skingen
