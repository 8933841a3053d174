#include "skin/surface/dib_draw_avx2.h"

#if defined(KAVLO_AVX2_ROWS)

#include <immintrin.h>

#define KAVLO_AVX2 __attribute__((target("avx2")))

namespace kavlo::avx2 {

namespace {

constexpr uint32_t kAlphaBits = 0xFF000000u;

KAVLO_AVX2 __m256i Load8(const uint32_t* pixels) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels));
}

KAVLO_AVX2 void Store8(uint32_t* pixels, __m256i value) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels), value);
}

KAVLO_AVX2 __m256i WithAlphaOf(__m256i colour, __m256i alpha_from) {
    const __m256i alpha_bits = _mm256_set1_epi32(static_cast<int>(kAlphaBits));
    return _mm256_or_si256(_mm256_andnot_si256(alpha_bits, colour), _mm256_and_si256(alpha_bits, alpha_from));
}

// Weight 0 or 255 leaves each colour channel as it was except that 0 becomes 1; the alpha byte is
// raised by 0, so it stays.
KAVLO_AVX2 __m256i AtLeastOne(__m256i pixels) {
    return _mm256_max_epu8(pixels, _mm256_set1_epi32(0x00010101));
}

// The formula in 16-bit lanes; unpacking and packing both work within each 128-bit half, so the
// pixels come back in their order.
template <typename Weight> KAVLO_AVX2 __m256i Blend8(__m256i src, __m256i dst, Weight weight) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i full = _mm256_set1_epi16(255);
    const __m256i one = _mm256_set1_epi16(1);
    const auto half = [&](__m256i s16, __m256i d16) KAVLO_AVX2 {
        const __m256i a = weight(s16);
        const __m256i sum =
            _mm256_add_epi16(_mm256_mullo_epi16(s16, a), _mm256_mullo_epi16(d16, _mm256_sub_epi16(full, a)));
        return _mm256_add_epi16(_mm256_srli_epi16(sum, 8), one);
    };
    const __m256i low = half(_mm256_unpacklo_epi8(src, zero), _mm256_unpacklo_epi8(dst, zero));
    const __m256i high = half(_mm256_unpackhi_epi8(src, zero), _mm256_unpackhi_epi8(dst, zero));
    return WithAlphaOf(_mm256_packus_epi16(low, high), src);
}

KAVLO_AVX2 __m256i SpreadAlpha(__m256i s16) {
    constexpr int kAlphaLane = _MM_SHUFFLE(3, 3, 3, 3);
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(s16, kAlphaLane), kAlphaLane);
}

} // namespace

bool Available() {
    static const bool available = __builtin_cpu_supports("avx2");
    return available;
}

KAVLO_AVX2 void AlphaCopyRow(const uint32_t* __restrict src, uint32_t* __restrict dst, int count,
                             const DrawParams&) {
    const __m256i alpha_bits = _mm256_set1_epi32(static_cast<int>(kAlphaBits));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i s = Load8(src + i);
        const __m256i alpha = _mm256_and_si256(s, alpha_bits);
        // Masks are mostly wholly opaque or wholly clear.
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(alpha, alpha_bits)) == -1) {
            Store8(dst + i, AtLeastOne(s));
        } else if (_mm256_testz_si256(alpha, alpha_bits) != 0) {
            Store8(dst + i, WithAlphaOf(AtLeastOne(Load8(dst + i)), s));
        } else {
            Store8(dst + i, Blend8(s, Load8(dst + i), SpreadAlpha));
        }
    }
    for (; i < count; ++i) {
        dst[i] = BlendPixel(src[i], dst[i], static_cast<uint8_t>(src[i] >> 24));
    }
}

KAVLO_AVX2 void ConstantBlendRow(const uint32_t* __restrict src, uint32_t* __restrict dst, int count,
                                 const DrawParams& params) {
    const uint8_t opacity = params.opacity;
    const __m256i weight = _mm256_set1_epi16(opacity);
    int i = 0;
    if (opacity == 0) {
        for (; i + 8 <= count; i += 8) {
            Store8(dst + i, WithAlphaOf(AtLeastOne(Load8(dst + i)), Load8(src + i)));
        }
    } else {
        for (; i + 8 <= count; i += 8) {
            Store8(dst + i,
                   Blend8(Load8(src + i), Load8(dst + i), [weight](__m256i) KAVLO_AVX2 { return weight; }));
        }
    }
    for (; i < count; ++i) {
        dst[i] = BlendPixel(src[i], dst[i], opacity);
    }
}

KAVLO_AVX2 void LiftZeroChannels(uint32_t* row, int count) {
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i d = Load8(row + i);
        const __m256i lifted = AtLeastOne(d);
        // A line left unwritten need not go back to memory.
        if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(d, lifted)) != -1) {
            Store8(row + i, lifted);
        }
    }
    for (; i < count; ++i) {
        row[i] = BlendPixel(row[i], row[i], 0);
    }
}

} // namespace kavlo::avx2

#endif
