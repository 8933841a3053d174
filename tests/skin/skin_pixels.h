#pragma once

#include <cstdint>

#include "skin/surface/dib.h"

namespace kavlo::test {

// A surface of one colour.
inline TMemoryDIB Solid(int width, int height, uint32_t argb) {
    TMemoryDIB dib(static_cast<uint16_t>(width), static_cast<uint16_t>(height));
    dib.Fill(argb);
    return dib;
}

// One colour channel of the blend: ((src * a + dst * (255 - a)) >> 8) + 1.
constexpr uint32_t BlendOf(uint32_t src, uint32_t dst, uint32_t a) {
    return ((src * a + dst * (255 - a)) >> 8) + 1;
}
// A pixel blended channel by channel, the source's alpha kept.
constexpr uint32_t BlendedPixel(uint32_t src, uint32_t dst, uint32_t a) {
    return (src & 0xFF000000u) | (BlendOf((src >> 16) & 0xFF, (dst >> 16) & 0xFF, a) << 16) |
           (BlendOf((src >> 8) & 0xFF, (dst >> 8) & 0xFF, a) << 8) | BlendOf(src & 0xFF, dst & 0xFF, a);
}

} // namespace kavlo::test
