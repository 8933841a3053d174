#pragma once

#include <cmath>

#include "skin/controls/dib_image.h"
#include "skin/controls/plain_controls.h"
#include "skin/surface/skin_types.h"

namespace kavlo {

// Colours the window's own code gives its texts.
inline constexpr TColor kPanelTextColour = 2830895; // red 47, green 50, blue 43: the list rows' back colour
inline constexpr TColor kSilver = 0xC0C0C0;
inline constexpr TColor kBlack = 0;

// Shows image `index` of the control's image list; -1 hides the picture (and, for an arrow, disables it).
inline void SetImage(TDIBImage* image, int index) {
    image->IndexMain().SetDIBIndex(index);
}

inline bool Shows(const TDIBImage* image) {
    return image->IndexMain().DIBIndex() != -1;
}

// A plain picture takes a copy of entry `index` of an image list; outside the list it shows nothing.
inline void ShowListImage(TImage& image, const TImageList& list, int index) {
    const TMemoryDIB* entry = list.Image(index);
    Picture picture;
    if (entry != nullptr) {
        picture.width = entry->Width();
        picture.height = entry->Height();
        picture.pixels.assign(entry->Bits(), entry->Bits() + entry->PixelCount());
    }
    image.SetPicture(std::move(picture));
}

// Delphi's Round: halves go to the even neighbour.
inline int RoundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

} // namespace kavlo
