#pragma once

#include "canvas.h"
#include "layout.h"
#include "theme.h"

namespace kavlo::skingen {

// The content area behind every control, 638 x 482: framed (inside the border panel) or simple
// (the whole window, with its own rim).
Canvas DrawBackground(const Theme& theme, bool framed);

// Places of the corner buttons (exit, settings, scheme) and of the scroll-arrow sockets.
Vec2 CornerButtonCentre(int n);
Box ArrowSocket(const Box& arrow);

// The dim symbol of corner button n (0 exit, 1 settings, 2 scheme) as a mask of a canvas of the given
// size, drawn relative to `origin` (the content area's origin on that canvas).
Mask CornerSymbol(int n, int width, int height, Vec2 origin);

} // namespace kavlo::skingen
