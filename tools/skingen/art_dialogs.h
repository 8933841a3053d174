#pragma once

#include "canvas.h"
#include "theme.h"

namespace kavlo::skingen {

// Background of the target-directory dialog, 323 x 199 (BMP1 scheme 0, BMP2 scheme 1).
Canvas TargetDialogBackground(const Theme& theme);
// Background of the extraction dialog, 426 x 166 (BMP3 scheme 0, BMP4 scheme 1): its caption lines
// are silver in scheme 0 and black in scheme 1, so the plate behind them turns light in scheme 1.
Canvas ExtractDialogBackground(const Theme& theme);
// The colour of that plate at dialog column x before its brushing: darker away from the middle.
Rgba ExtractPlateColour(const Theme& theme, double x);

} // namespace kavlo::skingen
