#pragma once

#include <string_view>

#include "canvas.h"
#include "geometry.h"

namespace kavlo::skingen {

// Small symbols shared by the background and the images drawn on top of it, as coverage masks of a
// width x height canvas, centred at `c` within radius `r`.
Mask PowerGlyph(int width, int height, Vec2 c, double r);
Mask GearGlyph(int width, int height, Vec2 c, double r);
Mask MoonGlyph(int width, int height, Vec2 c, double r);

// A chevron pointing along `degrees` (0 = right, 90 = down), its tip `r` from the centre.
Path Chevron(Vec2 c, double r, double degrees, double width);
// A solid triangle pointing along `degrees`, its tip `r` from the centre.
Path Triangle(Vec2 c, double r, double degrees);

// Capital letters, digits and a few signs as strokes on a 4 x 6 grid, scaled so that a capital is
// `height` pixels tall, starting at `origin` (top-left); no host font is read.
Path TextPath(std::string_view text, Vec2 origin, double height, double stroke);
double TextWidth(std::string_view text, double height);

} // namespace kavlo::skingen
