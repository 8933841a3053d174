#pragma once

#include "canvas.h"
#include "geometry.h"

namespace kavlo::skingen {

// The section pictograms, designed on a 50 x 50 grid around (25, 25) and placed on a canvas of
// width x height through `place` (design grid to canvas).
enum class Pictogram {
    Gamepad,   // demos
    Toolbox,   // shareware, full games, service
    Star,      // extra
    Updates,   // circular arrow with a patch
    Chip,      // drivers
    HardDisk,  // installed, with a tick
    GameBox,   // the spare section
    Camera,    // shots
    Pen,       // readers
    FilmStrip, // movies
    Globe,     // partner page
    Puzzle,    // add-ons
    Document,  // readme
    Play,
    Stop,
    Cross, // uninstall
};

Mask DrawPictogram(Pictogram kind, int width, int height, const Affine& place);

} // namespace kavlo::skingen
