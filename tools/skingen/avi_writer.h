#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kavlo::skingen {

// A silent 8-bit clip: one palette for every frame, each frame width x height palette indexes with the
// rows from the top.
struct IndexedClip {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> palette; // 0xRRGGBB, at most 256
    std::vector<std::vector<uint8_t>> frames;
};

// One frame in RLE8 (rows bottom-up, as the bitmap stores them). With a previous frame, the pixels it
// shares with that frame are skipped by delta escapes and the decoder keeps them; without one, every
// pixel is written.
std::string EncodeRle8(const std::vector<uint8_t>& frame, const std::vector<uint8_t>* previous, int width,
                       int height);

// The clip as a RIFF AVI file: a main header, one video stream ('vids', 'mrle', BI_RLE8 with the
// palette), the frames as '00dc' chunks and an idx1 index. The first frame is whole (a key frame);
// each later one is coded against the frame before it. `micro_sec_per_frame` and `rate` / `scale` give
// the timing.
std::string WriteAviRle8(const IndexedClip& clip, uint32_t micro_sec_per_frame, uint32_t rate,
                         uint32_t scale);

} // namespace kavlo::skingen
