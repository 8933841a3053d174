#include "skin/dib_draw.h"

#include <algorithm>
#include <cstring>

namespace kavlo {

namespace {

constexpr uint32_t kColourBits = 0x00FFFFFFu;
constexpr uint32_t kAlphaBits = 0xFF000000u;

uint8_t Alpha(uint32_t pixel) {
    return static_cast<uint8_t>(pixel >> 24);
}

void PlainCopyRow(const uint32_t* src, uint32_t* dst, int count, const DrawParams&) {
    std::memmove(dst, src, static_cast<size_t>(count) * sizeof(uint32_t));
}

void KeyCopyRow(const uint32_t* src, uint32_t* dst, int count, const DrawParams& params) {
    for (int i = 0; i < count; ++i) {
        const uint32_t colour = src[i] & kColourBits;
        if (colour != params.key) {
            dst[i] = colour;
        }
    }
}

void AlphaCopyRow(const uint32_t* src, uint32_t* dst, int count, const DrawParams&) {
    for (int i = 0; i < count; ++i) {
        dst[i] = BlendPixel(src[i], dst[i], Alpha(src[i]));
    }
}

void ConstantBlendRow(const uint32_t* src, uint32_t* dst, int count, const DrawParams& params) {
    for (int i = 0; i < count; ++i) {
        dst[i] = BlendPixel(src[i], dst[i], params.opacity);
    }
}

void KeyBlendRow(const uint32_t* src, uint32_t* dst, int count, const DrawParams& params) {
    for (int i = 0; i < count; ++i) {
        if ((src[i] & kColourBits) != params.key) {
            dst[i] = BlendPixel(src[i], dst[i], params.opacity);
        }
    }
}

void AlphaBlendRow(const uint32_t* src, uint32_t* dst, int count, const DrawParams& params) {
    for (int i = 0; i < count; ++i) {
        const auto a = static_cast<uint8_t>((Alpha(src[i]) * params.opacity) >> 8);
        dst[i] = BlendPixel(src[i], dst[i], a);
    }
}

} // namespace

DrawRoutine ChooseDrawRoutine(uint8_t opacity, bool masked, bool transparent) {
    if (opacity == 255) {
        if (masked) {
            return DrawRoutine::AlphaCopy;
        }
        return transparent ? DrawRoutine::KeyCopy : DrawRoutine::PlainCopy;
    }
    if (masked) {
        return DrawRoutine::AlphaBlend;
    }
    return transparent ? DrawRoutine::KeyBlend : DrawRoutine::ConstantBlend;
}

RowRoutine RowRoutineFor(DrawRoutine routine) {
    switch (routine) {
        case DrawRoutine::PlainCopy:
            return PlainCopyRow;
        case DrawRoutine::KeyCopy:
            return KeyCopyRow;
        case DrawRoutine::AlphaCopy:
            return AlphaCopyRow;
        case DrawRoutine::ConstantBlend:
            return ConstantBlendRow;
        case DrawRoutine::KeyBlend:
            return KeyBlendRow;
        case DrawRoutine::AlphaBlend:
            return AlphaBlendRow;
    }
    return PlainCopyRow;
}

uint8_t BlendChannel(uint8_t src, uint8_t dst, uint8_t a) {
    const auto weighted = static_cast<uint16_t>(src * a + dst * (255 - a));
    return static_cast<uint8_t>(static_cast<uint16_t>((weighted >> 8) + 1));
}

uint32_t BlendPixel(uint32_t src, uint32_t dst, uint8_t a) {
    uint32_t result = src & kAlphaBits;
    for (int shift = 0; shift < 24; shift += 8) {
        const auto s = static_cast<uint8_t>(src >> shift);
        const auto d = static_cast<uint8_t>(dst >> shift);
        result |= static_cast<uint32_t>(BlendChannel(s, d, a)) << shift;
    }
    return result;
}

std::optional<ClippedDraw> ClipDraw(int src_width, int src_height, const Rect& src_rect, int dst_width,
                                    int dst_height, int x, int y) {
    // 64-bit so that far-away positions cannot wrap around into the surface.
    int64_t left = std::max<int64_t>(src_rect.left, 0);
    int64_t top = std::max<int64_t>(src_rect.top, 0);
    int64_t right = std::min<int64_t>(src_rect.right, src_width);
    int64_t bottom = std::min<int64_t>(src_rect.bottom, src_height);
    int64_t dst_x = int64_t{x} + (left - src_rect.left);
    int64_t dst_y = int64_t{y} + (top - src_rect.top);
    if (dst_x < 0) {
        left -= dst_x;
        dst_x = 0;
    }
    if (dst_y < 0) {
        top -= dst_y;
        dst_y = 0;
    }
    right = std::min(right, left + (dst_width - dst_x));
    bottom = std::min(bottom, top + (dst_height - dst_y));
    if (right - left < 1 || bottom - top < 1) {
        return std::nullopt;
    }
    return ClippedDraw{Rect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                            static_cast<int>(bottom)},
                       static_cast<int>(dst_x), static_cast<int>(dst_y)};
}

void DrawClipped(RowRoutine routine, const DrawParams& params, ConstPixelView src, PixelView dst,
                 const ClippedDraw& clip) {
    const int count = clip.src.Width();
    for (int row = 0; row < clip.src.Height(); ++row) {
        // Rows are stored bottom-up: row y from the top is stored row height - y - 1.
        const int src_y = src.height - (clip.src.top + row) - 1;
        const int dst_y = dst.height - (clip.dst_y + row) - 1;
        const uint32_t* s = src.bits + static_cast<size_t>(src_y) * src.width + clip.src.left;
        uint32_t* d = dst.bits + static_cast<size_t>(dst_y) * dst.width + clip.dst_x;
        routine(s, d, count, params);
    }
}

} // namespace kavlo
