#pragma once

#include "canvas.h"

namespace kavlo::skingen {

// The colours of one colour scheme. Both schemes share every neutral colour; only the accent and
// the places whose text turns from silver to black (icon captions, the current row, the extraction
// dialog's lines) take the scheme's own tones.
struct Theme {
    int scheme = 0;
    Rgba glow;     // the bright accent: lit edges, LEDs, glows
    Rgba deep;     // the dark accent: glass and fills behind lit parts
    Rgba well_mid; // icon column: silver captions on dark in scheme 0, black on light in scheme 1
    Rgba well_edge;
    Rgba bar_top; // the current row's bar: silver text in scheme 0, black in scheme 1
    Rgba bar_bottom;
    Rgba caption_plate; // extraction dialog's caption area, likewise
};

Theme SchemeTheme(int scheme);

// Neutral colours of the look.
namespace ink {
inline const Rgba kChassisTop = Hex(0x35383C);
inline const Rgba kChassisBottom = Hex(0x212326);
inline const Rgba kChassisEdge = Hex(0x141517);
inline const Rgba kPanelMid = Hex(0xC8CCD0); // light brushed aluminium behind black text
inline const Rgba kPanelEdge = Hex(0xB3B8BD);
inline const Rgba kGlass = Hex(0x101214);    // screens and slots
inline const Rgba kPlateTop = Hex(0x4A4E53); // raised graphite plates
inline const Rgba kPlateBottom = Hex(0x2A2D31);
inline const Rgba kSilver = Hex(0xE4E7EA);
inline const Rgba kSilverDark = Hex(0x8E949A);
inline const Rgba kHighlight = Hex(0xFFFFFF, 0.55f);
inline const Rgba kShadow = Hex(0x000000, 0.6f);
inline const Rgba kSocket = Hex(0x25282B); // the flat face around the scroll arrows
} // namespace ink

} // namespace kavlo::skingen
