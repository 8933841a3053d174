#pragma once

#include <string_view>

#include "skin/formats/picture.h"

namespace kavlo {

// Decodes a JPEG picture with libjpeg. Bad or truncated data gives an error, never a partial picture. The
// pixels are taken from `budget`, when given, before they are allocated.
PictureResult ReadJpeg(std::string_view bytes, PixelBudget* budget = nullptr);

} // namespace kavlo
