#pragma once

#include <cstdint>
#include <string>

#include "avi_writer.h"
#include "layout.h"

namespace kavlo::skingen {

// The extraction dialog's file-copy clip: sheets of paper rising out of one folder and sinking into
// the other, one set of colours per colour scheme. It loops: a sheet leaves every half period and each
// flight lasts a whole one, so the last frame leads back into the first.
inline constexpr int kCopyFrames = 20;
inline constexpr uint32_t kCopyMicroSecPerFrame = 66667; // 15 frames a second
// Where the clip plays in the 426 x 166 dialog: between the third caption line and the percentage.
inline constexpr Box kCopyClipBox{73, 66, 280, 52};
// Palette index 0 is this colour and nothing else: the clip's background, left out when it plays.
inline constexpr uint32_t kCopyKey = 0xFF00FF;

// "FILECOPY0" for colour scheme 0 (the dialog on BMP3), "FILECOPY1" for scheme 1 (BMP4).
std::string CopyClipName(int scheme);
IndexedClip DrawCopyClip(int scheme);

} // namespace kavlo::skingen
