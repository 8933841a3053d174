#pragma once

#include <string>
#include <vector>

#include "avi_writer.h"
#include "bmp_writer.h"

namespace kavlo::skingen {

// Every border clip lasts one second: 15 frames of 66 667 microseconds.
inline constexpr int kClipFrames = 15;
inline constexpr uint32_t kClipMicroSecPerFrame = 66667;

// A clip of the border: its resource name and the animation window it plays in (an index into
// layout::kClipWindows, so window 0 is Animate1).
struct BorderClip {
    std::string name;
    size_t window = 0;
    IndexedClip clip;
};

// The frame's picture in 256 colours and the ten clips "AVI1" ... "AVI10" (in that order) in the same
// colours. The first and last frame of each clip are the picture at the clip's window, index for index,
// so a clip at rest cannot be told from the frame; between them the glass of the window lights up in a
// pale green, differently in each window. The palette is cut from the frame and the lit glass together,
// so it holds the greens of the light as well as the metal's greys.
struct BorderPictures {
    IndexedPicture frame;
    std::vector<BorderClip> clips;
};
BorderPictures DrawBorderPictures(const Canvas& frame);

} // namespace kavlo::skingen
