#pragma once

#include <cstdint>
#include <string_view>

#include "skingen/canvas.h"
#include "skingen/pictograms.h"

namespace kavlo::sample {

// What stands in the middle of a picture: a shape that suggests the item's subject.
enum class Motif {
    Car,
    Biplane,
    PaperPlane,
    Ship,
    Submarine,
    Train,
    Lighthouse,
    Castle,
    Skyline,
    Factory,
    Planet,
    Marbles,
    Gem,
    Flame,
    Moth,
    Horseshoe,
    Crown,
    Pawn,
    Reeds,
    Wave,
    Gears,
    Emblem, // a pictogram of the skin on a program window, for software
};

// What lies below the horizon.
enum class Ground { Hills, Dunes, Water, Floor, Space, Desk };

// 0xRRGGBB colours of one picture.
struct Palette {
    uint32_t sky_top = 0;
    uint32_t sky_bottom = 0;
    uint32_t far = 0;   // distant hills, shore, grid lines
    uint32_t near = 0;  // the ground in front
    uint32_t body = 0;  // the motif
    uint32_t light = 0; // sun or moon, lamps, windows, the titles
};

struct SceneLook {
    Motif motif = Motif::Car;
    Ground ground = Ground::Hills;
    Palette colours;
    skingen::Pictogram emblem = skingen::Pictogram::Gamepad; // for Motif::Emblem
};

// A stylised screenshot of a game: sky, ground, the motif and a corner plate with the title's
// initials. Shot 0 is the small picture; shots 1, 2, ... vary the view for a gallery and carry their
// number out of `shots` in a corner. `seed` keeps every picture's terrain and stars its own.
skingen::Canvas DrawScene(const SceneLook& look, std::string_view initials, int width, int height, int shot,
                          int shots, uint64_t seed);

// Draws the motif with its ground line at `base`, `size` pixels tall, onto the canvas.
void DrawMotif(skingen::Canvas& canvas, const SceneLook& look, skingen::Vec2 base, double size,
               uint64_t seed);

} // namespace kavlo::sample
