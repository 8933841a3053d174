#include "skin/surface/dib_draw.h"
#include "skin/surface/dib_draw_avx2.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kavlo {

namespace {

constexpr uint32_t kColourBits = 0x00FFFFFFu;
constexpr uint32_t kAlphaBits = 0xFF000000u;

uint8_t Alpha(uint32_t pixel) {
    return static_cast<uint8_t>(pixel >> 24);
}

// One pixel of text ink, the arithmetic every wider version matches.
uint32_t Cover(uint32_t pixel, uint32_t color_rgb, uint32_t coverage) {
    uint32_t result = pixel & kAlphaBits;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t c = (color_rgb >> shift) & 0xFFu;
        const uint32_t d = (pixel >> shift) & 0xFFu;
        result |= DivideBy255(c * coverage + d * (255 - coverage) + 127) << shift;
    }
    return result;
}

void PlainCopyRow(const uint32_t* src, uint32_t* dst, int count, const DrawParams&) {
    std::memmove(dst, src, static_cast<size_t>(count) * sizeof(uint32_t));
}

void KeyCopyRow(const uint32_t* __restrict src, uint32_t* __restrict dst, int count,
                const DrawParams& params) {
    const uint32_t key = params.key;
    for (int i = 0; i < count; ++i) {
        const uint32_t colour = src[i] & kColourBits;
        if (colour != key) {
            dst[i] = colour;
        }
    }
}

// Four pixels at a time where the processor has SSE2 (every x86-64 one); the tails, and other
// processors, take the scalar BlendPixel, which gives the same bits.
#if defined(__SSE2__)

__m128i Load4(const uint32_t* pixels) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels));
}

void Store4(uint32_t* pixels, __m128i value) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels), value);
}

// The colour bytes of `colour` with the alpha bytes of `alpha_from`.
__m128i WithAlphaOf(__m128i colour, __m128i alpha_from) {
    const __m128i alpha_bits = _mm_set1_epi32(static_cast<int>(kAlphaBits));
    return _mm_or_si128(_mm_andnot_si128(alpha_bits, colour), _mm_and_si128(alpha_bits, alpha_from));
}

// Weight 0 or 255 leaves each channel as it was except that 0 becomes 1, so these need no multiply.
__m128i AtLeastOne(__m128i pixels) {
    return _mm_max_epu8(pixels, _mm_set1_epi32(0x00010101));
}

// The channels widened to 16-bit lanes, where the whole formula fits; `weight` gives each lane's
// weight from the widened source (alpha lanes are overwritten afterwards).
template <typename Weight> __m128i Blend4(__m128i src, __m128i dst, Weight weight) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi16(255);
    const __m128i one = _mm_set1_epi16(1);
    const auto half = [&](__m128i s16, __m128i d16) {
        const __m128i a = weight(s16);
        const __m128i sum =
            _mm_add_epi16(_mm_mullo_epi16(s16, a), _mm_mullo_epi16(d16, _mm_sub_epi16(full, a)));
        return _mm_add_epi16(_mm_srli_epi16(sum, 8), one);
    };
    const __m128i low = half(_mm_unpacklo_epi8(src, zero), _mm_unpacklo_epi8(dst, zero));
    const __m128i high = half(_mm_unpackhi_epi8(src, zero), _mm_unpackhi_epi8(dst, zero));
    return WithAlphaOf(_mm_packus_epi16(low, high), src);
}

// Each widened pixel's alpha in all four of its lanes.
__m128i SpreadAlpha(__m128i s16) {
    constexpr int kAlphaLane = _MM_SHUFFLE(3, 3, 3, 3);
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(s16, kAlphaLane), kAlphaLane);
}

// Stores only what differs from what is there: a surface line left unwritten need not go back to memory.
void StoreChanged4(uint32_t* pixels, __m128i before, __m128i after) {
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(before, after)) != 0xFFFF) {
        Store4(pixels, after);
    }
}

void AlphaCopyRow(const uint32_t* __restrict src, uint32_t* __restrict dst, int count, const DrawParams&) {
    const __m128i alpha_bits = _mm_set1_epi32(static_cast<int>(kAlphaBits));
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i s = Load4(src + i);
        const __m128i alpha = _mm_and_si128(s, alpha_bits);
        const int opaque = _mm_movemask_epi8(_mm_cmpeq_epi32(alpha, alpha_bits));
        const int clear = _mm_movemask_epi8(_mm_cmpeq_epi32(alpha, _mm_setzero_si128()));
        // Masks are mostly wholly opaque or wholly clear.
        if (opaque == 0xFFFF) {
            Store4(dst + i, AtLeastOne(s));
        } else if (clear == 0xFFFF) {
            Store4(dst + i, WithAlphaOf(AtLeastOne(Load4(dst + i)), s));
        } else {
            Store4(dst + i, Blend4(s, Load4(dst + i), SpreadAlpha));
        }
    }
    for (; i < count; ++i) {
        dst[i] = BlendPixel(src[i], dst[i], Alpha(src[i]));
    }
}

void ConstantBlendRow(const uint32_t* __restrict src, uint32_t* __restrict dst, int count,
                      const DrawParams& params) {
    const uint8_t opacity = params.opacity;
    const __m128i weight = _mm_set1_epi16(opacity);
    int i = 0;
    if (opacity == 0) {
        for (; i + 4 <= count; i += 4) {
            Store4(dst + i, WithAlphaOf(AtLeastOne(Load4(dst + i)), Load4(src + i)));
        }
    } else {
        for (; i + 4 <= count; i += 4) {
            Store4(dst + i, Blend4(Load4(src + i), Load4(dst + i), [weight](__m128i) { return weight; }));
        }
    }
    for (; i < count; ++i) {
        dst[i] = BlendPixel(src[i], dst[i], opacity);
    }
}

// Two pixels' channels in 16-bit lanes, weighted and divided by 255 exactly: for every x up to
// 255 * 255 + 127, x / 255 == (x + 1 + (x >> 8)) >> 8, which stays within 16 bits.
__m128i Cover2(__m128i d16, __m128i c16, __m128i w16) {
    const __m128i x =
        _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(c16, w16),
                                    _mm_mullo_epi16(d16, _mm_sub_epi16(_mm_set1_epi16(255), w16))),
                      _mm_set1_epi16(127));
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_set1_epi16(1)), _mm_srli_epi16(x, 8)), 8);
}

void CoverPixels(uint32_t* row, const uint8_t* coverage, int count, uint32_t color_rgb) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i c16 = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(color_rgb)), zero);
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        uint32_t weights = 0;
        std::memcpy(&weights, coverage + i, sizeof weights);
        if (weights == 0) {
            continue;
        }
        // Each pixel's weight in the four lanes of its channels.
        const __m128i w8 = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(weights)), zero);
        const __m128i w_pairs = _mm_unpacklo_epi16(w8, w8);
        const __m128i d = Load4(row + i);
        const __m128i low = Cover2(_mm_unpacklo_epi8(d, zero), c16, _mm_unpacklo_epi32(w_pairs, w_pairs));
        const __m128i high = Cover2(_mm_unpackhi_epi8(d, zero), c16, _mm_unpackhi_epi32(w_pairs, w_pairs));
        Store4(row + i, WithAlphaOf(_mm_packus_epi16(low, high), d));
    }
    for (; i < count; ++i) {
        row[i] = Cover(row[i], color_rgb, coverage[i]);
    }
}

void LiftZeroChannels(uint32_t* row, int count) {
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i d = Load4(row + i);
        StoreChanged4(row + i, d, WithAlphaOf(AtLeastOne(d), d));
    }
    for (; i < count; ++i) {
        row[i] = BlendPixel(row[i], row[i], 0);
    }
}

#else

void CoverPixels(uint32_t* row, const uint8_t* coverage, int count, uint32_t color_rgb) {
    for (int i = 0; i < count; ++i) {
        if (coverage[i] != 0) {
            row[i] = Cover(row[i], color_rgb, coverage[i]);
        }
    }
}

void LiftZeroChannels(uint32_t* row, int count) {
    for (int i = 0; i < count; ++i) {
        row[i] = BlendPixel(row[i], row[i], 0);
    }
}

void AlphaCopyRow(const uint32_t* __restrict src, uint32_t* __restrict dst, int count, const DrawParams&) {
    for (int i = 0; i < count; ++i) {
        dst[i] = BlendPixel(src[i], dst[i], Alpha(src[i]));
    }
}

void ConstantBlendRow(const uint32_t* __restrict src, uint32_t* __restrict dst, int count,
                      const DrawParams& params) {
    const uint8_t opacity = params.opacity;
    for (int i = 0; i < count; ++i) {
        dst[i] = BlendPixel(src[i], dst[i], opacity);
    }
}

#endif

void KeyBlendRow(const uint32_t* __restrict src, uint32_t* __restrict dst, int count,
                 const DrawParams& params) {
    const uint32_t key = params.key;
    const uint8_t opacity = params.opacity;
    for (int i = 0; i < count; ++i) {
        if ((src[i] & kColourBits) != key) {
            dst[i] = BlendPixel(src[i], dst[i], opacity);
        }
    }
}

void AlphaBlendRow(const uint32_t* __restrict src, uint32_t* __restrict dst, int count,
                   const DrawParams& params) {
    const uint32_t opacity = params.opacity;
    for (int i = 0; i < count; ++i) {
        dst[i] = BlendPixel(src[i], dst[i], static_cast<uint8_t>((Alpha(src[i]) * opacity) >> 8));
    }
}

} // namespace

void BlendOntoItself(uint32_t* row, int count) {
#if defined(KAVLO_AVX2_ROWS)
    if (avx2::Available()) {
        avx2::LiftZeroChannels(row, count);
        return;
    }
#endif
    NarrowBlendOntoItself(row, count);
}

void NarrowBlendOntoItself(uint32_t* row, int count) {
    LiftZeroChannels(row, count);
}

void CoverRow(uint32_t* row, const uint8_t* coverage, int count, uint32_t color_rgb) {
    CoverPixels(row, coverage, count, color_rgb & kColourBits);
}

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
#if defined(KAVLO_AVX2_ROWS)
    if (avx2::Available()) {
        if (routine == DrawRoutine::AlphaCopy) {
            return avx2::AlphaCopyRow;
        }
        if (routine == DrawRoutine::ConstantBlend) {
            return avx2::ConstantBlendRow;
        }
    }
#endif
    return NarrowRowRoutineFor(routine);
}

RowRoutine NarrowRowRoutineFor(DrawRoutine routine) {
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

void DrawClipped(RowRoutine routine, const DrawParams& params, ConstDibRows src, DibRows dst,
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
