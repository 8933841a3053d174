#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

namespace kavlo::skingen {

// One picture of an image list with the drawing flags its stored record carries.
struct SkinImage {
    std::string name;
    Canvas picture;
    bool transparent = false;
    bool fixed_key = false; // TransparentMode tmFixed; tmAuto (key = bottom-left pixel) otherwise
    uint32_t key_rgb = 0;   // the fixed key, 0xRRGGBB
    bool masked = false;
    int scale = 100;

    int Width() const { return picture.Width(); }
    int Height() const { return picture.Height(); }
    // Pixels as the menu stores them: bottom row first, 0xAARRGGBB words; fully transparent pixels
    // of a keyed image carry the key colour, so a colour-key reader and an alpha reader agree.
    std::vector<uint32_t> StoredPixels() const;
};

inline constexpr int kImageList1Count = 131;
inline constexpr int kImageList2Count = 101;
inline constexpr int kControlsCount = 30;

// DIBImageList1: the skin, every index holding the picture its role needs.
std::vector<SkinImage> BuildImageList1();
// DIBImageList2: the gallery's placeholders, 1 x 1 each.
std::vector<SkinImage> BuildImageList2();
// ControlsImageList: 14 x 13 action buttons, index scheme x 15 + n.
std::vector<SkinImage> BuildControlsList();

} // namespace kavlo::skingen
