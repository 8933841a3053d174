#pragma once

#include <cstdint>

#include "skin/surface/dib_draw.h"

// Eight pixels at a time for the routines that cover whole windows (masked frames, self-blends,
// constant blends), on 64-bit x86 processors that have AVX2; the same bits as the narrower ones.
#if defined(__x86_64__) && defined(__GNUC__)
#define KAVLO_AVX2_ROWS 1

namespace kavlo::avx2 {

// Asked once: whether this processor runs the routines below.
bool Available();

void AlphaCopyRow(const uint32_t* src, uint32_t* dst, int count, const DrawParams& params);
void ConstantBlendRow(const uint32_t* src, uint32_t* dst, int count, const DrawParams& params);
void LiftZeroChannels(uint32_t* row, int count);

} // namespace kavlo::avx2

#endif
