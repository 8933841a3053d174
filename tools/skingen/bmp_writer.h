#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
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

// The parts of Quantise, for pictures that share a palette: a median cut of the colours (0xRRGGBB, one
// per pixel, so that common colours weigh more) to at most `colours` entries ...
std::vector<uint32_t> MedianCutPalette(const std::vector<uint32_t>& rgb, int colours);

// ... and the dithered mapping of a pixel at (x, y) to its nearest entry.
class PaletteMapper {
public:
    explicit PaletteMapper(std::vector<uint32_t> palette) : palette_(std::move(palette)) {}
    uint8_t Map(uint32_t rgb, int x, int y);

private:
    std::vector<uint32_t> palette_;
    std::unordered_map<uint32_t, uint8_t> nearest_;
};

// 0xRRGGBB of an opaque colour, rounded as the bitmaps store it.
uint32_t RgbOf(const Rgba& c);

} // namespace kavlo::skingen
