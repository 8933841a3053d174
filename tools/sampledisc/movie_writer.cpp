#include "sampledisc/movie_writer.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "skingen/avi_writer.h"

namespace kavlo::sample {

namespace {

// The colour of a title, the same on every run (FNV-1a spread over three channels).
uint32_t ColourOf(std::string_view title) {
    uint32_t hash = 2166136261u;
    for (char c : title) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return hash | 0x404040u; // never too dark to see
}

} // namespace

std::string TinyAvi(std::string_view title, int width, int height, int frames) {
    const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u; // DIB rows end on 4 bytes
    const uint32_t frame_size = stride * static_cast<uint32_t>(height);
    const uint32_t colour = ColourOf(title);
    constexpr uint32_t kFramesPerSecond = 8;

    skingen::AviVideo video;
    video.width = width;
    video.height = height;
    video.micro_sec_per_frame = 1000000 / kFramesPerSecond;
    video.rate = kFramesPerSecond;
    video.handler = "DIB ";
    video.chunk_id = "00db";
    video.bit_count = 24; // BI_RGB, bottom-up rows
    video.image_size = frame_size;

    std::vector<skingen::AviFrame> movie;
    for (int f = 0; f < frames; ++f) {
        std::string pixels(frame_size, '\0');
        const int band = f * width / frames;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool lit = x >= band && x < band + width / 4;
                const uint32_t px = lit ? colour : 0x202428u;
                const size_t at = static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3;
                pixels[at] = static_cast<char>(px & 0xFF); // blue, green, red
                pixels[at + 1] = static_cast<char>((px >> 8) & 0xFF);
                pixels[at + 2] = static_cast<char>((px >> 16) & 0xFF);
            }
        }
        movie.push_back({std::move(pixels), true}); // every frame whole
    }
    return skingen::WriteAvi(video, movie);
}

} // namespace kavlo::sample
