#include "sampledisc/movie_writer.h"

#include <cstdint>
#include <vector>

namespace kavlo::sample {

namespace {

void Put32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
    }
}

void Put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

// A chunk: four-character code, little-endian size, data, a pad byte to an even size.
std::string Chunk(const char (&id)[5], const std::string& data) {
    std::string chunk(id, 4);
    Put32(chunk, static_cast<uint32_t>(data.size()));
    chunk += data;
    if (data.size() % 2 != 0) {
        chunk += '\0';
    }
    return chunk;
}

std::string List(const char (&type)[5], const std::string& body) {
    return Chunk("LIST", std::string(type, 4) + body);
}

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

    std::string avih;
    Put32(avih, 1000000 / kFramesPerSecond); // microseconds per frame
    Put32(avih, frame_size * kFramesPerSecond);
    Put32(avih, 0);    // padding granularity
    Put32(avih, 0x10); // AVIF_HASINDEX
    Put32(avih, static_cast<uint32_t>(frames));
    Put32(avih, 0); // initial frames
    Put32(avih, 1); // streams
    Put32(avih, frame_size);
    Put32(avih, static_cast<uint32_t>(width));
    Put32(avih, static_cast<uint32_t>(height));
    for (int i = 0; i < 4; ++i) {
        Put32(avih, 0);
    }

    std::string strh = "vidsDIB ";
    Put32(strh, 0); // flags
    Put16(strh, 0); // priority
    Put16(strh, 0); // language
    Put32(strh, 0); // initial frames
    Put32(strh, 1); // scale
    Put32(strh, kFramesPerSecond);
    Put32(strh, 0); // start
    Put32(strh, static_cast<uint32_t>(frames));
    Put32(strh, frame_size);
    Put32(strh, 0xFFFFFFFFu); // quality: the default
    Put32(strh, 0);           // sample size: varies by frame
    Put16(strh, 0);
    Put16(strh, 0);
    Put16(strh, static_cast<uint16_t>(width));
    Put16(strh, static_cast<uint16_t>(height));

    std::string strf; // BITMAPINFOHEADER, bottom-up rows, uncompressed
    Put32(strf, 40);
    Put32(strf, static_cast<uint32_t>(width));
    Put32(strf, static_cast<uint32_t>(height));
    Put16(strf, 1);
    Put16(strf, 24);
    Put32(strf, 0); // BI_RGB
    Put32(strf, frame_size);
    for (int i = 0; i < 4; ++i) {
        Put32(strf, 0);
    }

    std::string movi;
    std::string index;
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
        index += "00db";
        Put32(index, 0x10);                                   // AVIIF_KEYFRAME
        Put32(index, static_cast<uint32_t>(4 + movi.size())); // from the "movi" code
        Put32(index, frame_size);
        movi += Chunk("00db", pixels);
    }

    const std::string body =
        List("hdrl", Chunk("avih", avih) + List("strl", Chunk("strh", strh) + Chunk("strf", strf))) +
        List("movi", movi) + Chunk("idx1", index);
    std::string file = "RIFF";
    Put32(file, static_cast<uint32_t>(4 + body.size()));
    return file + "AVI " + body;
}

} // namespace kavlo::sample
