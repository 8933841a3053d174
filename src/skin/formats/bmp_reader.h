#pragma once

#include <string_view>

#include "skin/formats/picture.h"

namespace kavlo {

// Decodes a Windows bitmap file: 1, 4, 8, 16, 24 and 32 bits a pixel; uncompressed, RLE8, RLE4 and
// bit fields; bottom-up or top-down rows; core (OS/2) and info headers of every version. Every size
// and offset is checked against the data before it is used; the pixels are taken from `budget`, when
// given, before they are allocated.
PictureResult ReadBmp(std::string_view bytes, PixelBudget* budget = nullptr);

} // namespace kavlo
