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

// One video stream of an AVI file: its size and timing, the codec's four-character code, the id of
// its frame chunks ("00dc" compressed, "00db" uncompressed) and the bitmap header's format fields. The
// palette follows the header and its length is the header's count of colours used.
struct AviVideo {
    int width = 0;
    int height = 0;
    uint32_t micro_sec_per_frame = 0;
    uint32_t rate = 0;
    uint32_t scale = 1;
    std::string handler;
    std::string chunk_id;
    uint32_t bit_count = 0;
    uint32_t compression = 0; // 0 BI_RGB, 1 BI_RLE8
    uint32_t image_size = 0;
    std::vector<uint32_t> palette; // 0xRRGGBB
};

struct AviFrame {
    std::string data; // as the stream's codec stores it
    bool key = false;
};

// A RIFF AVI file with one video stream: a main header, the stream's header and format, the frames as
// chunks and an idx1 index.
std::string WriteAvi(const AviVideo& video, const std::vector<AviFrame>& frames);

// The clip as an AVI file of one 'mrle' (BI_RLE8) stream with the palette. The first frame is whole (a
// key frame); each later one is coded against the frame before it. `micro_sec_per_frame` and `rate` /
// `scale` give the timing.
std::string WriteAviRle8(const IndexedClip& clip, uint32_t micro_sec_per_frame, uint32_t rate,
                         uint32_t scale);

} // namespace kavlo::skingen
