#pragma once

#include <string>

#include "skin/formats/form_stream.h"

namespace kavlo::skingen {

// What the main window's form carries besides its layout, already encoded.
struct FormParts {
    FormProperties image_list1;  // the DIBImages collection of DIBImageList1
    FormProperties image_list2;  // the same for DIBImageList2
    std::string controls_bitmap; // ControlsImageList.Bitmap: the image-list stream
    std::string frame_picture;   // Image4.Picture.Data
    std::string image1_picture;  // Image1.Picture.Data
    std::string shaper_bitmap;   // DIBFormShaper1.Bitmap.Data
    std::string compressor_id;   // DIBSettings1.DIBCompressor, the identifier as text
};

// TForm1 with every component at its designed place, size, font, colour, caption, tag, opacity and
// visibility, the timers, the image lists, the shaper and the event wiring.
FormObject BuildForm1(FormParts parts);

} // namespace kavlo::skingen
