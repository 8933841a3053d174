#pragma once

#include <cstdint>
#include <vector>

#include "ui/geometry.h"

struct SDL_Window;

// Kept apart from the backend: Xlib's macros (None, Bool, Status) collide with ordinary C++ names.
namespace kavlo {

// The X window behind an SDL window; 0 where the video driver is not X11.
uintptr_t X11WindowOf(SDL_Window* window);

// Gives the SDL window's X window this outline, the union of the client rectangles (none: rectangular),
// and returns that X window; 0 where the video driver is not X11 and the window stays rectangular.
uintptr_t SetX11Shape(SDL_Window* window, const std::vector<ScreenRect>& shape);

} // namespace kavlo
