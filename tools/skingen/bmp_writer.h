#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

namespace kavlo::skingen {

// A picture of at most 256 colours: a palette and one index per pixel, rows from the top.
struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> palette; // 0xRRGGBB
    std::vector<uint8_t> indexes;
};

// Windows bitmap files (BITMAPFILEHEADER + BITMAPINFOHEADER, rows bottom-up, padded to 4 bytes).
std::string Bmp24(const Canvas& canvas);
std::string Bmp8(const IndexedPicture& picture);
// One bit a pixel: `set` pixels take colour 1 of the two-entry palette.
std::string Bmp1(int width, int height, const std::vector<bool>& set, uint32_t colour0, uint32_t colour1);

// Reduces an opaque canvas to at most `colours` colours: a median cut of its colours, then each
// pixel mapped to the nearest palette entry through a 4 x 4 ordered dither that hides the steps of
// the gradients. The result depends on the pixels alone.
IndexedPicture Quantise(const Canvas& canvas, int colours = 256);

} // namespace kavlo::skingen
