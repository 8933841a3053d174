#pragma once

#include <string>
#include <vector>

namespace kavlo::skingen {

// One file of the generator's output: `name` is the resource name the program embeds it under.
struct SkinFile {
    std::string name;
    std::string bytes;
};

struct SkinBuild {
    // TFORM1, BMP1 ... BMP4, the border clips AVI1 ... AVI10, the
    // extraction dialog's clips FILECOPY0 and FILECOPY1, and MASK and IMAGE4 (the frame's two bitmaps)
    std::vector<SkinFile> files;
    std::vector<std::string> notes; // images stored raw although packing was asked for
    std::string error;
    bool ok() const { return error.empty(); }
};

// Draws everything and encodes it as the program carries it.
SkinBuild BuildSkin();

} // namespace kavlo::skingen
