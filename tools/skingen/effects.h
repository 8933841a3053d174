#pragma once

#include "canvas.h"

namespace kavlo::skingen {

// Gaussian blur of a coverage mask with standard deviation `sigma` pixels.
Mask Blur(const Mask& mask, float sigma);
// The mask moved by (dx, dy) pixels, fractions shared between neighbours.
Mask Shifted(const Mask& mask, float dx, float dy);
Mask Multiply(const Mask& a, const Mask& b);
// a where b is not: a x (1 - b).
Mask Subtract(const Mask& a, const Mask& b);
Mask Union(const Mask& a, const Mask& b);
Mask Inverted(const Mask& a);
Mask Scaled(const Mask& a, float k);

// The band of the shape that its own copy, shifted by (dx, dy), no longer covers: the rim on the
// side facing away from the shift.
Mask EdgeBand(const Mask& shape, float dx, float dy);

// A shadow cast by the shape onto what lies below it.
void DropShadow(Canvas& canvas, const Mask& shape, float dx, float dy, float sigma, Rgba colour);
// The shadow that the rim of a recess casts inside the shape.
void InnerShadow(Canvas& canvas, const Mask& shape, float dx, float dy, float sigma, Rgba colour);
// Light spilling out of (and over) the shape.
void Glow(Canvas& canvas, const Mask& shape, float sigma, Rgba colour, float strength = 1);
// Thin bevel: light on the upper-left rim, dark on the lower-right; raised, or sunk when `sunk`.
void Bevel(Canvas& canvas, const Mask& shape, float width, Rgba light, Rgba dark, bool sunk = false);

} // namespace kavlo::skingen
