#pragma once

#include "canvas.h"
#include "pictograms.h"
#include "theme.h"

namespace kavlo::skingen {

// The small images that sit on the content area. Opaque ones take `background` (the scheme's framed
// background) as their backdrop at the place the form puts them.

// The bar behind the current row, 135 x 28.
Canvas HighlightBar(const Canvas& background, const Theme& theme);
// The quick-run button beside a row, 16 x 28.
Canvas QuickRunButton(const Canvas& background, const Theme& theme, bool lit);
// The settings page's switch in the quick-run button's place, 16 x 28.
Canvas SettingsSwitch(const Canvas& background, const Theme& theme, bool on, bool lit);
// Scroll arrows 18 x 11 for the list and the icon column.
Canvas ScrollArrow(const Canvas& background, const Theme& theme, bool up, bool lit);
// The pointer-tracking arrows in the detail panel's rails: upper 10 x 18, lower 10 x 17.
Canvas TrackingArrow(const Canvas& background, const Theme& theme, bool upper);

enum class Flag { Playable, Unplayable, Czech, ThreeD, Network, Empty };
// A 32 x 32 badge of the detail panel.
Canvas FlagBadge(const Canvas& background, const Theme& theme, Flag flag);
// The lit indicator of corner button n (0 exit, 1 settings, 2 scheme), 12 x 12.
Canvas CornerIndicator(const Canvas& background, const Theme& theme, int n);
// One image of the 14 x 13 action-button list: `kind` Document, Globe, Play or Cross, or a blank
// piece of the panel when `blank`.
Canvas ActionButton(const Canvas& background, const Theme& theme, Pictogram kind, bool lit, bool blank);

} // namespace kavlo::skingen
