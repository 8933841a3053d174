#pragma once

#include "skin/surface/skin_types.h"

namespace kavlo {

class TAbstractSuperDIB;

struct Extent {
    int width = 0;
    int height = 0;
    bool operator==(const Extent&) const = default;
};

// The bounding size of a width x height image scaled by scale_x/scale_y percent and turned by
// angle_deg degrees: |w·sx·cos| + |h·sy·sin| by |w·sx·sin| + |h·sy·cos| (scales as fractions), each
// rounded to the nearest integer, halves away from zero. Non-finite results give 0 x 0.
Extent TransformedSize(int width, int height, int angle_deg, long double scale_x, long double scale_y);

// Draws `src_rect` of `src` turned by its Angle (positive = counter-clockwise on screen) and scaled by
// its Scale, the bounding box's top-left corner at (x, y) of `dest`. The image goes through a
// temporary surface with the source's Masked, Opacity and Transparent settings and the source's key
// fixed, then is drawn with that surface's routine. Nearest-neighbour sampling by inverse mapping of
// each pixel centre; pixels that map outside the source are not drawn. Only the part of the bounding
// box inside `dest` is rendered, so no scale can make the temporary surface larger than `dest`.
void DrawTransformed(const TAbstractSuperDIB& src, TAbstractSuperDIB& dest, int x, int y,
                     const Rect& src_rect);

} // namespace kavlo
