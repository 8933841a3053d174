#pragma once

#include "canvas.h"
#include "pictograms.h"
#include "theme.h"

namespace kavlo::skingen {

// A section icon the size of `backdrop` (the column behind the icon): the pictogram centred on a
// rounded graphite plate; `lit` is the pressed/hover look, the pictogram lit by the accent.
Canvas SectionIcon(const Canvas& backdrop, const Theme& theme, Pictogram kind, bool lit);

// A round action button of the given size on a neutral backdrop (the large stop/play/web/readme set).
Canvas LargeButton(int size, const Theme& theme, Pictogram kind, bool lit);

// Lays `glyph` on the canvas in silver (at rest) or lit by the accent.
void PaintGlyph(Canvas& canvas, const Mask& glyph, const Theme& theme, bool lit, float glow_sigma);

} // namespace kavlo::skingen
