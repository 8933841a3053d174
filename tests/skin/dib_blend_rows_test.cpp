#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "skin/surface/dib_draw.h"
// The ui's pixel view next to the skin's rows: the two must not clash.
#include "ui/pixel_view.h"

namespace kavlo {
namespace {

// The blend worked out one channel at a time, the way the formula reads.
uint32_t ChannelByChannel(uint32_t src, uint32_t dst, uint8_t a) {
    uint32_t result = src & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        result |=
            uint32_t{BlendChannel(static_cast<uint8_t>(src >> shift), static_cast<uint8_t>(dst >> shift), a)}
            << shift;
    }
    return result;
}

TEST(BlendPixelTest, EveryChannelValueAndWeightMatchesTheChannelFormula) {
    // Each channel position sees every (src, dst) pair, so a carry between lanes would show.
    for (uint32_t a = 0; a < 256; ++a) {
        for (uint32_t s = 0; s < 256; ++s) {
            for (uint32_t d = 0; d < 256; ++d) {
                const uint32_t src = 0x5A000000u | s << 16 | d << 8 | (255 - s);
                const uint32_t dst = 0xC3000000u | d << 16 | s << 8 | (255 - d);
                const auto weight = static_cast<uint8_t>(a);
                ASSERT_EQ(BlendPixel(src, dst, weight), ChannelByChannel(src, dst, weight))
                    << "a " << a << " s " << s << " d " << d;
            }
        }
    }
}

TEST(DivideBy255Test, ExactOverTheRangeItPromises) {
    for (uint32_t value = 0; value < 66299; ++value) {
        ASSERT_EQ(DivideBy255(value), value / 255) << value;
    }
}

// Rows of every length up to a few groups of four and at every start offset, so the wide middle and
// the scalar tail both run; pixels mix wholly clear, wholly opaque and partial alpha, and the key.
std::vector<uint32_t> MixedPixels(size_t count, uint32_t seed, uint32_t key) {
    std::vector<uint32_t> pixels(count);
    uint32_t x = seed;
    for (size_t i = 0; i < count; ++i) {
        x = x * 1664525u + 1013904223u;
        uint32_t pixel = x;
        switch ((x >> 28) % 5) {
            case 0:
                pixel &= 0x00FFFFFFu; // clear
                break;
            case 1:
                pixel |= 0xFF000000u; // opaque
                break;
            case 2:
                pixel = (pixel & 0xFF000000u) | key;
                break;
            default:
                break;
        }
        // Runs of zero channels, which every blend turns into 1.
        if ((x & 0x30u) == 0) {
            pixel &= 0xFF00FF00u;
        }
        pixels[i] = pixel;
    }
    return pixels;
}

uint32_t Expected(DrawRoutine routine, uint32_t src, uint32_t dst, const DrawParams& params) {
    const bool is_key = (src & 0x00FFFFFFu) == params.key;
    const auto alpha = static_cast<uint8_t>(src >> 24);
    switch (routine) {
        case DrawRoutine::PlainCopy:
            return src;
        case DrawRoutine::KeyCopy:
            return is_key ? dst : src & 0x00FFFFFFu;
        case DrawRoutine::AlphaCopy:
            return ChannelByChannel(src, dst, alpha);
        case DrawRoutine::ConstantBlend:
            return ChannelByChannel(src, dst, params.opacity);
        case DrawRoutine::KeyBlend:
            return is_key ? dst : ChannelByChannel(src, dst, params.opacity);
        case DrawRoutine::AlphaBlend:
            return ChannelByChannel(src, dst, static_cast<uint8_t>((alpha * params.opacity) >> 8));
    }
    return 0;
}

// Rows whose pixels come in runs of one kind (clear, opaque, partial, key, dark), each run as long as a
// wide group or longer, so that the whole-group shortcuts of the wide versions run too.
std::vector<uint32_t> RunsOfPixels(size_t count, uint32_t seed, uint32_t key) {
    std::vector<uint32_t> pixels = MixedPixels(count, seed, key);
    uint32_t x = seed;
    for (size_t i = 0; i < count;) {
        x = x * 1664525u + 1013904223u;
        const size_t run = 5 + (x >> 27) % 14;
        const uint32_t kind = (x >> 8) % 5;
        for (size_t j = i; j < std::min(count, i + run); ++j) {
            const uint32_t pixel = pixels[j];
            pixels[j] = kind == 0   ? pixel & 0x00FFFFFFu
                        : kind == 1 ? pixel | 0xFF000000u
                        : kind == 2 ? (pixel & 0xFF000000u) | key
                        : kind == 3 ? pixel & 0xFF00FF00u
                                    : pixel;
        }
        i += run;
    }
    return pixels;
}

// Both the version this processor runs and the one every processor runs.
std::vector<RowRoutine> VersionsOf(DrawRoutine routine) {
    return {RowRoutineFor(routine), NarrowRowRoutineFor(routine)};
}

TEST(RowRoutineTest, WideAndTailPixelsMatchThePerPixelFormula) {
    const DrawRoutine routines[] = {DrawRoutine::PlainCopy, DrawRoutine::KeyCopy,
                                    DrawRoutine::AlphaCopy, DrawRoutine::ConstantBlend,
                                    DrawRoutine::KeyBlend,  DrawRoutine::AlphaBlend};
    const uint8_t opacities[] = {0, 1, 77, 128, 254, 255};
    constexpr uint32_t kKey = 0x00ABCDEFu;
    constexpr int kLongest = 37;
    uint32_t seed = 1;
    for (const DrawRoutine routine : routines) {
        for (const uint8_t opacity : opacities) {
            const DrawParams params{opacity, kKey};
            for (int offset = 0; offset < 4; ++offset) {
                for (int count = 0; count <= kLongest; ++count) {
                    for (const auto& make : {MixedPixels, RunsOfPixels}) {
                        const std::vector<uint32_t> src = make(kLongest + 4, ++seed, kKey);
                        const std::vector<uint32_t> before = make(kLongest + 4, ++seed, kKey);
                        std::vector<uint32_t> expected = before;
                        for (int i = offset; i < offset + count; ++i) {
                            expected[i] = Expected(routine, src[i], before[i], params);
                        }
                        for (const RowRoutine version : VersionsOf(routine)) {
                            std::vector<uint32_t> dst = before;
                            version(src.data() + offset, dst.data() + offset, count, params);
                            ASSERT_EQ(dst, expected)
                                << "routine " << static_cast<int>(routine) << " opacity " << int{opacity}
                                << " offset " << offset << " count " << count;
                        }
                    }
                }
            }
        }
    }
}

TEST(RowRoutineTest, WhollyClearAndWhollyOpaqueGroupsOfFour) {
    // The masked copy treats groups of four with one alpha apart; both must still turn 0 into 1.
    const std::vector<uint32_t> src = {0x00000000u, 0x00FFFFFFu, 0x00123456u, 0x00000000u,
                                       0xFF000000u, 0xFF00FF00u, 0xFFFFFFFFu, 0xFF102030u};
    std::vector<uint32_t> dst = {0xFF000000u, 0xAA00FF00u, 0x00FFFFFFu, 0x12345678u,
                                 0x00000000u, 0x55555555u, 0x00000000u, 0xFFFFFFFFu};
    RowRoutineFor(DrawRoutine::AlphaCopy)(src.data(), dst.data(), 8, DrawParams{});
    const std::vector<uint32_t> expected = {0x00010101u, 0x0001FF01u, 0x00FFFFFFu, 0x00345678u,
                                            0xFF010101u, 0xFF01FF01u, 0xFFFFFFFFu, 0xFF102030u};
    EXPECT_EQ(dst, expected);
}

TEST(RowRoutineTest, ARowBlendedOntoItselfOnlyLiftsZeroChannels) {
    uint32_t seed = 7;
    for (int count = 0; count <= 37; ++count) {
        const std::vector<uint32_t> before = RunsOfPixels(static_cast<size_t>(count), ++seed, 0);
        std::vector<uint32_t> expected = before;
        for (uint32_t& pixel : expected) {
            pixel = ChannelByChannel(pixel, pixel, 77);
        }
        for (const auto blend : {BlendOntoItself, NarrowBlendOntoItself}) {
            std::vector<uint32_t> row = before;
            blend(row.data(), count);
            ASSERT_EQ(row, expected) << count;
        }
    }
}

TEST(CoverRowTest, EveryWeightOverEveryChannelValueRoundsAsTheFormula) {
    // Each weight meets every background value in each channel, in rows whose lengths leave tails.
    for (const uint32_t colour : {0x00000000u, 0x00FFFFFFu, 0x0040C0F0u, 0x00FF0001u}) {
        for (uint32_t weight = 0; weight < 256; ++weight) {
            std::vector<uint32_t> row(258);
            std::vector<uint8_t> coverage(row.size());
            for (size_t i = 0; i < row.size(); ++i) {
                const auto v = static_cast<uint32_t>(i & 0xFF);
                row[i] = (i % 3 == 0 ? 0x7F000000u : 0x00000000u) | v << 16 | (255 - v) << 8 | (v * 7 & 0xFF);
                // Zero weights between, so that groups of mixed weights and of no ink both occur.
                coverage[i] = i % 5 == 4 ? 0 : static_cast<uint8_t>(weight);
            }
            std::vector<uint32_t> expected = row;
            // The first and the last pixel lie outside the row drawn and stay as they are.
            for (size_t i = 1; i + 1 < row.size(); ++i) {
                uint32_t pixel = row[i] & 0xFF000000u;
                for (int shift = 0; shift < 24; shift += 8) {
                    const uint32_t c = (colour >> shift) & 0xFF;
                    const uint32_t d = (row[i] >> shift) & 0xFF;
                    pixel |= (c * coverage[i] + d * (255 - coverage[i]) + 127) / 255 << shift;
                }
                expected[i] = pixel;
            }
            CoverRow(row.data() + 1, coverage.data() + 1, static_cast<int>(row.size()) - 2,
                     colour | 0xAB000000u);
            ASSERT_EQ(row, expected) << "colour " << colour << " weight " << weight;
        }
    }
}

} // namespace
} // namespace kavlo
