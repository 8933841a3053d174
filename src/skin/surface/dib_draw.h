#pragma once

#include <cstdint>
#include <optional>

#include "skin/surface/skin_types.h"

namespace kavlo {

// The six ways a surface is put onto another one. Chosen once whenever Opacity, Masked or Transparent
// change, never per pixel.
enum class DrawRoutine : uint8_t {
    PlainCopy,     // opacity 255: the source pixels as they are
    KeyCopy,       // opacity 255, Transparent: non-key pixels with the alpha byte cleared
    AlphaCopy,     // opacity 255, Masked: blend by each source pixel's alpha
    ConstantBlend, // opacity < 255: blend by Opacity
    KeyBlend,      // opacity < 255, Transparent: non-key pixels blended by Opacity
    AlphaBlend,    // opacity < 255, Masked: blend by (alpha * Opacity) >> 8
};

// Masked wins over Transparent: a masked image's key colour pixels are still covered by their alpha.
DrawRoutine ChooseDrawRoutine(uint8_t opacity, bool masked, bool transparent);

// What a row routine needs besides the pixels. `key` is a colour in pixel layout (0x00RRGGBB).
struct DrawParams {
    uint8_t opacity = 255;
    uint32_t key = 0;
};

// One row: `count` source pixels onto `count` destination pixels. Pixels are 0xAARRGGBB words
// (bytes blue, green, red, alpha in memory).
using RowRoutine = void (*)(const uint32_t* src, uint32_t* dst, int count, const DrawParams& params);

// The fastest version this processor runs.
RowRoutine RowRoutineFor(DrawRoutine routine);
// The version every processor runs; the wider ones that some processors have give the same bits.
RowRoutine NarrowRowRoutineFor(DrawRoutine routine);

// One colour channel: ((src * a + dst * (255 - a)) >> 8) + 1 in 16-bit unsigned arithmetic. The
// sum never exceeds 255 * 255, so the result is 1...255: a = 255 turns 0 into 1 and keeps 255, a = 0
// keeps every destination channel except 0, which becomes 1.
inline uint8_t BlendChannel(uint8_t src, uint8_t dst, uint8_t a) {
    const auto weighted = static_cast<uint16_t>(src * a + dst * (255 - a));
    return static_cast<uint8_t>(static_cast<uint16_t>((weighted >> 8) + 1));
}

// Blue, green and red blended by `a`; the alpha byte is the source's. Inline and branch-free so that
// the row loops compile to straight-line (vectorisable) code: blue and red share one 32-bit multiply
// in two 16-bit lanes, green takes another. Each lane's sum stays below 65536, so no lane carries into
// the next and every channel matches BlendChannel exactly.
inline uint32_t BlendPixel(uint32_t src, uint32_t dst, uint8_t alpha) {
    const uint32_t a = alpha;
    const uint32_t inverse = 255 - a;
    const uint32_t red_blue = (src & 0x00FF00FFu) * a + (dst & 0x00FF00FFu) * inverse;
    const uint32_t green = (src & 0x0000FF00u) * a + (dst & 0x0000FF00u) * inverse;
    return (src & 0xFF000000u) | (((red_blue >> 8) & 0x00FF00FFu) + 0x00010001u) |
           (((green >> 8) & 0x0000FF00u) + 0x00000100u);
}

// A row blended onto itself, at any opacity below 255: by the formula every channel keeps its value
// except 0, which becomes 1, and the alpha byte stays. Pixels that do not change are not written.
void BlendOntoItself(uint32_t* row, int count);
void NarrowBlendOntoItself(uint32_t* row, int count);

// Text ink: each pixel takes `color_rgb` (0x00RRGGBB) weighted by its coverage byte out of 255,
// rounded, so that 0 and 255 give the background and the colour exactly; the alpha byte stays.
void CoverRow(uint32_t* row, const uint8_t* coverage, int count, uint32_t color_rgb);

// value / 255 by a multiply and a shift, exact for every value below 66299 (enough for a weighted sum
// of two channels plus rounding, at most 65152), for loops that run per pixel and channel.
inline uint32_t DivideBy255(uint32_t value) {
    return (value * 0x8081u) >> 23;
}

// Pixels stored bottom-up, `width` to a row, as a surface keeps them.
struct DibRows {
    uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
};
struct ConstDibRows {
    const uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
};

// The source rectangle and destination position left after clipping; both rectangles are in
// top-down coordinates of their own surface.
struct ClippedDraw {
    Rect src;
    int dst_x = 0;
    int dst_y = 0;
};

// Clips a draw of `src_rect` of a src_width x src_height surface to (x, y) on a dst_width x dst_height
// surface. No value when nothing is left (clipped width or height below 1).
std::optional<ClippedDraw> ClipDraw(int src_width, int src_height, const Rect& src_rect, int dst_width,
                                    int dst_height, int x, int y);

// Runs `routine` over every row of an already clipped draw.
void DrawClipped(RowRoutine routine, const DrawParams& params, ConstDibRows src, DibRows dst,
                 const ClippedDraw& clip);

} // namespace kavlo
