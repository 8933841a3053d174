#pragma once

#include <string_view>

#include "skingen/geometry.h"

namespace kavlo::sample {

// Capitals A-Z, digits and '/' as pen strokes on a 4 x 6 grid, scaled so that a capital is `height`
// pixels tall, starting at `origin` (top-left). Other characters leave a gap.
skingen::Path LetterPath(std::string_view text, skingen::Vec2 origin, double height, double stroke);
double LetterWidth(std::string_view text, double height);

} // namespace kavlo::sample
