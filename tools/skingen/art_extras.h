#pragma once

#include "canvas.h"
#include "theme.h"

namespace kavlo::skingen {

// The colour key of the picture frame (TransparentColor of image 78) and of its interior pixels.
inline constexpr uint32_t kFrameKey = 0xFF00FF;
// The colour of the gallery arrows' cut-away corners: their bottom-left pixel holds it.
inline constexpr uint32_t kArrowKey = 0xFF00FF;
inline constexpr uint32_t kWhiteKey = 0xFFFFFF;

// Gallery arrows, 44 x 72, pointing right or left, on the key colour.
Canvas GalleryArrow(bool right);
// The frame laid over the enlarged picture, 638 x 482: opaque bezel, a soft shadow falling onto the
// picture, and a clear middle (alpha 0, key colour).
Canvas PictureFrame(const Theme& theme);
// The "new" badge.
Canvas NewBadge();
// The partner button 110 x 24 on white, which the fixed white key cuts away.
Canvas SponsorButton();
// Image1's picture, 25 x 17 at (584, 0) on the upper cover: a small house, the magazine's home page.
Canvas HomeButton(const Canvas& background);
// A small plain plate for the list's spare entries.
Canvas SparePlate(int size);

} // namespace kavlo::skingen
